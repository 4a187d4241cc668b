#include "tools/voice/resampler.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>

#include "signal_helpers.h"

namespace {

using voice::resample;
using voice_test::sine;
using voice_test::sineAmplitude;

constexpr int kEspeakRate = 22050;
constexpr int kOutRate = 11025;

// Amplitude of a unit sine after conversion, measured away from both ends
// where the filter runs into the edge of the sound.
double amplitudeAfter(double hz, int inRate) {
    const voice::Sound in = sine(hz, 1.0, inRate, static_cast<std::size_t>(inRate));
    const voice::Sound out = resample(in, kOutRate);
    const std::size_t edge = out.samples.size() / 8;
    return sineAmplitude(out.samples, edge, out.samples.size() - edge);
}

struct PassCase {
    double hz;
    int inRate;
};

// Readable test names.
void PrintTo(const PassCase& c, std::ostream* out) { *out << c.hz << " Hz"; }

class ResamplerPassBand : public testing::TestWithParam<PassCase> {};

TEST_P(ResamplerPassBand, SineKeepsItsAmplitude) {
    const double a = amplitudeAfter(GetParam().hz, GetParam().inRate);
    EXPECT_NEAR(20.0 * std::log10(a), 0.0, 0.1)
        << GetParam().hz << " Hz from " << GetParam().inRate;
}

INSTANTIATE_TEST_SUITE_P(SpeechBand, ResamplerPassBand,
                         testing::Values(PassCase{100, kEspeakRate}, PassCase{1000, kEspeakRate},
                                         PassCase{3000, kEspeakRate}, PassCase{4500, kEspeakRate},
                                         PassCase{4950, kEspeakRate}, PassCase{1000, 16000},
                                         PassCase{4500, 44100}, PassCase{1000, 8000}));

class ResamplerStopBand : public testing::TestWithParam<double> {};

// Above the new Nyquist frequency (5512.5 Hz) a sine would fold back as a
// tone that was never there; the filter must remove it.
TEST_P(ResamplerStopBand, SineAboveNyquistIsSuppressed) {
    const double a = amplitudeAfter(GetParam(), kEspeakRate);
    EXPECT_LT(20.0 * std::log10(a), -60.0) << GetParam() << " Hz";
}

INSTANTIATE_TEST_SUITE_P(Aliases, ResamplerStopBand,
                         testing::Values(5600.0, 6000.0, 8000.0, 10000.0, 11000.0));

TEST(Resampler, HalvingGivesHalfTheSamplesAtTheNewRate) {
    const voice::Sound out = resample(sine(440, 0.5, kEspeakRate, 1001), kOutRate);
    EXPECT_EQ(out.rate, kOutRate);
    EXPECT_EQ(out.samples.size(), 501u);  // rounded up: the last input sample still counts
}

TEST(Resampler, SineStaysInPhase) {
    // A delay would shift every recording against its neighbours in joined
    // numbers; the kernel is centred, so output sample j is input sample 2j.
    const voice::Sound in = sine(500, 1.0, kEspeakRate, 4000);
    const voice::Sound out = resample(in, kOutRate);
    for (std::size_t j = 500; j < 1500; j += 97)
        EXPECT_NEAR(out.samples[j], in.samples[2 * j], 1e-3) << "sample " << j;
}

TEST(Resampler, SameRateLeavesTheSoundAlone) {
    const voice::Sound in = sine(700, 0.3, kOutRate, 300);
    EXPECT_EQ(resample(in, kOutRate).samples, in.samples);
}

TEST(Resampler, RefusesRatesThatAreNotPositive) {
    EXPECT_THROW(resample(sine(100, 1, 0, 10), kOutRate), std::invalid_argument);
    EXPECT_THROW(resample(sine(100, 1, kEspeakRate, 10), 0), std::invalid_argument);
}

TEST(Resampler, EmptySoundStaysEmpty) {
    EXPECT_TRUE(resample(voice_test::silence(kEspeakRate, 0), kOutRate).samples.empty());
}

}  // namespace
