// The rewrite of a word by the rules: at each position the first rule of the
// current letter's list whose letters and both contexts match gives the unit,
// and its letters are consumed.
#include <algorithm>

#include "diphone/ovtradut.h"
#include "diphone/ovtradut_state.h"

namespace ovtradut {
namespace detail {
namespace {

int ruleChar(const FixedText<5>& text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

bool lettersMatch(const RewriteRule& r, int p) {
    for (std::size_t k = 0; k < r.letters.size(); ++k) {
        const int c = wordAt(p + static_cast<int>(k));
        if (c < 0 || upper(c) != ruleChar(r.letters, k)) return false;
    }
    return true;
}

// A vowel, optionally followed by a mark, that ends at position s: the
// position before it, or -1 when there is none.
int beforeVowel(int s, bool (*vowelClass)(int)) {
    const int c = wordAt(s);
    if (vowelClass(c)) return s - 1;
    if (isMark(c) && vowelClass(wordAt(s - 1))) return s - 2;
    return -1;
}

// Read from the last character of `left` to the first, s walking leftwards
// from the letter before the group (0: before the word).
bool leftContextMatches(const RewriteRule& r, int p) {
    int s = p - 1;
    for (std::size_t k = r.left.size(); k-- > 0;) {
        const int x = ruleChar(r.left, k);
        const int c = wordAt(s);
        switch (x) {
            case '#':
                if (!isVowel(c) && !isMark(c)) return false;
                while (isVowel(wordAt(s)) || isMark(wordAt(s))) --s;
                break;
            case '%':
                if (s != 0) return false;
                break;
            case ']':
                s = beforeVowel(s, isBackVowel);
                if (s < 0) return false;
                break;
            case '_':
                if (s == 0) break;
                s = beforeVowel(s, isVowel);
                if (s < 0) return false;
                break;
            case '|':
                if (c != 'n' && c != 'r' && c != 's') return false;
                --s;
                break;
            default:
                if (c < 0 || upper(c) != x) return false;
                --s;
        }
    }
    return true;
}

// Read from the first character of `right` to the last, s walking rightwards
// from the letter after the group (wordLength + 1: after the word).
bool rightContextMatches(const RewriteRule& r, int p) {
    const int end = tradut().wordLength + 1;
    int s = p + static_cast<int>(r.letters.size());
    for (std::size_t k = 0; k < r.right.size(); ++k) {
        const int x = ruleChar(r.right, k);
        const int c = wordAt(s);
        switch (x) {
            case '#':
                if (!isVowel(c) && !isMark(c)) return false;
                while (isVowel(wordAt(s)) || isMark(wordAt(s))) ++s;
                break;
            case '%':
                if (s != end) return false;
                break;
            case '&':
                if (c != 'l' && c != 'm' && c != 'n' && c != 'r' && c != 'z') return false;
                ++s;
                break;
            case '*':  // looked at, not consumed
                if (!isConsonant(c) || c == 'r' || c == 'l') return false;
                break;
            case '+':
                if (!isFrontVowel(c)) return false;
                s += isMark(wordAt(s + 1)) ? 2 : 1;
                break;
            case '[':  // looked at, not consumed
                if (s != end && (!isConsonant(c) || c == 'h')) return false;
                break;
            case '\\':
                if (c == 's') ++s;
                break;
            default:
                if (c < 0 || upper(c) != x) return false;
                ++s;
        }
    }
    return true;
}

}  // namespace

const RewriteRule* chooseRule(int p) {
    const int c = upper(wordAt(p));
    if (c < kFirstListed || c > kLastListed) return nullptr;
    for (const RewriteRule& r : tradut().ruleLists[static_cast<std::size_t>(c - kFirstListed)]) {
        if (lettersMatch(r, p) && leftContextMatches(r, p) && rightContextMatches(r, p)) return &r;
    }
    return nullptr;
}

}  // namespace detail

using namespace detail;

void rewriteWord(std::string& result) {
    const TradutState& s = tradut();
    result += '[';
    int p = 1;
    while (p <= s.wordLength) {
        const int original = wordAt(p);
        const RewriteRule* rule = chooseRule(p);
        std::string unit;
        if (rule) {
            unit = rule->output.view();
        } else {
            unit = " /_";
            unit += static_cast<char>(upper(original));
        }
        // The stress that markStress put on the vowel passes to the first
        // vowel of its unit, which the synthesizer then keeps untrimmed.
        if (original >= 'A' && original <= 'Z' && isVowel(original)) {
            auto v = std::find_if(unit.begin(), unit.end(),
                                  [](char ch) { return isVowel(static_cast<unsigned char>(ch)); });
            if (v != unit.end()) *v = static_cast<char>(upper(*v));
        }
        result += unit;
        // Rules with empty letters are never loaded, so every step moves on.
        p += rule ? static_cast<int>(rule->letters.size()) : 1;
        if (p <= s.wordLength) result += '/';
    }
    result += ']';
}

}  // namespace ovtradut
