#include <gtest/gtest.h>

#include "console/ovcrt.h"

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& v, std::size_t at) {
    return v[at] | v[at + 1] << 8 | v[at + 2] << 16 | static_cast<std::uint32_t>(v[at + 3]) << 24;
}

}  // namespace

TEST(ToneImage, OneKilohertzByteForByte) {
    const auto image = ovcrt::buildToneImage(1000);
    ASSERT_EQ(image.size(), 11071u);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(image.begin() + 8, image.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le32(image, 40), 10980u);      // data size
    EXPECT_EQ(le32(image, 4), 10980u + 36);  // RIFF size
    EXPECT_EQ(le32(image, 16), 16u);
    EXPECT_EQ(le32(image, 24), 11025u);
    EXPECT_EQ(image[22], 1);  // mono
    EXPECT_EQ(image[34], 8);  // 8 bits
    EXPECT_EQ(std::string(image.begin() + 36, image.begin() + 40), "data");
    // Periods of 11 samples start at 44, 55, 66 …: 5 low samples, then high.
    for (std::size_t start : {44u, 55u, 66u}) {
        for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(image[start + i], 96) << start + i;
        for (std::size_t i = 5; i < 11; ++i) EXPECT_EQ(image[start + i], 160) << start + i;
    }
    EXPECT_EQ(image[11023], 128);  // the last sample is silence
}

TEST(ToneImage, PeriodsStartWhereTheExactFrequencyPutsThem) {
    // At 1000 Hz a period of 12 samples comes about every 40 periods: the
    // period n starts at 44 + n × 11025 div 1000.
    const auto image = ovcrt::buildToneImage(1000);
    for (int n : {39, 40, 41, 500, 995}) {
        const std::size_t start = 44 + static_cast<std::size_t>(n) * 11025 / 1000;
        EXPECT_EQ(image[start - 1], 160) << n;
        EXPECT_EQ(image[start], 96) << n;
    }
}

TEST(ToneImage, EveryFrequencyStaysInsideTheImage) {
    for (int hz : {1, 2, 100, 500, 2000, 5512, 5513, 11025, 11026, 30000, 65535}) {
        const auto f = static_cast<std::uint16_t>(hz);
        const auto image = ovcrt::buildToneImage(f);
        ASSERT_EQ(image.size(), 11071u) << f;
        const std::uint32_t size = le32(image, 40);
        EXPECT_LE(size, 11025u - 44u + 1) << f;
        if (size > 0) {
            EXPECT_EQ(image[44 + size - 1], 128) << f;
        }
        EXPECT_EQ(le32(image, 4), size + 36) << f;
    }
}
