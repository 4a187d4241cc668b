// libFuzzer target: ORALIS.INI with arbitrary bytes. Every reader of
// settings goes over it: the profile reader, the "@" marker expansion of
// readSetting, the speed profile with its integer and yes/no conversions,
// the display settings with TABCORES, and the integer reader itself.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "console/ovcrt.h"
#include "platform/platform.h"
#include "speech/ovwin.h"

namespace {

std::filesystem::path& folder() {
    static std::filesystem::path f;
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder() = std::filesystem::temp_directory_path() / ("oralis-settings-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder());
    setenv("ORALIS_BACKEND", "headless", 1);
    setenv("ORALIS_WINDIR", folder().c_str(), 1);
    unsetenv("ORALIS_KEYS");
    unsetenv("ORALIS_TRANSCRIPT");
    platform::start();
    ovcrt::startUp();
    ovwin::startUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream ini(folder() / "ORALIS.INI", std::ios::binary);
        ini << "[SINTETIZADOR]\n" << text << "\n[ORALIS]\n" << text;
    }
    for (const char* key : {"PGMORALIS", "DIFONES3", "CORTEFON3", "PAUSAVIRG3", "VELOCIDADE", "SAPI"}) {
        const std::string value = ovwin::readSetting("SINTETIZADOR", key);
        if (value.size() > 254 * 255) std::abort();  // markers grow a value at most 255-fold
        ovwin::readSetting("", key);
    }
    ovwin::readSpeedSettings(3);
    ovcrt::loadDisplaySettings();
    ovcrt::readInteger(text);
    ovcrt::parseColourTable(text, ovcrt::colourMap());
    return 0;
}
