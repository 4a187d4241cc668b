// prepareText: what the rules get to read from a Windows-1252 text.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "diphone/ovtradut.h"

namespace {

using ovtradut::prepareText;

// The placeholder of a character that has no spoken form, as it lands in the
// prepared text.
const std::string kUnspeakable = " \x01 ";

struct Case {
    const char* name;
    std::string text;
    std::string prepared;
};

TEST(PrepareText, RewritesLettersMarksAndUnspeakableCharacters) {
    const std::vector<Case> cases = {
        {"w before a letter is u", "Wagner", "uagner"},
        {"lone W stays", "W", "W"},
        {"w after a letter is u", "Kow", "Kou"},
        {"w beside no letter stays", "w.", "w."},
        {"Y before a letter is i", "Yara", "iara"},
        {"y after a letter is i", "Tony 2", "Toni 2"},
        {"w between blanks stays", "a w b", "a w b"},
        {"d' loses its apostrophe", "d'\xE1gua", "da'gua"},
        {"D' too", "D'Ouro", "DOuro"},
        {"other apostrophes stay as acute marks", "o'clock", "o'clock"},
        {"a leading apostrophe stays", "'a", "'a"},
        {"c cedilla is ss", "a\xE7\xE3o", "assa~o"},
        {"capital C cedilla alone", "\xC7", "ss"},
        {"tab", "a\tb", "a" + kUnspeakable + "b"},
        {"copyright sign", "\xA9", kUnspeakable},
        {"every control code", std::string("\x00\x1F", 2), kUnspeakable + kUnspeakable},
        {"DEL is printable here", "\x7F", "\x7F"},
        {"n tilde, both cases", "\xF1\xD1", "nhnh"},
        {"O stroke", "\xD8", "0"},
        {"u diaeresis of the old spelling", "ping\xFCim", "pinguim"},
        {"circumflex and grave", "p\xEAssego \xE0s", "pe^ssego a`s"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(prepareText(c.text), c.prepared) << c.name;
}

// The replacement of every code from 128 to 255, listed here by what it
// becomes.
TEST(PrepareText, HighCharactersBecomeTheirReplacements) {
    const std::map<std::string, std::vector<int>> groups = {
        {"ss", {0x80, 0x87, 0xC7, 0xE7}},
        {"a'", {0x86, 0x8F, 0xA0, 0xC1, 0xE1}},
        {"a`", {0x85, 0xC0, 0xE0}},
        {"a^", {0x83, 0xC2, 0xE2}},
        {"a~", {0x84, 0x8E, 0xC3, 0xC4, 0xE3, 0xE4}},
        {"a", {0xC5, 0xE5}},
        {"ae", {0x91, 0xC6, 0xE6}},
        {"e'", {0x82, 0x90, 0xC9, 0xE9}},
        {"e`", {0x8A, 0xC8, 0xE8}},
        {"e^", {0x88, 0xCA, 0xEA}},
        {"e\"", {0x89, 0xCB, 0xEB}},
        {"i'", {0xA1, 0xCD, 0xED}},
        {"i`", {0x8D, 0xCC, 0xEC}},
        {"i^", {0x8C, 0xCE, 0xEE}},
        {"i\"", {0x8B, 0xCF, 0xEF}},
        {"nh", {0xA4, 0xA5, 0xD1, 0xF1}},
        {"o'", {0xA2, 0xD3, 0xF3}},
        {"o`", {0x95, 0xD2, 0xD6, 0xF2, 0xF6}},
        {"o^", {0x93, 0xD4, 0xF4}},
        {"o~", {0x94, 0x99, 0xD5, 0xF5}},
        {"u'", {0xA3, 0xDA, 0xFA}},
        {"u`", {0x97, 0xD9, 0xF9}},
        {"u^", {0x96, 0xDB, 0xFB}},
        {"u\"", {0x81, 0x9A}},
        {"u", {0xDC, 0xFC}},
        {"y-", {0x98}},
        {"-", {0x92}},
        {"x", {0xD7, 0xF7}},
        {"0", {0xD8, 0xF8}},
        {"?", {0xA8, 0xBF}},
        {"!", {0xAD}},
        {"\"", {0xAE, 0xAF}},
        {"\xA7", {0xA7}},
        {"\xAA", {0xAB}},
        {"\xBA", {0xBB}},
        {kUnspeakable, {0x9B, 0x9C, 0x9D, 0x9E, 0x9F, 0xA6, 0xA9, 0xAA, 0xAC, 0xB0, 0xB1,
                        0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBC, 0xBD,
                        0xBE, 0xD0, 0xDD, 0xDE, 0xDF, 0xF0, 0xFD, 0xFE, 0xFF}},
    };
    std::vector<int> seen(256, 0);
    for (const auto& [replacement, codes] : groups) {
        for (int code : codes) {
            ++seen[static_cast<std::size_t>(code)];
            EXPECT_EQ(prepareText(std::string(1, static_cast<char>(code))), replacement)
                << "code " << std::hex << code;
        }
    }
    for (int code = 128; code < 256; ++code)
        EXPECT_EQ(seen[static_cast<std::size_t>(code)], 1) << "code " << std::hex << code;
}

TEST(PrepareText, PrintableAsciiPassesUnchanged) {
    std::string ascii;
    for (int c = 32; c < 128; ++c)
        if (c != 'w' && c != 'W' && c != 'y' && c != 'Y') ascii += static_cast<char>(c);
    EXPECT_EQ(prepareText(ascii), ascii);
}

}  // namespace
