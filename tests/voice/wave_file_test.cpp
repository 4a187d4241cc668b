#include "tools/voice/wave_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WaveImage, HeaderIsTheCanonicalOneFor8BitMono11025) {
    const Bytes image = voice::waveImage({128, 200, 50});
    // clang-format off
    const Bytes expected = {
        'R', 'I', 'F', 'F', 39, 0, 0, 0,  // 36 + 3 bytes of samples
        'W', 'A', 'V', 'E',
        'f', 'm', 't', ' ', 16, 0, 0, 0,  // size of the format chunk
        1, 0,                             // PCM
        1, 0,                             // one channel
        0x11, 0x2B, 0, 0,                 // 11025 samples per second
        0x11, 0x2B, 0, 0,                 // 11025 bytes per second
        1, 0,                             // one byte per frame
        8, 0,                             // 8 bits
        'd', 'a', 't', 'a', 3, 0, 0, 0,
        128, 200, 50};
    // clang-format on
    EXPECT_EQ(image, expected);
}

TEST(WaveImage, SizesAreLittleEndianAndFollowTheData) {
    const Bytes samples(70000, 128);
    const Bytes image = voice::waveImage(samples);
    ASSERT_EQ(image.size(), 44u + 70000u);
    const auto read32 = [&](std::size_t at) {
        return image[at] | image[at + 1] << 8 | image[at + 2] << 16 | image[at + 3] << 24;
    };
    EXPECT_EQ(read32(4), 70036);
    EXPECT_EQ(read32(40), 70000);
}

struct ConversionCase {
    float in;
    std::uint8_t out;
};

// Readable test names.
void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.in; }

class ToUnsigned8 : public testing::TestWithParam<ConversionCase> {};

TEST_P(ToUnsigned8, MapsAroundTheSilentLevel) {
    EXPECT_EQ(voice::toUnsigned8({GetParam().in}), Bytes{GetParam().out}) << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ToUnsigned8,
    testing::Values(ConversionCase{0.0f, 128},    // silence
                    ConversionCase{0.003f, 128},  // below half a step
                    ConversionCase{-0.003f, 128},
                    ConversionCase{0.5f, 192},  // 63.5 steps round away from zero
                    ConversionCase{-0.5f, 64}, ConversionCase{1.0f, 255},  // full scale, both ways
                    ConversionCase{-1.0f, 1},
                    ConversionCase{1.7f, 255},  // beyond it: held, never wrapped
                    ConversionCase{-3.0f, 1}, ConversionCase{0.99f, 254}));

TEST(WriteFileAtomically, WritesTheBytesAndLeavesNoPartialFile) {
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) /
                                      ("oralis_voice_wave_write_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "_65.wav";
    const Bytes image = voice::waveImage({1, 2, 3, 250});
    ASSERT_TRUE(voice::writeFileAtomically(file.string(), image));
    std::ifstream in(file, std::ios::binary);
    const Bytes back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(back, image);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".part"));
    std::filesystem::remove_all(dir);
}

TEST(WriteFileAtomically, ReportsAFolderThatDoesNotExist) {
    const std::filesystem::path file =
        std::filesystem::path(testing::TempDir()) / "oralis_no_such_folder" / "_65.wav";
    EXPECT_FALSE(voice::writeFileAtomically(file.string(), voice::waveImage({128})));
}

}  // namespace
