// Text preparation and stress: what the rules read is plain ASCII letters
// with accents written as marks after their vowel, and a stressed vowel in
// upper case.
#include <array>

#include "diphone/ovtradut.h"
#include "diphone/ovtradut_state.h"

namespace ovtradut {
namespace {

using namespace detail;

// Replacements of codes 128 to 255, sixteen a row. "\xE7" (c cedilla) is
// spoken as "ss"; an empty replacement makes the character unspeakable.
// clang-format off
constexpr std::array<std::string_view, 128> kHighChars = {
    // 80-8F
    "\xE7", "u\"", "e'", "a^", "a~", "a`", "a'", "\xE7",
    "e^", "e\"", "e`", "i\"", "i^", "i`", "a~", "a'",
    // 90-9F
    "e'", "ae", "-", "o^", "o~", "o`", "u^", "u`",
    "y-", "o~", "u\"", "", "", "", "", "",
    // A0-AF
    "a'", "i'", "o'", "u'", "nh", "nh", "", "\xA7",
    "?", "", "", "\xAA", "", "!", "\"", "\"",
    // B0-BF
    "", "", "", "", "", "", "", "",
    "", "", "", "\xBA", "", "", "", "?",
    // C0-CF
    "a`", "a'", "a^", "a~", "a~", "a", "ae", "\xE7",
    "e`", "e'", "e^", "e\"", "i`", "i'", "i^", "i\"",
    // D0-DF
    "", "nh", "o`", "o'", "o^", "o~", "o`", "x",
    "0", "u`", "u'", "u^", "u", "", "", "",
    // E0-EF
    "a`", "a'", "a^", "a~", "a~", "a", "ae", "\xE7",
    "e`", "e'", "e^", "e\"", "i`", "i'", "i^", "i\"",
    // F0-FF
    "", "nh", "o`", "o'", "o^", "o~", "o`", "x",
    "0", "u`", "u'", "u^", "u", "", "", "",
};
// clang-format on

}  // namespace

std::string_view highCharMap(std::uint8_t code) {
    return code < 128 ? std::string_view() : kHighChars[code - 128u];
}

std::string prepareText(std::string_view text) {
    std::string t(text);
    std::string result;
    result.reserve(t.size() + t.size() / 2);
    const std::size_t n = t.size();
    auto letterAt = [&](std::size_t i) { return isAsciiLetter(static_cast<unsigned char>(t[i])); };
    for (std::size_t i = 0; i < n; ++i) {
        const int c = static_cast<unsigned char>(t[i]);
        // w and y beside a letter are the vowels of the loan words (Wagner,
        // Yara). The change is made in place, so the next character sees a
        // letter either way.
        if (lower(c) == 'w' || lower(c) == 'y') {
            if ((i > 0 && letterAt(i - 1)) || (i + 1 < n && letterAt(i + 1)))
                t[i] = lower(c) == 'w' ? 'u' : 'i';
        }
        // The elision of "de" (d'água) is read as one word.
        if (c == '\'' && i > 0 && lower(static_cast<unsigned char>(t[i - 1])) == 'd') continue;

        const int now = static_cast<unsigned char>(t[i]);
        std::string_view r;
        if (now >= 32 && now <= 127)
            r = std::string_view(&t[i], 1);
        else if (now >= 128)
            r = highCharMap(static_cast<std::uint8_t>(now));
        if (r == "\xE7") r = "ss";

        if (r.empty()) {
            result += ' ';
            result += kPlaceholder;
            result += ' ';
        } else {
            result += r;
        }
    }
    return result;
}

namespace {

enum class Scan { End, FinalConsonant, FinalM, FinalS, FinalIU, Paroxytone, Hiatus };
enum class Action { None, Here, Next };

bool oneOf(int c, std::string_view set) {
    return c >= 0 && set.find(static_cast<char>(c)) != std::string_view::npos;
}

// One step of the scan at position k: the next state, or an action.
Action step(Scan& state, int k) {
    const int c = wordAt(k);
    switch (state) {
        case Scan::End:
            if (oneOf(c, "aeo"))
                state = Scan::Paroxytone;
            else if (oneOf(c, "iu"))
                state = Scan::FinalIU;
            else if (oneOf(c, "lnrxz"))
                state = Scan::FinalConsonant;
            else if (c == 'm')
                state = Scan::FinalM;
            else if (c == 's')
                state = Scan::FinalS;
            return Action::None;
        case Scan::FinalConsonant: return isVowel(c) ? Action::Here : Action::None;
        case Scan::FinalM:
            if (oneOf(c, "ae"))
                state = Scan::Paroxytone;
            else if (oneOf(c, "iu"))
                state = Scan::FinalIU;
            else if (c == 'o')
                return Action::Here;
            return Action::None;
        case Scan::FinalS:
            if (oneOf(c, "aeo"))
                state = Scan::Paroxytone;
            else if (oneOf(c, "iu"))
                state = Scan::FinalIU;
            return Action::None;
        case Scan::FinalIU:
            // A final i or u after a consonant, or after the u of gu/qu, is
            // itself stressed (aqui, jardim); after another vowel the one
            // before it is (pai, meu).
            if (isConsonant(c)) return Action::Next;
            if (wordAt(k - 1) == 'u' && oneOf(wordAt(k - 2), "gq")) return Action::Next;
            return Action::Here;
        case Scan::Paroxytone:
            if (oneOf(c, "aeo")) return Action::Here;
            if (oneOf(c, "iu")) state = Scan::Hiatus;
            return Action::None;
        case Scan::Hiatus: {
            if (isConsonant(c)) return Action::Next;
            if (c == 'u' && oneOf(wordAt(k - 1), "gq")) return Action::Next;
            // The i or u stays stressed when a closing consonant follows it
            // in its own syllable (rainha, sairra), unlike saia.
            const int d = wordAt(k + 2);
            const int e = wordAt(k + 3);
            const bool closed =
                (d == 'n' && e == 'h') || (d == 'r' && e == 'r') || (isConsonant(e) && e != 'h');
            return oneOf(d, "lmnrz") && closed ? Action::Next : Action::Here;
        }
    }
    return Action::None;
}

}  // namespace

// A written accent carries the stress itself. Otherwise the word is read from
// its end: the ending tells whether the last or the second-last syllable is
// stressed, and that vowel is upper-cased. A decision that falls on the first
// letter marks nothing (dia, ela).
void markStress() {
    TradutState& s = tradut();
    if (s.accentMark) return;
    const bool finalL = s.wordLength > 0 && wordAt(s.wordLength) == 'l';
    if (s.vowels < 2 && !(s.vowels == 1 && finalL)) return;
    Scan state = Scan::End;
    for (int k = s.wordLength; k >= 1; --k) {
        const Action action = step(state, k);
        if (action == Action::None) continue;
        const int at = action == Action::Here ? k : k + 1;
        if (k >= 2 && wordAt(at) >= 0) {
            char& ch = s.word[static_cast<std::size_t>(at - 1)];
            ch = static_cast<char>(upper(static_cast<unsigned char>(ch)));
        }
        return;
    }
}

}  // namespace ovtradut
