// A fresh console and wave module on the headless backend for each test,
// with what reached the virtual sound device read back from the transcript.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "platform/platform.h"
#include "wave_builder.h"

class AudioTest : public ::testing::Test {
public:
    static void setTranscriptPath(const std::string& path) { transcriptPath() = path; }

    // One line of the device log: "audio <rate> <bits> <channels> <bytes>"
    // or "stop", with its virtual time.
    struct DeviceEvent {
        std::uint64_t ms;
        std::string what;
    };

protected:
    void SetUp() override {
        // Whatever the test before left playing or queued is gone.
        ovwav::waveStop();
        ovcrt::pumpMessages();
        ovcrt::startUp();
        ovwav::startUp();
        mark_ = transcriptSize();
        folder_ = std::filesystem::temp_directory_path() /
                  ("oralis_audio_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    // The device events logged since the test began.
    std::vector<DeviceEvent> deviceEvents() const {
        std::ifstream in(transcriptPath(), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(mark_));
        std::vector<DeviceEvent> events;
        std::string line;
        while (std::getline(in, line)) {
            const auto blank = line.find(' ');
            const std::string what = line.substr(blank + 1);
            if (what.rfind("audio ", 0) == 0 || what == "stop")
                events.push_back({std::stoull(line.substr(0, blank)), what});
        }
        return events;
    }
    // The same without the times.
    std::vector<std::string> deviceLog() const {
        std::vector<std::string> log;
        for (const auto& e : deviceEvents()) log.push_back(e.what);
        return log;
    }

    std::string writeFile(const std::string& name, const wavetest::Bytes& bytes) const {
        const auto path = folder_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    const std::filesystem::path& folder() const { return folder_; }

    static void postKey(char c) {
        platform::postMessage(
            platform::Message{platform::MessageKind::Char, static_cast<std::uint8_t>(c)});
    }
    // Waits as a caller of playWaveBuffer does until the sound has ended.
    static void waitForEnd() {
        while (ovwav::wavePlaying()) platform::waitMessage();
    }
    // The console's row without trailing blanks.
    static std::string consoleRow(int r) {
        std::string s;
        for (int c = 0; c < ovcrt::kColumns; ++c)
            s += static_cast<char>(ovcrt::cellCharacter(c, r));
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }

private:
    static std::string& transcriptPath() {
        static std::string path;
        return path;
    }
    static std::uintmax_t transcriptSize() {
        std::error_code ec;
        const auto size = std::filesystem::file_size(transcriptPath(), ec);
        return ec ? 0 : size;
    }

    std::uintmax_t mark_ = 0;
    std::filesystem::path folder_;
};
