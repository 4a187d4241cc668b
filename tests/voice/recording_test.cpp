#include "tools/voice/recording.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes record(const std::string& text) {
    const voice::Recording r = voice::recordSpeech(text);
    EXPECT_EQ(r.error, "") << text;
    return r.samples;
}

TEST(RecordSpeech, SameTextGivesTheSameBytesWhateverWasSaidBefore) {
    // espeak-ng keeps state between texts; each recording must not depend on it.
    const Bytes first = record("xis");
    record("ponto de interrogação");
    record("ésse");
    EXPECT_EQ(record("xis"), first);
}

TEST(RecordSpeech, DifferentTextsGiveDifferentSounds) {
    const Bytes bee = record("bê");
    const Bytes dee = record("dê");
    EXPECT_FALSE(bee.empty());
    EXPECT_NE(bee, dee);
}

TEST(RecordSpeech, StartsAndEndsAtTheSilentLevel) {
    const Bytes s = record("quatrocentos");
    ASSERT_GT(s.size(), 2000u);  // a word of four syllables lasts far more than 0.2 s
    EXPECT_EQ(s.front(), 128);
    EXPECT_EQ(s.back(), 128);
    EXPECT_LT(s.size(), 30000u);
}

TEST(RecordSpeech, ReportsAVoiceThatEspeakLacks) {
    voice::EspeakSettings settings;
    settings.voice = "no-such-voice";
    const voice::Recording r = voice::recordSpeech("um", settings);
    EXPECT_NE(r.error, "");
    EXPECT_TRUE(r.samples.empty());
}

TEST(PlaceholderTone, IsShortSoftAndClickFree) {
    const Bytes tone = voice::placeholderTone();
    EXPECT_NEAR(static_cast<double>(tone.size()), 11025 * 0.09, 2.0);
    EXPECT_EQ(tone.front(), 128);
    EXPECT_EQ(tone.back(), 128);
    const auto [low, high] = std::minmax_element(tone.begin(), tone.end());
    EXPECT_GT(*high, 150);       // audible
    EXPECT_LT(*high, 128 + 40);  // but well below full scale
    EXPECT_GT(*low, 128 - 40);
    for (std::size_t i = 1; i < tone.size(); ++i)
        EXPECT_LE(std::abs(tone[i] - tone[i - 1]), 12) << "jump at " << i;
}

}  // namespace
