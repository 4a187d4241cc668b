// The diphone voice tests run the console, the wave module, the speech
// front-end and the voice on the headless backend, in this process, with a
// transcript of the blocks handed to the virtual sound device.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "platform/platform.h"
#include "speech/ovwin.h"
#include "synthesis_fixture.h"

int main(int argc, char** argv) {
    using namespace synthtest;
    ::testing::InitGoogleTest(&argc, argv);
    for (const auto& folder : {windowsFolder(), lettersFolder(), diphoneFolder(), dataFolder()})
        fs::create_directories(folder);
    writeStandardIni();
    writeDictionaries(diphoneFolder());
    setenv("ORALIS_BACKEND", "headless", 1);
    setenv("ORALIS_WINDIR", windowsFolder().c_str(), 1);
    setenv("ORALIS_DATADIR", dataFolder().c_str(), 1);
    setenv("ORALIS_TRANSCRIPT", (root() / "transcript.txt").c_str(), 1);
    unsetenv("ORALIS_KEYS");
    if (!platform::start()) return 1;
    ovcrt::startUp();
    ovwav::startUp();
    ovtradut::startUp();
    ovinter::startUp();
    ovwin::startUp();
    const int result = RUN_ALL_TESTS();
    ovinter::releaseDiphoneVoice();
    fs::remove_all(root());
    return result;
}
