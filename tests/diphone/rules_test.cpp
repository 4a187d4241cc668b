// The rules file: how a line splits into a rule, which lines are kept, and
// how each context symbol decides whether a rule applies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diphone/ovtradut.h"
#include "translator_fixture.h"

namespace {

using tradtest::translateWith;

TEST(ParseRuleLine, SplitsAtTheFirstDelimitersAndCutsEachField) {
    struct Case {
        std::string line, left, letters, right, output;
    };
    const std::vector<Case> cases = {
        {"#(S)#=z", "#", "S", "#", "z"},
        {"(C)+=s|before e and i", "", "C", "+", "s"},
        {"abcdefg(HIJKLMN)opqrstu=0123456789abcdef|x", "abcde", "HIJKL", "opqrs", "0123456789a"},
        {"( A)= k ", "", " A", "", " k "},
        {"=(A)=b", "=", "A", "", "b"},
        {"(A)x|y=b", "", "A", "x|y", "b"},
        {"((A))=b", "", "(A", ")", "b"},
        {"(A)=b=c|d|e", "", "A", "", "b=c"},
        {"(A)=", "", "A", "", ""},
        // A missing delimiter empties the field it opens and all later ones.
        {"xyz", "xyz", "", "", ""},
        {"A(B", "A", "B", "", ""},
        {"A(B)C", "A", "B", "C", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        const ovtradut::RewriteRule r = ovtradut::parseRuleLine(c.line);
        EXPECT_EQ(r.left.view(), c.left) << c.line;
        EXPECT_EQ(r.letters.view(), c.letters) << c.line;
        EXPECT_EQ(r.right.view(), c.right) << c.line;
        EXPECT_EQ(r.output.view(), c.output) << c.line;
    }
}

TEST(LoadRules, LeavesOutLinesThatCouldNeverBeChosen) {
    ovtradut::startUp();
    ovtradut::loadRulesText(tradtest::lines({
        "",          // blank
        "xyz",       // no "("
        "()=a",      // empty letters: would match anywhere, consuming nothing
        "(a)=b",     // lower case: code 97
        "(`)=q",     // code 96
        "(\x7F)=q",  // code 127
        "(\x1F)=u",  // code 31
        "(\xC7)=s",  // code 199
        "( )=x",     // code 32: kept, though no word holds a blank
        "(_)=u",     // code 95: kept
        "(B)=7",
    }));
    EXPECT_EQ(ovtradut::ruleCount(), 3u);
    // The translation goes on past every character those lines name.
    EXPECT_EQ(ovtradut::translateToPhonemes("aba ` x a\x7F"),
              "[ /_A/7/ /_A][ /_`][ /_x][ /_A][ /_\x7F]");
}

TEST(LoadRules, ReadsEveryLineEndingAndFailsOnlyWithoutAFile) {
    ovtradut::startUp();
    tradtest::TempFile file("(C)+=s\r\n(C)=k\r(A)=a\n(E)=e");
    ASSERT_TRUE(ovtradut::loadRules(file.path()));
    EXPECT_EQ(ovtradut::ruleCount(), 4u);
    EXPECT_EQ(ovtradut::translateToPhonemes("ca ce"), "[k/a][s/e]");

    EXPECT_FALSE(ovtradut::loadRules(file.path() + ".missing"));
    EXPECT_EQ(ovtradut::ruleCount(), 0u);
    EXPECT_FALSE(ovtradut::loadRules(std::filesystem::temp_directory_path().string()));

    ASSERT_TRUE(ovtradut::loadRules(file.path()));
    ovtradut::releaseRules();
    EXPECT_EQ(ovtradut::translateToPhonemes("ca"), "[ /_C/ /_A]");
}

// The six-line rules file of the format's description.
TEST(RewriteWord, WorkedExample) {
    ovtradut::startUp();
    tradtest::TempFile rules("(C)+=s\n(C)=k\n(A)=a\n(E)=e\n#(S)#=z\n(S)=s\n");
    tradtest::TempFile exceptions("");
    ASSERT_TRUE(ovtradut::loadRules(rules.path()));
    ASSERT_TRUE(ovtradut::loadExceptions(exceptions.path()));
    EXPECT_EQ(ovtradut::translateToPhonemes("casa"), "[k/A/z/a]");
    EXPECT_EQ(ovtradut::translateToPhonemes("casas"), "[k/A/z/a/s]");
    EXPECT_EQ(ovtradut::translateToPhonemes("cena"), "[s/E/ /_N/a]");
    EXPECT_EQ(ovtradut::translateToPhonemes("Casa, cena."), "[k/A/z/a][ /_,][s/E/ /_N/a][ /_.]");
}

struct ContextCase {
    const char* rule;
    const char* word;
    bool holds;
};

// Whether the rule, alone in the file, gives its output "7" in the word.
void expectContexts(const std::vector<ContextCase>& cases) {
    for (const ContextCase& c : cases) {
        const std::string result = translateWith({c.rule}, c.word);
        EXPECT_EQ(result.find('7') != std::string::npos, c.holds)
            << c.rule << " in " << c.word << ": " << result;
    }
}

TEST(RewriteWord, LeftContextSymbols) {
    // clang-format off
    expectContexts({
        {"#(B)=7", "ab", true},     {"#(B)=7", "a'b", true},    {"#(B)=7", "atb", false},
        {"#(B)=7", "ba", false},    {"C#(B)=7", "caa'b", true}, {"C#(B)=7", "ab", false},
        {"%(B)=7", "ba", true},     {"%(B)=7", "aba", false},
        // ] : a back vowel, with its mark if any
        {"](B)=7", "ab", true},     {"](R)=7", "amor", true},   {"](B)=7", "\xE3\x62", true},
        {"](B)=7", "eb", false},    {"](B)=7", "\xEA\x62", false}, {"](B)=7", "ba", false},
        {"C](B)=7", "ca\xE3\x62", false}, {"C](B)=7", "c\xE3\x62", true}, {"C](B)=7", "cab", true},
        // _ : a vowel with its mark, or the start of the word
        {"_(B)=7", "ba", true},     {"_(B)=7", "ab", true},     {"_(B)=7", "\xE1\x62", true},
        {"_(B)=7", "atb", false},   {"C_(B)=7", "cab", true},   {"C_(B)=7", "ba", false},
        // | : n, r or s
        {"|(B)=7", "anb", true},    {"|(B)=7", "arb", true},    {"|(B)=7", "asb", true},
        {"|(B)=7", "atb", false},   {"|(B)=7", "ba", false},
        // literal characters, read from the last
        {"T(B)=7", "atb", true},    {"T(B)=7", "aab", false},   {"AT(B)=7", "atb", true},
        {"AT(B)=7", "etb", false},  {"'(B)=7", "o'b", true},    {"'(B)=7", "ob", false},
        // symbols of the right context are literal on the left
        {"&(B)=7", "alb", false},   {"+(B)=7", "eb", false},
    });
    // clang-format on
}

TEST(RewriteWord, RightContextSymbols) {
    // clang-format off
    expectContexts({
        {"(B)#=7", "ba", true},     {"(B)#=7", "bta", false},   {"(B)#=7", "ab", false},
        {"(B)#T=7", "ba\xE1t", true}, {"(B)#T=7", "bat", true}, {"(B)#T=7", "ba", false},
        {"(B)%=7", "ab", true},     {"(B)%=7", "aba", false},
        // & : l m n r z, consumed
        {"(B)&=7", "abl", true},    {"(B)&=7", "abm", true},    {"(B)&=7", "abn", true},
        {"(B)&=7", "abr", true},    {"(B)&=7", "abz", true},    {"(B)&=7", "abt", false},
        {"(B)&=7", "ab", false},    {"(B)&A=7", "abla", true},
        // * : a consonant other than r and l, not consumed
        {"(B)*=7", "abt", true},    {"(B)*=7", "abr", false},   {"(B)*=7", "abl", false},
        {"(B)*=7", "aba", false},   {"(B)*=7", "ab", false},    {"(B)*T=7", "abt", true},
        // + : a front vowel with its mark
        {"(B)+=7", "abe", true},    {"(B)+=7", "abi", true},    {"(B)+=7", "aba", false},
        {"(B)+=7", "ab", false},    {"(B)+T=7", "ab\xE9t", true}, {"(B)+T=7", "abet", true},
        {"(B)+L=7", "cabel", true},  // the stressed E of cabEl
        // [ : the end, or a consonant other than h, not consumed
        {"(B)[=7", "ab", true},     {"(B)[=7", "abc", true},    {"(B)[=7", "abd", true},
        {"(B)[=7", "abh", false},   {"(B)[=7", "aba", false},   {"(B)[C=7", "abc", true},
        // \ : an optional s
        {"(B)\\=7", "ab", true},    {"(B)\\=7", "aba", true},   {"(B)\\%=7", "abs", true},
        {"(B)\\%=7", "ab", true},   {"(B)\\%=7", "abt", false}, {"(B)\\T=7", "abst", true},
        // literal characters
        {"(B)T=7", "abt", true},    {"(B)T=7", "aba", false},   {"(B)'=7", "ab'", true},
        // symbols of the left context are literal on the right
        {"(B)]=7", "aba", false},   {"(B)_=7", "aba", false},
    });
    // clang-format on
}

TEST(RewriteWord, ChoosesTheFirstMatchingRuleAndConsumesItsLetters) {
    EXPECT_EQ(translateWith({"(B)=7", "(B)=8"}, "ab"), "[ /_A/7]");
    EXPECT_EQ(translateWith({"(BC)=7"}, "abca"), "[ /_A/7/ /_A]");
    EXPECT_EQ(translateWith({"(BA)=7", "(B)=8"}, "abab"), "[ /_A/7/8]");
    EXPECT_EQ(translateWith({"(B)=", "(A)= a "}, "ab"), "[ a /]");
    // A rule's letters must lie within the word.
    EXPECT_EQ(translateWith({"(BA)=7"}, "ab"), "[ /_A/ /_B]");
    // Marks are matched as themselves inside the letters.
    EXPECT_EQ(translateWith({"(A~O)=7"}, "m\xE3o"), "[ /_M/7]");
}

TEST(RewriteWord, StressPassesToTheFirstVowelOfTheUnit) {
    EXPECT_EQ(translateWith({"(E)=ey"}, "cena"), "[ /_C/Ey/ /_N/ /_A]");
    EXPECT_EQ(translateWith({"(E)=7ey"}, "cena"), "[ /_C/7Ey/ /_N/ /_A]");
    EXPECT_EQ(translateWith({"(E)=7"}, "cena"), "[ /_C/7/ /_N/ /_A]");
    EXPECT_EQ(translateWith({"(E)=ey", "(A)=a"}, "ela"), "[ey/ /_L/a]");
}

}  // namespace
