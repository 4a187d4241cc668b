// The WAVE layout of ORALIS: reading the header of a wave image held in
// memory, and writing the canonical 44-byte header that every module of the
// system puts in front of the samples it writes.
//
// Layout (all numbers little-endian, identifiers four ASCII characters):
//
//   0  "RIFF"           compared without regard to case
//   4  RIFF size        everything after this field; not read
//   8  form type        "WAVE"; not read
//  12  "fmt "           the first chunk; compared without regard to case
//  16  format length L  the next chunk starts at 20 + L
//  20  format block     tag (2), channels (2), samples per second (4),
//                       bytes per second (4), block alignment (2),
//                       bits per sample (2), then whatever L adds
//  20+L further chunks  identifier, 4-byte length, bytes; chunks other than
//                       "data" are stepped over by their length (no pad byte
//                       after an odd length); the "data" chunk holds the
//                       samples and ends the reading
//
// Samples are unsigned bytes with silence at 128 for 8 bits, signed 16-bit
// little-endian for 16 bits, channels interleaved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ovwav {

// A PCM format as the device is opened with it.
struct WaveFormat {
    int samplesPerSecond = 0;
    int bitsPerSample = 0;
    int channels = 0;
    friend bool operator==(const WaveFormat&, const WaveFormat&) = default;
};

// Size of the canonical header; the samples of a written image start here.
constexpr std::size_t kWaveHeaderSize = 44;
// A format block must hold the fields up to bits per sample, and fit the
// work buffer that a file's format block is read into.
constexpr std::size_t kMinFormatLength = 16;
constexpr std::size_t kMaxFormatLength = 65534;

// What parseWaveImage finds in an image. The spans point into the image.
struct WaveImage {
    WaveFormat format;
    std::span<const std::uint8_t> formatBlock;
    // The samples of the "data" chunk; a length that claims more bytes than
    // the image holds is cut to what is there.
    std::span<std::uint8_t> data;
    // Bytes from the start of the image through the end of `data`.
    std::size_t sizeThroughData = 0;
};

// Reads the WAVE layout of an image of `image.size()` bytes. Empty when the
// image does not begin with "RIFF" and "fmt ", when its format block is
// shorter than 16 bytes, longer than 65534 bytes or runs past the image, or
// when no "data" chunk header lies inside the image. Nothing outside the
// image is read.
std::optional<WaveImage> parseWaveImage(std::span<std::uint8_t> image);
inline std::optional<WaveImage> parseWaveImage(std::uint8_t* image, std::size_t size) {
    return parseWaveImage(std::span<std::uint8_t>(image, size));
}

// Channels, samples per second and bits per sample of a format block of at
// least kMinFormatLength bytes. A rate above the largest int is taken as the
// largest int (the device refuses it either way).
WaveFormat readFormatBlock(std::span<const std::uint8_t> block);

// Whether the four bytes at `bytes` are the identifier `id`: exactly, or
// without regard to ASCII case.
bool sameIdentifier(const std::uint8_t* bytes, const char (&id)[5]);
bool sameIdentifierIgnoringCase(const std::uint8_t* bytes, const char (&id)[5]);

std::uint16_t readLittle16(const std::uint8_t* bytes);
std::uint32_t readLittle32(const std::uint8_t* bytes);

// Writes the canonical 44-byte header for `dataSize` bytes of samples into
// the first 44 bytes of `image`: "RIFF", dataSize + 36, "WAVE", "fmt ", 16,
// tag 1, channels, rate, rate × block alignment, block alignment
// (channels × bits ÷ 8), bits, "data", dataSize. Returns false and writes
// nothing when `image` is shorter than 44 bytes.
bool writeWaveHeader(std::span<std::uint8_t> image, std::uint32_t dataSize, int samplesPerSecond,
                     int bitsPerSample, int channels);

// A whole image: the canonical header followed by a copy of the samples.
std::vector<std::uint8_t> makeWaveImage(std::span<const std::uint8_t> samples, int samplesPerSecond,
                                        int bitsPerSample, int channels);

}  // namespace ovwav
