// libFuzzer target: the built-in route over arbitrary Windows-1252 text
// (zeros, numbers, word runs, symbols, repetitions, punctuation), on the
// headless backend with a small letters folder, so that playing is instant.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "engines/ovsapi.h"
#include "platform/platform.h"
#include "speech/modules.h"
#include "speech/ovwin.h"

namespace {

void writeSound(const std::filesystem::path& path, std::size_t samples) {
    std::string wav = "RIFF";
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) wav += static_cast<char>(v >> (8 * i));
    };
    put32(static_cast<std::uint32_t>(samples + 36));
    wav += "WAVEfmt ";
    put32(16);
    wav += std::string("\x01\x00\x01\x00", 4);
    put32(11025);
    put32(11025);
    wav += std::string("\x01\x00\x08\x00", 4);
    wav += "data";
    put32(static_cast<std::uint32_t>(samples));
    wav += std::string(samples, '\x80');
    std::ofstream(path, std::ios::binary) << wav;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("oralis-speech-fuzz-" + std::to_string(getpid()));
    fs::create_directories(root / "letras");
    for (int c : {1, 33, 44, 45, 46, 48, 49, 58, 97, 119, 231})
        writeSound(root / "letras" / ("_" + std::to_string(c) + ".wav"), 300);
    for (const char* n : {"_zero", "_MENOS", "_um", "_dois", "_mil", "_e", "_cem"})
        writeSound(root / "letras" / (std::string(n) + ".wav"), 400);
    // A voice without diphones, with two rules: words reach the translator
    // and the synthesizer, which falls back to character sounds and noise.
    fs::create_directories(root / "difones");
    for (const char* file : {"VOZ.IND", "VOZ.DIF", "portug.exc"})
        std::ofstream(root / "difones" / file, std::ios::binary);
    std::ofstream(root / "difones" / "regras.rgr") << "(A)=a \n#(S)#=z\n(C)+=s\n";
    std::ofstream(root / "ORALIS.INI")
        << "[TRADUTOR]\nDIRLETRAS=" << (root / "letras").string()
        << "\nDIRDIFONES=" << (root / "difones").string() << "\n[SINTETIZADOR]\nDIFONES3=VOZ\n";
    setenv("ORALIS_BACKEND", "headless", 1);
    setenv("ORALIS_WINDIR", root.c_str(), 1);
    unsetenv("ORALIS_KEYS");
    unsetenv("ORALIS_TRANSCRIPT");
    platform::start();
    ovwin::startAllModules();
    ovwin::readSpeedSettings(3);
    if (ovinter::loadDiphoneVoice() != 0) std::abort();
    ovwin::speechStart(3, "");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ovwin::speakRecorded(std::string_view(reinterpret_cast<const char*>(data), size));
    while (ovwav::wavePlaying()) platform::waitMessage();
    return 0;
}
