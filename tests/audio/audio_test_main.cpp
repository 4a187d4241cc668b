// The audio tests run the console and the wave module on the headless
// backend, in this process. Every block handed to the virtual device is
// logged in a transcript of this process, which the tests read back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "audio/ovwav.h"
#include "audio_fixture.h"
#include "console/ovcrt.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const auto transcript = std::filesystem::temp_directory_path() /
                            ("oralis_audio_tests_" + std::to_string(::getpid()) + ".log");
    AudioTest::setTranscriptPath(transcript.string());
    setenv("ORALIS_BACKEND", "headless", 1);
    unsetenv("ORALIS_KEYS");
    setenv("ORALIS_TRANSCRIPT", transcript.string().c_str(), 1);
    if (!platform::start()) return 1;
    ovcrt::startUp();
    ovwav::startUp();
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove(transcript, ec);
    return result;
}
