// The state of the translator and the character classes of its files, shared
// by its own files only.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "diphone/ovtradut.h"

namespace ovtradut::detail {

struct ExceptionEntry {
    std::string key;
    std::string value;
};

// Rules are listed under the first character of their letters, codes 32 to 95
// (blank to underscore: the upper-case letters, digits and most punctuation).
constexpr int kFirstListed = 32;
constexpr int kLastListed = 95;
constexpr std::size_t kListCount = kLastListed - kFirstListed + 1;

struct TradutState {
    std::array<std::vector<RewriteRule>, kListCount> ruleLists;  // file order
    std::vector<ExceptionEntry> exceptions;                      // sorted by key after a load

    // The word in progress. Positions are counted from 1 as the rules think
    // of them; buffer[0] holds position 1.
    std::array<char, kWordCapacity> word{};
    int wordLength = 0;
    int vowels = 0;           // vowels of the word as taken from the text
    bool accentMark = false;  // it held an acute, grave, circumflex or tilde
    bool wordWasCut = false;  // the last word filled the buffer mid-run
};

TradutState& tradut();

// The character at position s of the word (1 to wordLength), or -1 outside.
inline int wordAt(int s) {
    const TradutState& t = tradut();
    if (s < 1 || s > t.wordLength) return -1;
    return static_cast<unsigned char>(t.word[s - 1]);
}

// ---- Character classes (plain ASCII case; -1 belongs to none).

inline bool isVowel(int c) {
    return c > 0 && c < 128 &&
           std::string_view("AEIOUaeiou").find(static_cast<char>(c)) != std::string_view::npos;
}
inline bool isAsciiLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool isConsonant(int c) { return isAsciiLetter(c) && !isVowel(c); }
// The accent marks written after a vowel: diaeresis, acute, circumflex,
// grave, tilde.
inline bool isMark(int c) { return c == '"' || c == '\'' || c == '^' || c == '`' || c == '~'; }
inline bool isSeparator(int c) {
    return c == ' ' || c == '!' || c == ',' || c == '.' || c == ':' || c == ';' || c == '?';
}
inline bool isBackVowel(int c) { return c == 'A' || c == 'O' || c == 'a' || c == 'o'; }
inline bool isFrontVowel(int c) { return c == 'E' || c == 'I' || c == 'e' || c == 'i'; }
inline int upper(int c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }
inline int lower(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// The rule chosen at position p of the word, or none.
const RewriteRule* chooseRule(int p);

// Splits file contents into lines ending at LF, CR LF or a lone CR; a last
// line without an ending counts.
std::vector<std::string_view> splitLines(std::string_view contents);
// The contents of a file named in the system's spelling.
bool readSystemFile(const std::string& path, std::string& contents);

}  // namespace ovtradut::detail
