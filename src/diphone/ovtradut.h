// ovtradut: the translator of Portuguese spelling into the phoneme string that
// the diphone voice speaks.
//
// Word by word: the exceptions dictionary respells whole words, the stressed
// vowel of a word without a written accent is upper-cased, and the rewrite
// rules turn groups of letters into phoneme text. Words without a vowel are
// spelled with the recorded sound of each character.
//
// Two files, authored with the voice, drive it; both are Windows-1252 text:
//
//   rules ("regras.rgr"), one rule a line:   left(LETTERS)right=output|comment
//   exceptions ("portug.exc"), one a line:   word=respelling|comment
//
// Every text here is Windows-1252. One translation at a time (module state).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ovtradut {

// A text of at most N characters held in place; longer input is cut.
template <std::size_t N>
class FixedText {
public:
    FixedText() = default;
    explicit FixedText(std::string_view text) { assign(text); }
    void assign(std::string_view text) {
        length_ = static_cast<std::uint8_t>(std::min(text.size(), N));
        std::copy_n(text.data(), length_, chars_.data());
    }
    std::string_view view() const { return {chars_.data(), length_}; }
    std::size_t size() const { return length_; }
    bool empty() const { return length_ == 0; }
    char operator[](std::size_t i) const { return chars_[i]; }
    friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

private:
    static_assert(N < 256);
    std::array<char, N> chars_{};
    std::uint8_t length_ = 0;
};

// One line of the rules file. `left` is matched from its last character
// backwards, `right` from its first forwards; `letters` are consumed.
struct RewriteRule {
    FixedText<5> left;
    FixedText<5> letters;
    FixedText<5> right;
    FixedText<11> output;
};

// Capacities fixed by the file formats and the word state.
constexpr std::size_t kMaxExceptions = 15000;
constexpr std::size_t kMaxExceptionText = 255;  // a line, a key, a value
constexpr std::size_t kWordCapacity = 256;

// The character of code 1: a character with no spoken form, spelled with the
// recording of character 1.
constexpr char kPlaceholder = '\x01';

// Empties the rules and the exceptions.
void startUp();

// The two dictionaries. The paths are in the system's spelling; false only
// when the file cannot be read. Rules lines that could never be chosen
// (empty letters, letters starting outside codes 32 to 95) are left out.
bool loadRules(const std::string& path);
bool loadExceptions(const std::string& path);
// The same, from the contents of a file already read.
void loadRulesText(std::string_view contents);
void loadExceptionsText(std::string_view contents);
// Frees the rules; the exceptions stay.
void releaseRules();

// The phoneme string of a text: one group "[unit/unit/...]" per word, or one
// group "[ /_c]" per character of a spelled word.
std::string translateToPhonemes(std::string_view text);

// ---- The steps of a translation, for the tools and the tests.

// The rule of one rules-file line (it may be one that loadRules leaves out).
RewriteRule parseRuleLine(std::string_view line);
// Rules held, over all lists.
std::size_t ruleCount();
std::size_t exceptionCount();
// The respelling listed for exactly this key.
std::optional<std::string> exceptionValue(std::string_view key);

// Accented letters as letter + mark, "ç" as "ss", w/y beside letters as u/i,
// characters with no spoken form as " \x01 ".
std::string prepareText(std::string_view text);
// The replacement of a character of code 128 to 255 ("ç" stands as itself).
std::string_view highCharMap(std::uint8_t code);

// The word state: nextWord takes the next word of a prepared text from `pos`
// on and leaves `pos` after it; the others work on that word.
bool nextWord(std::string_view prepared, std::size_t& pos);
void applyExceptions();
void markStress();
bool isSpelledWord();
void spellWord(std::string& result);
void rewriteWord(std::string& result);
std::string currentWord();
int vowelCount();
bool explicitAccent();

}  // namespace ovtradut
