// Playing a wave file from disk: the header is read and checked piece by
// piece, then the samples stream through the work buffer.
#include <algorithm>
#include <fstream>

#include "audio/audio_state.h"
#include "audio/ovwav.h"
#include "console/ovcrt.h"

namespace ovwav {

using detail::audio;

namespace {

constexpr int kUnusable = -1;
constexpr std::size_t kRiffHeaderSize = 12;
constexpr std::size_t kChunkHeaderSize = 8;

// Pieces of the data: a rest between 65535 and 65789 bytes is split so that
// the last piece still holds at least 256 bytes.
constexpr std::uint32_t kShortenFrom = 65535, kShortenTo = 65789;
constexpr std::size_t kShortenedPiece = 65278;

std::size_t pieceSize(std::uint32_t rest) {
    if (rest >= kShortenFrom && rest <= kShortenTo) return kShortenedPiece;
    return std::min<std::size_t>(rest, kWorkBufferSize);
}

bool readExactly(std::ifstream& file, std::uint8_t* into, std::size_t count) {
    file.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(file.gcount()) == count;
}

// Reads the header up to the data chunk and plays the samples; the result
// of playWaveFile before its wait.
int streamWaveFile(std::ifstream& file) {
    auto& s = audio();
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0) return kUnusable;  // no file to read (a folder, say)
    const auto end = static_cast<std::uint64_t>(size);
    file.seekg(0, std::ios::beg);

    std::uint8_t header[kRiffHeaderSize];
    if (!readExactly(file, header, kRiffHeaderSize) || !sameIdentifierIgnoringCase(header, "RIFF"))
        return kUnusable;
    std::uint8_t chunk[kChunkHeaderSize];
    if (!readExactly(file, chunk, kChunkHeaderSize) || !sameIdentifierIgnoringCase(chunk, "fmt "))
        return kUnusable;
    const std::uint32_t formatLength = readLittle32(chunk + 4);
    if (formatLength < kMinFormatLength || formatLength > kMaxFormatLength ||
        !readExactly(file, s.work.data(), formatLength))
        return kUnusable;
    const WaveFormat format = readFormatBlock(std::span(s.work.data(), formatLength));

    for (;;) {
        if (!readExactly(file, chunk, kChunkHeaderSize)) return kUnusable;
        if (sameIdentifier(chunk, "data")) break;
        const std::uint32_t length = readLittle32(chunk + 4);
        const auto at = static_cast<std::uint64_t>(file.tellg());
        if (length > end - at) return kUnusable;  // the chunk ends early
        file.seekg(static_cast<std::streamoff>(length), std::ios::cur);
    }

    std::uint32_t rest = readLittle32(chunk + 4);
    while (rest > 0) {
        const std::size_t piece = pieceSize(rest);
        rest -= static_cast<std::uint32_t>(piece);
        file.read(reinterpret_cast<char*>(s.work.data()), static_cast<std::streamsize>(piece));
        const auto got = static_cast<std::size_t>(file.gcount());
        if (got == 0) return kUnusable;  // the file ends before its data does
        const int played = playSamples(s.work.data(), got, format.samplesPerSecond, format.channels,
                                       format.bitsPerSample);
        if (played != 0) return played;
        if (waveStopOnKey && ovcrt::keyPressed()) return 0;
    }
    return 0;
}

}  // namespace

int playWaveFile(const std::string& name) {
    if (waveStopOnKey && ovcrt::keyPressed()) return 0;
    std::ifstream file(platform::nativePath(name), std::ios::binary);
    if (!file) return kUnusable;
    const int result = streamWaveFile(file);
    file.close();
    while (wavePlaying()) platform::waitMessage();
    return result;
}

}  // namespace ovwav
