#include "audio/wave_format.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace ovwav {
namespace {

constexpr std::size_t kFormatBlockOffset = 20;
constexpr std::size_t kChunkHeaderSize = 8;

void writeLittle16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void writeLittle32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint8_t asciiLower(std::uint8_t c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<std::uint8_t>(c + ('a' - 'A')) : c;
}

}  // namespace

std::uint16_t readLittle16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t readLittle32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool sameIdentifier(const std::uint8_t* bytes, const char (&id)[5]) {
    return std::memcmp(bytes, id, 4) == 0;
}

bool sameIdentifierIgnoringCase(const std::uint8_t* bytes, const char (&id)[5]) {
    for (int i = 0; i < 4; ++i)
        if (asciiLower(bytes[i]) != asciiLower(static_cast<std::uint8_t>(id[i]))) return false;
    return true;
}

WaveFormat readFormatBlock(std::span<const std::uint8_t> block) {
    WaveFormat f;
    if (block.size() < kMinFormatLength) return f;
    f.channels = readLittle16(&block[2]);
    f.samplesPerSecond =
        static_cast<int>(std::min<std::uint32_t>(readLittle32(&block[4]), INT_MAX));
    f.bitsPerSample = readLittle16(&block[14]);
    return f;
}

std::optional<WaveImage> parseWaveImage(std::span<std::uint8_t> image) {
    const std::size_t size = image.size();
    if (size < kFormatBlockOffset) return std::nullopt;
    const std::uint8_t* bytes = image.data();
    if (!sameIdentifierIgnoringCase(bytes, "RIFF") ||
        !sameIdentifierIgnoringCase(bytes + 12, "fmt "))
        return std::nullopt;
    const std::uint32_t formatLength = readLittle32(bytes + 16);
    if (formatLength < kMinFormatLength || formatLength > kMaxFormatLength ||
        formatLength > size - kFormatBlockOffset)
        return std::nullopt;

    WaveImage found;
    found.formatBlock = image.subspan(kFormatBlockOffset, formatLength);
    found.format = readFormatBlock(found.formatBlock);

    // Every position below stays within the image, so no sum can overflow.
    std::size_t at = kFormatBlockOffset + formatLength;
    while (size - at >= kChunkHeaderSize) {
        const std::uint32_t length = readLittle32(bytes + at + 4);
        const std::size_t body = at + kChunkHeaderSize;
        if (sameIdentifier(bytes + at, "data")) {
            const std::size_t present = std::min<std::size_t>(length, size - body);
            found.data = image.subspan(body, present);
            found.sizeThroughData = body + present;
            return found;
        }
        // A chunk that runs past the end leaves no room for a "data" chunk.
        if (length > size - body) return std::nullopt;
        at = body + length;
    }
    return std::nullopt;
}

bool writeWaveHeader(std::span<std::uint8_t> image, std::uint32_t dataSize, int samplesPerSecond,
                     int bitsPerSample, int channels) {
    if (image.size() < kWaveHeaderSize) return false;
    const auto rate = static_cast<std::uint32_t>(samplesPerSecond);
    const auto blockAlign = static_cast<std::uint32_t>(channels * (bitsPerSample / 8));
    std::uint8_t* h = image.data();
    std::memcpy(h, "RIFF", 4);
    writeLittle32(h + 4, dataSize + 36);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    writeLittle32(h + 16, 16);
    writeLittle16(h + 20, 1);
    writeLittle16(h + 22, static_cast<std::uint32_t>(channels));
    writeLittle32(h + 24, rate);
    writeLittle32(h + 28, rate * blockAlign);
    writeLittle16(h + 32, blockAlign);
    writeLittle16(h + 34, static_cast<std::uint32_t>(bitsPerSample));
    std::memcpy(h + 36, "data", 4);
    writeLittle32(h + 40, dataSize);
    return true;
}

std::vector<std::uint8_t> makeWaveImage(std::span<const std::uint8_t> samples, int samplesPerSecond,
                                        int bitsPerSample, int channels) {
    std::vector<std::uint8_t> image(kWaveHeaderSize + samples.size());
    writeWaveHeader(image, static_cast<std::uint32_t>(samples.size()), samplesPerSecond,
                    bitsPerSample, channels);
    std::copy(samples.begin(), samples.end(), image.begin() + kWaveHeaderSize);
    return image;
}

}  // namespace ovwav
