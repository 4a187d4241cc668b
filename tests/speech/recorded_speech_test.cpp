#include <gtest/gtest.h>

#include "console/ovcrt.h"
#include "platform/platform.h"
#include "speech/ovwin.h"
#include "speech_fixture.h"

using speechtest::lengthOf;
using speechtest::playedSince;
using Sounds = std::vector<std::string>;

namespace {

std::string ch(char c) { return "_" + std::to_string(static_cast<unsigned char>(c)); }
std::string joined(std::initializer_list<const char*> names) {
    std::size_t total = 0;
    for (const char* n : names) total += lengthOf(n);
    return "+" + std::to_string(total);
}
// A word run spoken by the voice of the tests, which has no rules: every
// letter is its upper-case character sound, all in one image.
std::string word(const std::string& upper) {
    if (upper.size() == 1) return ch(upper[0]);
    std::size_t total = 0;
    for (char c : upper) total += lengthOf(ch(c));
    return "+" + std::to_string(total);
}

class RecordedSpeech : public ::testing::Test {
protected:
    void SetUp() override {
        while (ovcrt::keyPressed()) ovcrt::readKey();
        playedSince();
    }
};

}  // namespace

TEST_F(RecordedSpeech, TheTextIsCutIntoZerosNumbersWordsAndSymbols) {
    struct Case {
        const char* text;
        Sounds sounds;
    };
    const Case cases[] = {
        {"007", {"_zero", "_zero", "_sete"}},
        {"17", {"_dezeset"}},
        {"16", {"_dezesse"}},
        {"1000000", {ch('1'), ch('0'), ch('0'), ch('0'), ch('0'), ch('0'), ch('0')}},
        {"100000", {joined({"_cem", "_mil"})}},
        {"12-34", {ch('1'), ch('2'), ch('-'), ch('3'), ch('4')}},
        {"-5", {"_MENOS", "_cinco"}},
        {"guarda-chuva", {word("GUARDA"), word("CHUVA")}},
        // The three w are spelled, the period voiced (no blank follows: no pause).
        {"www.x", {ch('w'), ch('w'), ch('w'), ch('.'), ch('x')}},
        {"WwW.x", {ch('W'), ch('w'), ch('W'), ch('.'), ch('x')}},
        // Two words of which the second is www: one run, for the translator,
        // whose text preparation makes a w between letters a u.
        {"o www", {word("OUUU")}},
        {"a://b", {word("A"), ch(':'), ch('/'), ch('/'), ch('b')}},
        {"#@", {ch('#'), ch('@')}},
        {"\t", {}},
        // The fifth and later repetitions of a symbol are clicks, even with
        // words between them.
        {"!!!!!!", {ch('!'), ch('!'), ch('!'), ch('!'), "click", "click"}},
        {"!a!a!a!a!", {ch('!'), word("A"), ch('!'), word("A"), ch('!'), word("A"), ch('!'), word("A"), "click"}},
    };
    for (const auto& c : cases) {
        ovwin::speakRecorded(c.text);
        EXPECT_EQ(playedSince(), c.sounds) << c.text;
    }
}

TEST_F(RecordedSpeech, PunctuationIsVoicedAndPausedWhenABlankFollows) {
    const auto& s = ovwin::settings();
    struct Case {
        const char* text;
        Sounds sounds;
        int pause;
    };
    const Case cases[] = {
        {"fim.", {word("FIM"), ch('.')}, s.pauseAfterPeriod},
        {"e, b", {word("E"), ch(','), ch('b')}, s.pauseAfterComma},
        {"3,5", {"_tres", ch(','), "_cinco"}, 0},
        {"x:", {ch('x'), ch(':')}, s.pauseAfterColon},
        {"(", {ch('(')}, s.pauseAfterColon},
        {"- ", {ch('-')}, s.pauseAfterComma},
    };
    for (const auto& c : cases) {
        const auto before = platform::nowMs();
        ovwin::speakRecorded(c.text);
        const auto sounds = playedSince();
        EXPECT_EQ(sounds, c.sounds) << c.text;
        // Every recording lasts its length at 11025 Hz; the rest is the pause.
        double playing = 0;
        for (const auto& name : sounds) {
            const std::size_t bytes = name[0] == '+' ? std::stoul(name.substr(1)) : lengthOf(name);
            playing += 1000.0 * static_cast<double>(bytes) / 11025.0;
        }
        const auto spent = static_cast<double>(platform::nowMs() - before);
        EXPECT_NEAR(spent - playing, c.pause, static_cast<double>(sounds.size()) + 2) << c.text;
    }
}

TEST_F(RecordedSpeech, AKeyStopsTheWalkAndStaysQueued) {
    speechtest::pressKey('q');
    ovwin::speakRecorded("abc def");
    EXPECT_EQ(playedSince(), Sounds{});
    EXPECT_TRUE(ovcrt::keyPressed());
    EXPECT_EQ(ovcrt::readKey(), 'q');
}

TEST_F(RecordedSpeech, UpperLatin1) {
    EXPECT_EQ(ovwin::upperLatin1("abc\xE7\xE3\xFF\xF7z{"), "ABC\xC7\xC3\xDF\xD7Z{");
}

TEST_F(RecordedSpeech, WaveHeaderOfAnImageInMemory) {
    std::uint8_t image[44];
    ovwin::fillWaveHeader(image, 1000, 16000, 16, 2);
    auto u32 = [&](int at) {
        return image[at] | image[at + 1] << 8 | image[at + 2] << 16 | static_cast<std::uint32_t>(image[at + 3]) << 24;
    };
    EXPECT_EQ(std::string(reinterpret_cast<char*>(image), 4), "RIFF");
    EXPECT_EQ(u32(4), 1036u);
    EXPECT_EQ(u32(24), 16000u);
    EXPECT_EQ(u32(28), 64000u);
    EXPECT_EQ(image[22], 2);
    EXPECT_EQ(image[32], 1);  // the block alignment keeps the template's 1
    EXPECT_EQ(image[34], 16);
    EXPECT_EQ(u32(40), 1000u);
}
