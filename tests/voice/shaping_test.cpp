#include "tools/voice/shaping.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>

#include "signal_helpers.h"

namespace {

using voice::Sound;
using voice_test::joined;
using voice_test::peak;
using voice_test::silence;
using voice_test::sine;

constexpr int kRate = 11025;
constexpr std::size_t kMargin = 110;  // 10 ms at 11025 Hz
constexpr std::size_t kFade = 44;     // 4 ms

// Silence, a 300 Hz burst, silence.
Sound burst(std::size_t before, std::size_t length, std::size_t after, double amplitude = 0.5) {
    return joined(joined(silence(kRate, before), sine(300, amplitude, kRate, length)),
                  silence(kRate, after));
}

struct TrimCase {
    const char* what;
    std::size_t before, length, after;
    std::size_t expectedSize;
};

// Readable test names.
void PrintTo(const TrimCase& c, std::ostream* out) { *out << c.what; }

class TrimSilence : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimSilence, CutsToTheSoundAndItsMargins) {
    const TrimCase& c = GetParam();
    Sound s = burst(c.before, c.length, c.after);
    voice::trimSilence(s);
    // A sine starts at zero, so its first sample is below the threshold; the
    // measured size may be one or two samples short of the ideal one.
    EXPECT_NEAR(static_cast<double>(s.samples.size()), static_cast<double>(c.expectedSize), 2.0)
        << c.what;
    ASSERT_FALSE(s.samples.empty());
    EXPECT_EQ(s.samples.front(), 0.0f) << c.what;
    EXPECT_EQ(s.samples.back(), 0.0f) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimSilence,
    testing::Values(TrimCase{"long silences", 5000, 2000, 7000, 2000 + 2 * kMargin},
                    TrimCase{"no silence", 0, 2000, 0, 2000},
                    TrimCase{"short lead-in", 30, 2000, 5000, 2000 + 30 + kMargin},
                    TrimCase{"short tail", 5000, 2000, 50, 2000 + kMargin + 50}));

TEST(TrimSilenceDetail, MarginBeforeTheSoundIsSilentAndTheSoundIsUntouched) {
    const Sound original = burst(3000, 2000, 3000);
    Sound s = original;
    voice::trimSilence(s);
    // Past the fades the samples are the original ones, in place. The burst
    // begins with the sine's zero crossing, so its first sound is at 3001.
    const std::size_t offset = 3001 - kMargin;
    for (std::size_t i = kFade; i + kFade < s.samples.size(); ++i)
        ASSERT_EQ(s.samples[i], original.samples[offset + i]) << "sample " << i;
}

TEST(TrimSilenceDetail, SoftTailAboveTheThresholdIsKept) {
    // A fricative tail 30 dB below the peak is part of the word.
    Sound s = joined(joined(sine(300, 0.5, kRate, 1000), sine(3000, 0.5 * 0.0316, kRate, 800)),
                     silence(kRate, 4000));
    voice::trimSilence(s);
    EXPECT_NEAR(static_cast<double>(s.samples.size()), 1800.0 + kMargin, 3.0);
}

TEST(TrimSilenceDetail, NoiseFarBelowThePeakIsCut) {
    Sound s = joined(burst(0, 1000, 0), sine(3000, 0.5 * 0.001, kRate, 3000));
    voice::trimSilence(s);
    EXPECT_NEAR(static_cast<double>(s.samples.size()), 1000.0 + kMargin, 3.0);
}

TEST(TrimSilenceDetail, FadesRiseSmoothlyFromZero) {
    Sound s = silence(kRate, 1000);
    s.samples.assign(1000, 0.8f);  // a constant level shows the fade itself
    voice::trimSilence(s);
    for (std::size_t i = 1; i < kFade; ++i) {
        EXPECT_GT(s.samples[i], s.samples[i - 1]) << "sample " << i;
        EXPECT_LT(s.samples[i] - s.samples[i - 1], 0.8f * 0.05f) << "step at " << i;
    }
    EXPECT_FLOAT_EQ(s.samples[kFade + 1], 0.8f);
}

TEST(TrimSilenceDetail, SilenceBecomesEmpty) {
    Sound s = silence(kRate, 500);
    voice::trimSilence(s);
    EXPECT_TRUE(s.samples.empty());
}

// Voiced level in dB of full scale, as the loudness stage measures it.
double level(const Sound& s) { return voice::voicedLevelDb(s); }

TEST(EvenLoudness, QuietAndLoudSoundsEndAtTheSameLevel) {
    for (double amplitude : {0.01, 0.1, 0.3, 0.9}) {
        Sound s = sine(440, amplitude, kRate, 5000);
        voice::evenLoudness(s);
        EXPECT_NEAR(level(s), -16.0, 0.1) << "amplitude " << amplitude;
    }
}

TEST(EvenLoudness, PausesDoNotMakeASoundLouder) {
    Sound plain = sine(440, 0.2, kRate, 3000);
    Sound withPause = joined(joined(sine(440, 0.2, kRate, 1500), silence(kRate, 6000)),
                             sine(440, 0.2, kRate, 1500));
    voice::evenLoudness(plain);
    voice::evenLoudness(withPause);
    EXPECT_NEAR(peak(plain.samples), peak(withPause.samples), 0.01);
}

TEST(EvenLoudness, PeaksStayUnderTheCeilingWithoutClipping) {
    // A sine with a strong spike: raising it to the target would push the
    // spike far past full scale.
    Sound original = sine(440, 0.1, kRate, 5000);
    for (std::size_t i = 2500; i < 2520; ++i) original.samples[i] *= 9.0f;
    const double gain = std::pow(10.0, (-16.0 - level(original)) / 20.0);
    Sound s = original;
    voice::evenLoudness(s);

    EXPECT_LE(peak(s.samples), std::pow(10.0, -1.0 / 20.0) + 1e-6);
    // Away from the spike the sound has the full gain; the limiter acts only
    // within a few milliseconds of it.
    EXPECT_NEAR(voice_test::sineAmplitude(s.samples, 500, 2000), 0.1 * gain, 0.002);
    EXPECT_NEAR(voice_test::sineAmplitude(s.samples, 2000, 2380), 0.1 * gain, 0.002);
    EXPECT_NEAR(voice_test::sineAmplitude(s.samples, 2660, 4000), 0.1 * gain, 0.002);
    // Its gain glides instead of jumping, so the spike is not torn apart.
    double previous = 1.0;
    for (std::size_t i = 2300; i < 2700; ++i) {
        if (std::fabs(original.samples[i]) < 0.02f) continue;
        const double applied = s.samples[i] / (original.samples[i] * gain);
        EXPECT_LT(std::fabs(applied - previous), 0.02) << "at " << i;
        previous = applied;
    }
}

TEST(EvenLoudness, SilenceStaysSilent) {
    Sound s = silence(kRate, 1000);
    voice::evenLoudness(s);
    EXPECT_EQ(peak(s.samples), 0.0);
}

}  // namespace
