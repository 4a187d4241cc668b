// Dropping every other pitch period: the reduction of 16-bit samples, the
// stretches that are kept, and blocks that hold no periods at all.
#include <gtest/gtest.h>

#include <random>

#include "audio/ovwav.h"
#include "wave_builder.h"

using namespace wavetest;

namespace {

// A voiced sound: a sharp peak every `period` samples, a decaying ring
// after it, and the silence level in between.
Bytes voiced(std::size_t n, std::size_t period) {
    Bytes b(n, 128);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t phase = i % period;
        if (phase == 0)
            b[i] = 250;
        else if (phase < 20)
            b[i] =
                static_cast<std::uint8_t>(128 + (phase % 2 ? 60 : -60) / static_cast<int>(phase));
    }
    return b;
}

}  // namespace

TEST(SkipPeriods, SixteenBitSamplesBecomeTheirHighByteMadeUnsigned) {
    const std::pair<std::uint16_t, std::uint8_t> cases[] = {
        {0x0000, 0x80}, {0x7FFF, 0xFF}, {0x8000, 0x00},
        {0xFF00, 0x7F}, {0x0100, 0x81}, {0xFFFF, 0x7F},
    };
    Bytes samples;
    for (const auto& c : cases) put16(samples, c.first);
    samples.push_back(0x55);  // half a sample at the end is dropped
    EXPECT_EQ(ovwav::skipAlternatePeriods(samples.data(), samples.size(), 16, 11025), 6u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(samples[i], cases[i].second) << i;
}

TEST(SkipPeriods, BlocksBelowAThousandSamplesKeepTheirLength) {
    for (int rate : {11025, 22050}) {
        Bytes samples = voiced(999, 100);
        const Bytes before = samples;
        EXPECT_EQ(ovwav::skipAlternatePeriods(samples.data(), samples.size(), 8, rate), 999u);
        EXPECT_EQ(samples, before);
    }
}

// From the first peak on, the output is a row of whole periods, each from a
// peak through the next one, with the period between two kept ones dropped.
TEST(SkipPeriods, KeepsEveryOtherPeriodWhole) {
    struct Case {
        int rate;
        std::size_t period, firstPeak;
    };
    // Only 11025 has the short search; 16538 is 11025 with the rate boost.
    for (const Case& c : {Case{11025, 100, 200}, Case{22050, 400, 800}, Case{16538, 350, 1050},
                          Case{8000, 400, 800}}) {
        SCOPED_TRACE(c.rate);
        const std::size_t n = 40 * c.period;
        Bytes samples = voiced(n, c.period);
        const Bytes original = samples;
        const std::size_t length = ovwav::skipAlternatePeriods(samples.data(), n, 8, c.rate);
        EXPECT_GT(length, n / 2 - 2 * c.period);
        EXPECT_LT(length, n / 2 + 2 * c.period);
        EXPECT_TRUE(std::equal(samples.begin(), samples.begin() + c.firstPeak, original.begin()));
        const std::size_t stretch = c.period + 1;
        for (std::size_t at = c.firstPeak; at + stretch <= length - c.period; at += stretch) {
            ASSERT_TRUE(std::equal(samples.begin() + at, samples.begin() + at + stretch,
                                   original.begin() + c.firstPeak))
                << at;
        }
    }
}

// Blocks without any pitch peak, or with random bytes, end without reading
// or writing past the block, and never grow.
TEST(SkipPeriods, BlocksWithoutPeriodsEnd) {
    std::mt19937 random(7);
    for (int rate : {11025, 22050}) {
        for (std::size_t n : {1000u, 1001u, 1100u, 1319u, 1320u, 1321u, 2039u, 2040u, 5000u}) {
            for (int kind = 0; kind < 3; ++kind) {
                Bytes samples(n, kind == 0 ? 0 : 128);
                if (kind == 2)
                    for (auto& b : samples) b = static_cast<std::uint8_t>(random());
                const std::size_t length = ovwav::skipAlternatePeriods(samples.data(), n, 8, rate);
                EXPECT_LE(length, n) << rate << " " << n << " " << kind;
                Bytes wide(2 * n);
                for (auto& b : wide) b = static_cast<std::uint8_t>(random());
                EXPECT_LE(ovwav::skipAlternatePeriods(wide.data(), wide.size(), 16, rate), n);
            }
        }
    }
}
