// The set-up shared by the diphone voice's fuzz targets: a headless run with
// a letters folder and a diphone folder of its own, and a check of every
// image the voice plays.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "platform/platform.h"
#include "speech/ovwin.h"

namespace synthfuzz {

namespace fs = std::filesystem;

inline fs::path root() {
    static const fs::path r =
        fs::temp_directory_path() / ("oralis-synthesis-fuzz-" + std::to_string(getpid()));
    return r;
}
inline fs::path letters() { return root() / "letras"; }
inline fs::path diphones() { return root() / "difones"; }

inline void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "synthesis fuzz: %s\n", what);
    std::abort();
}

inline void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
}

inline std::string waveFile(std::size_t samples, char value) {
    std::string body = "WAVEfmt ";
    put32(body, 16);
    body += std::string("\x01\x00\x01\x00", 4);
    put32(body, 11025);
    put32(body, 11025);
    body += std::string("\x01\x00\x08\x00", 4);
    body += "data";
    put32(body, static_cast<std::uint32_t>(samples));
    body.append(samples, value);
    std::string wav = "RIFF";
    put32(wav, static_cast<std::uint32_t>(body.size()));
    return wav + body;
}

struct Unit {
    const char* name;
    std::uint16_t length;
};

// A sorted index and its sample file.
inline void writeVoice(std::vector<Unit> units) {
    std::sort(units.begin(), units.end(),
              [](const Unit& a, const Unit& b) { return std::string_view(a.name) < b.name; });
    std::string index, samples;
    for (const auto& u : units) {
        const std::string_view name(u.name);
        index += static_cast<char>(name.size());
        index += std::string(name) + std::string(8 - name.size(), '\0');
        index += static_cast<char>(u.length & 0xFF);
        index += static_cast<char>(u.length >> 8);
        put32(index, static_cast<std::uint32_t>(samples.size()));
        samples.append(u.length, static_cast<char>(samples.size() % 97 + 1));
    }
    writeFile(diphones() / "DIFONES2.IND", index);
    writeFile(diphones() / "DIFONES2.DIF", samples);
}

// Every image is a whole WAVE image of 8-bit mono samples inside the
// 64000 bytes, with at least one sample.
inline void checkImage(std::span<const std::uint8_t> image) {
    require(image.size() > 44 && image.size() <= ovinter::kImageSize, "image size");
    const std::uint32_t data = ovwav::readLittle32(image.data() + 40);
    require(data == image.size() - 44, "data size in the header");
    require(ovwav::readLittle32(image.data() + 24) == 11025, "rate");
}

// Starts the headless run, with the letters and diphone folders named in the
// Windows folder's ORALIS.INI and empty dictionaries.
inline void startUp() {
    fs::create_directories(letters());
    fs::create_directories(diphones());
    writeFile(diphones() / "regras.rgr", "");
    writeFile(diphones() / "portug.exc", "");
    writeFile(root() / "ORALIS.INI", "[TRADUTOR]\ndirLetras=" + letters().string() +
                                         "\nDIRDIFONES=" + diphones().string() + "\n");
    setenv("ORALIS_BACKEND", "headless", 1);
    setenv("ORALIS_WINDIR", root().c_str(), 1);
    unsetenv("ORALIS_KEYS");
    unsetenv("ORALIS_TRANSCRIPT");
    unsetenv("ORALIS_AUDIO_OUT");
    require(platform::start(), "platform start");
    ovcrt::startUp();
    ovwav::startUp();
    ovtradut::startUp();
    ovinter::startUp();
    ovwin::startUp();
    ovinter::setImageListener(checkImage);
}

}  // namespace synthfuzz
