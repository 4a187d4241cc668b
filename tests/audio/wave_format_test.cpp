// The WAVE layout: the canonical header that every writer of the system
// uses, and the reader of images in memory with its chunk rules.
#include "audio/wave_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "wave_builder.h"

using namespace wavetest;

namespace {

std::uint32_t at32(const Bytes& b, std::size_t i) {
    return b[i] | b[i + 1] << 8 | b[i + 2] << 16 | static_cast<std::uint32_t>(b[i + 3]) << 24;
}
std::uint32_t at16(const Bytes& b, std::size_t i) { return b[i] | b[i + 1] << 8; }
std::string id(const Bytes& b, std::size_t i) {
    return std::string(b.begin() + i, b.begin() + i + 4);
}

}  // namespace

TEST(WaveHeader, CanonicalFieldsForEachFormat) {
    struct Case {
        int rate, bits, channels;
        std::uint32_t dataSize, blockAlign;
    };
    for (const Case& c : {Case{11025, 8, 1, 1000, 1}, Case{16000, 16, 1, 32000, 2},
                          Case{44100, 16, 2, 7, 4}, Case{22050, 8, 2, 0, 2}}) {
        Bytes image(44, 0xEE);
        ASSERT_TRUE(ovwav::writeWaveHeader(image, c.dataSize, c.rate, c.bits, c.channels));
        SCOPED_TRACE(c.rate);
        EXPECT_EQ(id(image, 0), "RIFF");
        EXPECT_EQ(at32(image, 4), c.dataSize + 36);
        EXPECT_EQ(id(image, 8), "WAVE");
        EXPECT_EQ(id(image, 12), "fmt ");
        EXPECT_EQ(at32(image, 16), 16u);
        EXPECT_EQ(at16(image, 20), 1u);
        EXPECT_EQ(at16(image, 22), static_cast<std::uint32_t>(c.channels));
        EXPECT_EQ(at32(image, 24), static_cast<std::uint32_t>(c.rate));
        EXPECT_EQ(at32(image, 28), static_cast<std::uint32_t>(c.rate) * c.blockAlign);
        EXPECT_EQ(at16(image, 32), c.blockAlign);
        EXPECT_EQ(at16(image, 34), static_cast<std::uint32_t>(c.bits));
        EXPECT_EQ(id(image, 36), "data");
        EXPECT_EQ(at32(image, 40), c.dataSize);
    }
}

TEST(WaveHeader, RefusesAnImageWithoutRoomForIt) {
    Bytes image(43, 0xEE);
    EXPECT_FALSE(ovwav::writeWaveHeader(image, 10, 11025, 8, 1));
    EXPECT_EQ(image, Bytes(43, 0xEE));
}

TEST(WaveImage, ReadsBackWhatTheWriterWrote) {
    const Bytes samples = pattern(300);
    Bytes image = ovwav::makeWaveImage(samples, 22050, 16, 2);
    ASSERT_EQ(image.size(), 344u);
    const auto found = ovwav::parseWaveImage(image);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->format, (ovwav::WaveFormat{22050, 16, 2}));
    EXPECT_EQ(found->formatBlock.data(), image.data() + 20);
    EXPECT_EQ(found->formatBlock.size(), 16u);
    EXPECT_EQ(found->data.data(), image.data() + 44);
    EXPECT_EQ(Bytes(found->data.begin(), found->data.end()), samples);
    EXPECT_EQ(found->sizeThroughData, 344u);
}

// Where the samples lie in an image, or that there are none to play.
struct LayoutCase {
    const char* name;
    Bytes image;
    bool usable;
    std::size_t dataOffset = 0, dataSize = 0;
};

TEST(WaveImage, ChunkRules) {
    const Bytes s = pattern(40);
    const Chunk fmt = formatChunk(11025, 8, 1);
    const Chunk list{"LIST", pattern(10), {}};
    const LayoutCase cases[] = {
        {"plain", riff({fmt, dataChunk(s)}), true, 44, 40},
        {"identifiers in any case", riff({Chunk{"FMT ", fmt.body, {}}, dataChunk(s)}, "riff"), true,
         44, 40},
        {"LIST between fmt and data", riff({fmt, list, dataChunk(s)}), true, 62, 40},
        {"odd chunk length, no pad byte", riff({fmt, Chunk{"junk", pattern(3), {}}, dataChunk(s)}),
         true, 55, 40},
        {"longer format block", riff({formatChunk(11025, 8, 1, 2), dataChunk(s)}), true, 46, 40},
        {"anything after the data is ignored",
         riff({fmt, dataChunk(s), Chunk{"data", pattern(9), {}}}), true, 44, 40},
        {"data longer than the image is cut", riff({fmt, dataChunk(s, 5000)}), true, 44, 40},
        {"data header at the very end", riff({fmt, dataChunk({}, 10)}), true, 44, 0},
        {"only the lower-case data chunk counts",
         riff({fmt, Chunk{"DATA", pattern(4), {}}, dataChunk(s)}), true, 56, 40},
        {"chunk before fmt", riff({list, fmt, dataChunk(s)}), false},
        {"not RIFF", riff({fmt, dataChunk(s)}, "RIFX"), false},
        {"format block of 14 bytes", riff({Chunk{"fmt ", pattern(14), {}}, dataChunk(s)}), false},
        {"format block longer than the work buffer",
         riff({formatChunk(11025, 8, 1, 65534 - 16 + 1), dataChunk(s)}), false},
        {"format block past the end", riff({Chunk{"fmt ", fmt.body, 200}}), false},
        {"no data chunk", riff({fmt, list}), false},
        {"chunk running past the end", riff({fmt, Chunk{"LIST", pattern(10), 11}}), false},
        {"chunk header cut short",
         [&] {
             Bytes b = riff({fmt});
             b.insert(b.end(), {'d', 'a', 't', 'a', 10, 0, 0});
             return b;
         }(),
         false},
        {"shorter than a header", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, false},
        {"empty", Bytes{}, false},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes image = c.image;  // exactly as long as the case says
        const auto found = ovwav::parseWaveImage(image);
        ASSERT_EQ(found.has_value(), c.usable);
        if (!found) continue;
        EXPECT_EQ(found->data.data() - image.data(), static_cast<std::ptrdiff_t>(c.dataOffset));
        EXPECT_EQ(found->data.size(), c.dataSize);
        EXPECT_EQ(found->sizeThroughData, c.dataOffset + c.dataSize);
        EXPECT_EQ(found->format, (ovwav::WaveFormat{11025, 8, 1}));
    }
}

// Every cut of a valid image either finds its data chunk header, and then
// plays the bytes that are there, or is unusable; nothing past the cut is
// read (the sanitizer build checks this byte for byte).
TEST(WaveImage, EveryCutOfAnImageStaysInside) {
    const Bytes whole =
        riff({formatChunk(8000, 8, 1, 2), Chunk{"LIST", pattern(5), {}}, dataChunk(pattern(30))});
    const std::size_t dataHeaderEnd = 12 + 8 + 18 + 8 + 5 + 8;
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        Bytes image(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        const auto found = ovwav::parseWaveImage(image.data(), image.size());
        ASSERT_EQ(found.has_value(), cut >= dataHeaderEnd) << cut;
        if (found) {
            EXPECT_EQ(found->data.size(), cut - dataHeaderEnd) << cut;
        }
    }
}

TEST(WaveImage, RateBeyondTheLargestIntIsTakenAsTheLargest) {
    Bytes image = riff({formatChunk(0xFFFFFFF0u, 16, 1), dataChunk(pattern(4))});
    const auto found = ovwav::parseWaveImage(image);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->format.samplesPerSecond, INT_MAX);
}
