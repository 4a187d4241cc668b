// The walk over a phoneme string (see phoneme_walk.h), and the synthesizer
// that plays what it meets into the wave image.
#include <string>

#include "diphone/ovinter_state.h"
#include "diphone/phoneme_walk.h"

namespace ovinter {

using detail::voice;

namespace {

// The walk in progress (one at a time, on the main thread).
struct WalkState {
    PhonemeSink* sink = nullptr;
    bool namePunctuation = false;
    int stressMode = 1;
};
WalkState walk;

constexpr std::size_t kLongestUnit = 40;
// Units joined with "/" end at the first "/" once they are longer than this.
constexpr std::size_t kJoinedUnitLimit = 8;
constexpr std::size_t kLongestPiece = 12;

// Pauses, in samples, for punctuation units when marks are not named.
int pauseAfter(char mark) {
    switch (mark) {
        case '.': return 8000;
        case ',': return 4000;
        case ';': return 6000;
        case ':': return 8000;
        default: return -1;
    }
}

bool isConsonant(char c) {
    return c != '\0' && std::string_view("bcdfgjklmnpqrstvxz").find(c) != std::string_view::npos;
}
bool isVowelLike(char c) {
    return c != '\0' && std::string_view("AEIOUaeiouwy").find(c) != std::string_view::npos;
}
bool isSemivowel(char c) { return c == 'w' || c == 'y'; }
bool isVowelMark(char c) { return c == '^' || c == '~'; }
bool isStressedVowel(char c) {
    return c != '\0' && std::string_view("AEIOU").find(c) != std::string_view::npos;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}
bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// Plays a name, else falls back: a diphone to its two halves, a name with a
// circumflex to its consonant and its vowel, a nasal vowel to its oral vowel
// and the nasal coda "$nn", a missing sound of one phoneme to a noise burst.
void playName(std::string_view fullName, int mode, double factor, bool fallback = false) {
    const std::string_view name = fullName.substr(0, detail::kLongestLookupName);
    if (walk.sink->name(name, mode, factor, fallback)) return;
    if (name.size() <= 2) {
        walk.sink->noise();
        return;
    }
    const char last = name.back();
    if (isVowelLike(last)) {
        playName(name.substr(0, name.size() - 1), mode, 0.9 * factor, true);
        playName(std::string("$") + last, mode, factor, true);
    } else if (name.size() > 6 && endsWith(name, "CIRC")) {
        playName(name.substr(0, name.size() - 5), mode, 0.9 * factor, true);
        playName("$" + std::string(name.substr(name.size() - 5)), mode, factor, true);
    } else if (endsWith(name, "TIL")) {
        const std::string vowel(name.substr(0, name.size() - 3));
        const char v = vowel.empty() ? '\0' : vowel.back();
        // i and u have no circumflex form: the plain vowel stands for it.
        if (v == 'i' || v == 'I' || v == 'u' || v == 'U')
            playName(vowel, mode, 0.9 * factor, true);
        else
            playName(vowel + "CIRC", 2, 0.9 * factor, true);
        playName("$nn", 1, 0.9, true);
    }
}

// One diphone piece: "_c" is a character sound; otherwise "$" + the
// phonemes, with each vowel mark closing a name of its own ("CIRC", "TIL").
void playPiece(std::string_view fullPiece, double factor) {
    auto& s = walk;
    const std::string_view piece = fullPiece.substr(0, kLongestPiece);
    if (startsWith(piece, "_")) {
        // A lone "_" names no character: nothing to play.
        if (piece.size() >= 2)
            playName("_" + std::to_string(static_cast<unsigned char>(piece[1])), s.stressMode,
                     factor);
        return;
    }
    std::string name = "$";
    bool stressed = false;
    for (const char c : piece) {
        if (isStressedVowel(c)) {
            stressed = true;
            s.stressMode = 2;
        }
        if (c == '^') {
            playName(name + "CIRC", s.stressMode, factor);
            name = "$";
        } else if (c == '~') {
            playName(name + "TIL", s.stressMode, factor);
            name = "$";
        } else if (name.size() < detail::kLongestLookupName) {
            name += c;
        }
    }
    if (name != "$") playName(name, s.stressMode, factor);
    if (stressed) s.stressMode = 0;
}

// Splits a unit into pieces: leading consonant clusters, a final "rr", a
// final consonant, a diphthong's glide and a plural "s" each become pieces of
// their own; what is left of the unit plays whole. The factors given here
// replace the caller's.
void decomposeUnit(std::string_view u, double factor) {
    const std::size_t n = u.size();
    if (n == 0) return;
    if (n == 1) {
        playPiece(u, factor);
        return;
    }
    if (n >= 3) {
        const bool keptCluster = startsWith(u, "dj") || startsWith(u, "nh") ||
                                 startsWith(u, "rr") || startsWith(u, "ks") || startsWith(u, "tch");
        if (isConsonant(u[0]) && isConsonant(u[1]) && !keptCluster) {
            playPiece(u.substr(0, 1), 1.0);
            decomposeUnit(u.substr(1), factor);
            return;
        }
        if (endsWith(u, "rr")) {
            decomposeUnit(u.substr(0, n - 2), factor);
            playPiece("rr", factor);
            return;
        }
        if (isConsonant(u[n - 1])) {
            decomposeUnit(u.substr(0, n - 1), factor);
            decomposeUnit(u.substr(n - 1), factor);
            return;
        }
    }
    if (isSemivowel(u[n - 1])) {
        const char before = u[n - 2];
        if (isVowelLike(before) && n >= 3) {
            decomposeUnit(u.substr(0, n - 1), 0.6);
            playPiece(u.substr(n - 2), factor);
            return;
        }
        // The vowel mark moves behind the glide: "a~w" plays "aw~".
        if (isVowelMark(before) && n == 3) {
            playPiece(std::string{u[0], u[2], u[1]}, factor);
            return;
        }
        if (isVowelMark(before) && n >= 4) {
            if (before == '~')
                decomposeUnit(std::string(u.substr(0, n - 2)) + "^", 0.6);
            else
                decomposeUnit(u.substr(0, n - 1), 0.6);
            playPiece(std::string{u[n - 3], u[n - 1], u[n - 2]}, factor);
            return;
        }
    }
    if (u != "_s" && u[n - 1] == 's') {
        decomposeUnit(u.substr(0, n - 1), 0.7);
        playPiece("s", factor);
        return;
    }
    playPiece(u, factor);
}

// Reads the next unit from `pos` on and leaves `pos` after it. A punctuation
// unit that is not to be named becomes its pause and an empty unit.
std::string readUnit(std::string_view phonemes, std::size_t& pos) {
    auto& s = walk;
    const std::size_t length = phonemes.size();
    if (pos < length && phonemes[pos] == '[') {
        s.stressMode = 1;
        ++pos;
    }
    std::string unit;
    bool cutAtSlash = false;
    while (pos < length && phonemes[pos] != ' ' && phonemes[pos] != ']') {
        const char c = phonemes[pos];
        if (c == '/') {
            ++pos;
            if (unit.size() > kJoinedUnitLimit) {
                cutAtSlash = true;
                break;
            }
        } else if (c == '_') {
            // "_" and its character go together or not at all, so that no
            // unit ends in a "_" without its character; a "_" that ends the
            // string has none and is dropped.
            if (pos + 1 < length && unit.size() + 2 <= kLongestUnit) {
                unit += '_';
                unit += phonemes[pos + 1];
            }
            pos += 2;
        } else {
            if (unit.size() < kLongestUnit) unit += c;
            ++pos;
        }
    }
    if (pos > length) pos = length;
    if (!cutAtSlash && pos < length) ++pos;  // the blank or "]"

    if (!s.namePunctuation && unit.size() == 2 && unit[0] == '_') {
        if (const int pause = pauseAfter(unit[1]); pause >= 0) {
            s.sink->pause(pause);
            unit.clear();
        }
    }
    return unit;
}

// Plays what the walk meets into the wave image.
class Synthesis final : public PhonemeSink {
public:
    bool name(std::string_view name, int mode, double factor, bool) override {
        return startsWith(name, "_") ? detail::appendCharacterSound(name)
                                     : detail::appendDiphone(name, mode, factor);
    }
    void noise() override { detail::appendNoise(); }
    void pause(int samples) override { detail::appendSilence(samples); }
    void wordGap() override { detail::appendSilence(voice().wordGap); }
};

}  // namespace

void walkPhonemes(std::string_view phonemes, bool namePunctuation, PhonemeSink& sink) {
    walk = WalkState{&sink, namePunctuation, 1};
    std::size_t pos = 0;
    while (pos < phonemes.size()) {
        const std::string unit = readUnit(phonemes, pos);
        decomposeUnit(unit, 1.0);
        // A gap after each word and each unit cut at a "/", but neither
        // after a unit ended by a blank nor after the last one.
        if (pos < phonemes.size() && pos >= 1 && phonemes[pos - 1] != ' ') sink.wordGap();
    }
    walk.sink = nullptr;
}

void speakPhonemes(std::string_view phonemes, bool namePunctuation) {
    auto& s = voice();
    if (s.image.empty()) return;  // no voice loaded
    s.imageLength = detail::kHeaderSize;
    Synthesis synthesis;
    walkPhonemes(phonemes, namePunctuation, synthesis);
    detail::flushImage();
}

}  // namespace ovinter
