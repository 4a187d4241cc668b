#include "tools/voice/wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace voice {
namespace {

void put32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void put16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void putTag(std::uint8_t* at, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(tag[i]);
}

}  // namespace

std::vector<std::uint8_t> toUnsigned8(const std::vector<float>& samples) {
    std::vector<std::uint8_t> out(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const long step = std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 127.0f);
        out[i] = static_cast<std::uint8_t>(128 + step);
    }
    return out;
}

std::vector<std::uint8_t> waveImage(const std::vector<std::uint8_t>& samples, int rate) {
    const auto dataSize = static_cast<std::uint32_t>(samples.size());
    std::vector<std::uint8_t> out(kWaveHeaderSize + samples.size());
    std::uint8_t* h = out.data();
    putTag(h + 0, "RIFF");
    put32(h + 4, dataSize + 36);
    putTag(h + 8, "WAVE");
    putTag(h + 12, "fmt ");
    put32(h + 16, 16);
    put16(h + 20, 1);  // PCM
    put16(h + 22, 1);  // one channel
    put32(h + 24, static_cast<std::uint32_t>(rate));
    put32(h + 28, static_cast<std::uint32_t>(rate));  // bytes per second: one byte a sample
    put16(h + 32, 1);                                 // block alignment
    put16(h + 34, 8);                                 // bits per sample
    putTag(h + 36, "data");
    put32(h + 40, dataSize);
    std::copy(samples.begin(), samples.end(), out.begin() + kWaveHeaderSize);
    return out;
}

bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string partial = path + ".part";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) return false;
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (!ec) return true;
    std::filesystem::remove(partial, ec);
    return false;
}

}  // namespace voice
