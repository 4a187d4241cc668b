// The translation of a text: words taken one by one, respelled by the
// exceptions, stressed, then spelled or rewritten by the rules.
#include "diphone/ovtradut.h"

#include <algorithm>

#include "diphone/ovtradut_state.h"

namespace ovtradut {
namespace detail {

TradutState& tradut() {
    static TradutState s;
    return s;
}

}  // namespace detail

using namespace detail;

void startUp() {
    TradutState& s = tradut();
    for (auto& list : s.ruleLists) list = {};
    s.exceptions = {};
    s.wordLength = 0;
    s.vowels = 0;
    s.accentMark = false;
    s.wordWasCut = false;
}

std::string translateToPhonemes(std::string_view text) {
    std::string result;
    const std::string prepared = prepareText(text);
    std::size_t pos = 0;
    while (nextWord(prepared, pos)) {
        applyExceptions();
        markStress();
        if (isSpelledWord())
            spellWord(result);
        else
            rewriteWord(result);
    }
    return result;
}

// A word is a letter followed by any run of letters and marks; any other
// character is a word of its own. Letters are taken in lower case.
//
// The buffer holds 256 characters. A longer run is spoken as consecutive
// words of at most 256 characters, so that nothing of the text is lost; the
// accent marks that would open a continuation belong to the vowel that closed
// the piece before, and are passed over rather than spoken as characters.
bool nextWord(std::string_view t, std::size_t& pos) {
    TradutState& s = tradut();
    if (pos == 0) s.wordWasCut = false;
    auto at = [&](std::size_t i) { return lower(static_cast<unsigned char>(t[i])); };
    if (s.wordWasCut) {
        while (pos < t.size() && isMark(at(pos))) ++pos;
        s.wordWasCut = false;
    }
    while (pos < t.size() && t[pos] == ' ') ++pos;
    if (pos >= t.size()) return false;

    s.wordLength = 0;
    s.vowels = 0;
    s.accentMark = false;
    int c = at(pos);
    auto append = [&](int ch) {
        s.word[static_cast<std::size_t>(s.wordLength++)] = static_cast<char>(ch);
        if (isVowel(ch)) ++s.vowels;
    };
    if (!isAsciiLetter(c)) {
        append(c);
        ++pos;
        return true;
    }
    for (;;) {
        append(c);
        if (++pos >= t.size()) break;
        c = at(pos);
        if (!isAsciiLetter(c) && !isMark(c)) break;
        if (s.wordLength == static_cast<int>(kWordCapacity)) {
            s.wordWasCut = true;
            break;
        }
        if (isMark(c) && c != '"') s.accentMark = true;
    }
    return true;
}

std::optional<std::string> exceptionValue(std::string_view key) {
    const auto& table = tradut().exceptions;
    auto it =
        std::lower_bound(table.begin(), table.end(), key,
                         [](const ExceptionEntry& e, std::string_view k) { return e.key < k; });
    if (it == table.end() || it->key != key) return std::nullopt;
    return it->value;
}

// A word is also found under its key when it carries extra final s or m
// letters (plurals, nasal endings): they are stripped one at a time from the
// end and put back after the respelling.
void applyExceptions() {
    TradutState& s = tradut();
    std::string w = currentWord();
    std::string suffix;
    while (!w.empty()) {
        if (auto value = exceptionValue(w)) {
            w = std::move(*value);
            break;
        }
        if (w.back() != 's' && w.back() != 'm') break;
        suffix.insert(suffix.begin(), w.back());
        w.pop_back();
    }
    w += suffix;
    // A respelling longer than the buffer keeps its first 256 characters.
    if (w.size() > kWordCapacity) w.resize(kWordCapacity);
    std::copy(w.begin(), w.end(), s.word.begin());
    s.wordLength = static_cast<int>(w.size());
}

bool isSpelledWord() {
    const TradutState& s = tradut();
    if (s.wordLength > 0 && s.word[0] == kPlaceholder) return true;
    return std::all_of(s.word.begin(), s.word.begin() + s.wordLength, [](char ch) {
        const int c = static_cast<unsigned char>(ch);
        return isConsonant(c) || isSeparator(c);
    });
}

void spellWord(std::string& result) {
    const TradutState& s = tradut();
    for (int i = 0; i < s.wordLength; ++i) {
        result += "[ /_";
        result += s.word[static_cast<std::size_t>(i)];
        result += ']';
    }
}

std::string currentWord() {
    const TradutState& s = tradut();
    return std::string(s.word.data(), static_cast<std::size_t>(s.wordLength));
}
int vowelCount() { return tradut().vowels; }
bool explicitAccent() { return tradut().accentMark; }

}  // namespace ovtradut
