// translateToPhonemes over whole texts: how words are taken, which are
// spelled, and how a run longer than the word buffer is spoken.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "diphone/ovtradut.h"
#include "translator_fixture.h"

namespace {

struct Word {
    std::string text;
    int vowels;
    bool accent;
    bool operator==(const Word&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Word& w) {
    return out << "{" << w.text << ", " << w.vowels << ", " << w.accent << "}";
}

std::vector<Word> wordsOf(std::string_view text) {
    ovtradut::startUp();
    const std::string prepared = ovtradut::prepareText(text);
    std::vector<Word> words;
    std::size_t pos = 0;
    while (ovtradut::nextWord(prepared, pos))
        words.push_back(
            {ovtradut::currentWord(), ovtradut::vowelCount(), ovtradut::explicitAccent()});
    return words;
}

TEST(NextWord, TakesLetterRunsAndSingleCharacters) {
    EXPECT_EQ(wordsOf("Ele disse: n\xE3o!"), (std::vector<Word>{{"ele", 2, false},
                                                                {"disse", 2, false},
                                                                {":", 0, false},
                                                                {"na~o", 2, true},
                                                                {"!", 0, false}}));
    EXPECT_EQ(wordsOf("ping\x81im p\xE9 av\xF4"),
              (std::vector<Word>{{"pingu\"im", 3, false}, {"pe'", 1, true}, {"avo^", 2, true}}));
    EXPECT_EQ(
        wordsOf("a1b  'x"),
        (std::vector<Word>{
            {"a", 1, false}, {"1", 0, false}, {"b", 0, false}, {"'", 0, false}, {"x", 0, false}}));
    EXPECT_TRUE(wordsOf("   ").empty());
}

TEST(TranslateToPhonemes, SpellsWordsWithoutVowelsAndUnspeakableCharacters) {
    ovtradut::startUp();
    struct Case {
        std::string text, phonemes;
    };
    const std::vector<Case> cases = {
        {"cpf", "[ /_c][ /_p][ /_f]"},
        {",", "[ /_,]"},
        {"k", "[ /_k]"},
        {"CPF.", "[ /_c][ /_p][ /_f][ /_.]"},
        {"\t", "[ /_\x01]"},
        {"a\xA9", "[ /_A][ /_\x01]"},
        // Not spelled: a vowel, a mark, a digit or another character.
        {"a", "[ /_A]"},
        {"12", "[ /_1][ /_2]"},
        {"'", "[ /_']"},
        {"\xA7", "[ /_\xA7]"},
        {"o'clock", "[ /_O/ /_'/ /_C/ /_L/ /_O/ /_C/ /_K]"},
        {"", ""},
        {"  ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ovtradut::translateToPhonemes(c.text), c.phonemes) << c.text;
}

// A run of letters longer than the word buffer is spoken as words of at most
// 256 characters; accent marks at a cut stay with the vowel before it.
TEST(NextWord, CutsARunLongerThanTheBufferIntoWords) {
    const std::string a256(256, 'a');
    EXPECT_EQ(wordsOf(a256 + " b"), (std::vector<Word>{{a256, 256, false}, {"b", 0, false}}));
    EXPECT_EQ(wordsOf(std::string(300, 'a')),
              (std::vector<Word>{{a256, 256, false}, {std::string(44, 'a'), 44, false}}));
    EXPECT_EQ(wordsOf(std::string(255, 'a') + "\xE1tz"),
              (std::vector<Word>{{a256, 256, false}, {"tz", 0, false}}));
    EXPECT_EQ(wordsOf(std::string(256, 'a') + "\xE1tz"),
              (std::vector<Word>{{a256, 256, false}, {"a'tz", 1, true}}));

    // A new text starts afresh even when the last one was left at a cut.
    ovtradut::startUp();
    const std::string cut = ovtradut::prepareText(std::string(255, 'a') + "\xE1");
    std::size_t pos = 0;
    ASSERT_TRUE(ovtradut::nextWord(cut, pos));
    pos = 0;
    ASSERT_TRUE(ovtradut::nextWord("'a", pos));
    EXPECT_EQ(ovtradut::currentWord(), "'");
}

TEST(TranslateToPhonemes, ALongRunGivesOneGroupPerPiece) {
    const std::string phonemes = tradtest::translateWith({"(A)=a"}, std::string(600, 'a'));
    // Pieces of 256, 256 and 88 letters, each its own word with its own stress.
    const std::string piece = std::string(254, 'a') + "Aa";
    auto group = [](const std::string& letters) {
        std::string g = "[";
        for (char c : letters) g += std::string(1, c) + "/";
        g.back() = ']';
        return g;
    };
    EXPECT_EQ(phonemes, group(piece) + group(piece) + group(std::string(86, 'a') + "Aa"));
}

}  // namespace
