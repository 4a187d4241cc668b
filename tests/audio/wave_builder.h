// Wave files and images for the tests, chunk by chunk, so that a test can
// build exactly the damage it is about.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wavetest {

using Bytes = std::vector<std::uint8_t>;

struct Chunk {
    std::string id;  // four characters
    Bytes body;
    std::optional<std::uint32_t> declared;  // the length field, when it lies
};

inline void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A PCM format chunk; `extra` bytes after the 16 usual ones.
inline Chunk formatChunk(std::uint32_t rate, int bits, int channels, std::size_t extra = 0) {
    Chunk c{"fmt ", {}, {}};
    const auto align = static_cast<std::uint32_t>(channels * bits / 8);
    put16(c.body, 1);
    put16(c.body, static_cast<std::uint32_t>(channels));
    put32(c.body, rate);
    put32(c.body, rate * align);
    put16(c.body, align);
    put16(c.body, static_cast<std::uint32_t>(bits));
    c.body.resize(c.body.size() + extra, 0);
    return c;
}

inline Chunk dataChunk(Bytes samples, std::optional<std::uint32_t> declared = {}) {
    return Chunk{"data", std::move(samples), declared};
}

// Samples that differ from one position to the next and are never 128, so
// that padding and the closing 128 stand out.
inline Bytes pattern(std::size_t n, std::uint8_t seed = 1) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) {
        auto v = static_cast<std::uint8_t>(seed + i * 7);
        b[i] = v == 128 ? 129 : v;
    }
    return b;
}

// "RIFF", the RIFF size, "WAVE", then the chunks as given.
inline Bytes riff(const std::vector<Chunk>& chunks, const std::string& id = "RIFF") {
    Bytes body;
    for (const Chunk& c : chunks) {
        body.insert(body.end(), c.id.begin(), c.id.end());
        put32(body, c.declared.value_or(static_cast<std::uint32_t>(c.body.size())));
        body.insert(body.end(), c.body.begin(), c.body.end());
    }
    Bytes out(id.begin(), id.end());
    put32(out, static_cast<std::uint32_t>(body.size() + 4));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// The plain file: format chunk, then data chunk.
inline Bytes simpleWave(const Bytes& samples, std::uint32_t rate = 11025, int bits = 8,
                        int channels = 1) {
    return riff({formatChunk(rate, bits, channels), dataChunk(samples)});
}

}  // namespace wavetest
