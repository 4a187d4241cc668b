// The exceptions file: how its lines become entries, and how a word finds its
// respelling, also under extra final s and m letters.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "diphone/ovtradut.h"
#include "translator_fixture.h"

namespace {

using ovtradut::exceptionValue;

// The word after the exceptions, and after stress marking.
struct Looked {
    std::string respelled, stressed;
};

Looked lookUp(std::string_view text) {
    const std::string prepared = ovtradut::prepareText(text);
    std::size_t pos = 0;
    if (!ovtradut::nextWord(prepared, pos)) return {"<no word>", ""};
    ovtradut::applyExceptions();
    Looked l{ovtradut::currentWord(), ""};
    ovtradut::markStress();
    l.stressed = ovtradut::currentWord();
    return l;
}

class Exceptions : public ::testing::Test {
protected:
    void SetUp() override { ovtradut::startUp(); }
    void load(const std::vector<std::string>& entries) {
        ovtradut::loadExceptionsText(tradtest::lines(entries));
    }
};

TEST_F(Exceptions, WordsAreFoundWholeOrUnderStrippedFinalSAndM) {
    load({"exame=ezame", "casa=kaza", "voce=voce^", "pq=porque", "abc=ABC"});
    struct Case {
        const char* word;
        const char* respelled;
        const char* stressed;
    };
    const std::vector<Case> cases = {
        {"exame", "ezame", "ezAme"},
        {"exames", "ezames", "ezAmes"},
        {"casasm", "kazasm", "kAzasm"},  // the s before the final m is passed over
        {"Casas", "kazas", "kAzas"},
        {"sms", "sms", "sms"},           // emptied by the search, then given back
        {"exam", "exam", "exam"},        // "exa" is not listed
        {"exameh", "exameh", "exAmeh"},  // only s and m are stripped
        {"abc", "ABC", "ABC"},           // nothing changes case
        // Stress follows the word as written: no accent in "voce", so the
        // respelling is marked although it carries a circumflex.
        {"voce", "voce^", "vOce^"},
        // Nor does the vowel count change: "pq" had none, so no mark.
        {"pq", "porque", "porque"},
    };
    for (const Case& c : cases) {
        const Looked l = lookUp(c.word);
        EXPECT_EQ(l.respelled, c.respelled) << c.word;
        EXPECT_EQ(l.stressed, c.stressed) << c.word;
    }
}

TEST_F(Exceptions, ARespelledWordIsTranslatedByTheRules) {
    load({"exame=ezame", "pq=porque"});
    ovtradut::loadRulesText(tradtest::lines({"(Z)=z", "(E)=e"}));
    EXPECT_EQ(ovtradut::translateToPhonemes("exames"), "[e/z/ /_A/ /_M/e/ /_S]");
    // The respelling has vowels, so it is rewritten, not spelled.
    EXPECT_EQ(ovtradut::translateToPhonemes("pq"), "[ /_P/ /_O/ /_R/ /_Q/ /_U/e]");
}

TEST_F(Exceptions, LinesSplitAtTheFirstEqualsAndTheNextBar) {
    load({"abc=def|a comment", "abc", "=xyz", "a=b=c", "a b = c ", "", "u=|", "Casa=kaza"});
    EXPECT_EQ(ovtradut::exceptionCount(), 7u);  // the empty line is skipped
    EXPECT_EQ(exceptionValue("abc"), "def");
    EXPECT_EQ(exceptionValue("abc|"), "");  // a line without "=": no word matches it
    EXPECT_EQ(exceptionValue(""), "xyz");
    EXPECT_EQ(exceptionValue("a"), "b=c");
    EXPECT_EQ(exceptionValue("a b "), " c ");
    EXPECT_EQ(exceptionValue("u"), "");
    EXPECT_EQ(lookUp("Casa").respelled, "casa");  // keys keep their case
}

TEST_F(Exceptions, SortsTheTableForTheSearch) {
    std::vector<std::string> keys = {"zebra", "a", "ab", "abc", "\xBA", "\xA7", "mesa", "aa", "b"};
    std::vector<std::string> entries;
    for (const std::string& k : keys) entries.push_back(k + "=" + k + "!");
    load(entries);
    for (const std::string& k : keys) EXPECT_EQ(exceptionValue(k), k + "!") << k;
    EXPECT_EQ(exceptionValue("abcd"), std::nullopt);
    EXPECT_EQ(exceptionValue("0"), std::nullopt);
    EXPECT_EQ(exceptionValue("\xFF"), std::nullopt);
}

TEST_F(Exceptions, HoldsAtMostFifteenThousandEntries) {
    std::vector<std::string> entries;
    for (int i = 1; i <= 15001; ++i) entries.push_back("k" + std::to_string(i) + "=v");
    load(entries);
    EXPECT_EQ(ovtradut::exceptionCount(), 15000u);
    EXPECT_EQ(exceptionValue("k15000"), "v");
    EXPECT_EQ(exceptionValue("k15001"), std::nullopt);
}

TEST_F(Exceptions, LongLinesAreCutAt255Characters) {
    const std::string longKey(200, 'k');
    const std::string bare253(253, 'b');
    const std::string bare300(300, 'c');
    load({longKey + "=" + std::string(99, 'v'), bare253, bare300});
    EXPECT_EQ(exceptionValue(longKey), std::string(54, 'v'));
    // Without "=", the key is the line and a bar, within 255 characters.
    EXPECT_EQ(exceptionValue(bare253 + "|"), "");
    EXPECT_EQ(exceptionValue(std::string(254, 'c') + "|"), "");
}

TEST_F(Exceptions, ARespellingLongerThanTheWordBufferIsCut) {
    const std::string value(252, 'x');
    load({"ab=" + value});
    const Looked l = lookUp("absssss");
    EXPECT_EQ(l.respelled, value + "ssss");
    EXPECT_EQ(l.respelled.size(), ovtradut::kWordCapacity);
    // And it translates in one group of 256 units.
    const std::string phonemes = ovtradut::translateToPhonemes("absssss");
    EXPECT_EQ(std::count(phonemes.begin(), phonemes.end(), '['), 256);  // spelled: no vowel
}

TEST_F(Exceptions, LoadsFromAFileWithItsLineEndings) {
    tradtest::TempFile file("exame=ezame\r\ncasa=kaza\rmesa=meza");
    ASSERT_TRUE(ovtradut::loadExceptions(file.path()));
    EXPECT_EQ(ovtradut::exceptionCount(), 3u);
    EXPECT_EQ(exceptionValue("exame"), "ezame");
    EXPECT_EQ(exceptionValue("casa"), "kaza");
    EXPECT_EQ(exceptionValue("mesa"), "meza");

    EXPECT_FALSE(ovtradut::loadExceptions(file.path() + ".missing"));
    EXPECT_EQ(ovtradut::exceptionCount(), 0u);
}

}  // namespace
