#include "tools/voice/unit_walk.h"

namespace voice {
namespace {

constexpr std::size_t kLongestUnit = 40;
constexpr std::size_t kJoinedUnitLimit = 8;
constexpr std::size_t kLongestPiece = 12;

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

long long pauseAfter(char mark) {
    switch (mark) {
        case '.': return 8000;
        case ',': return 4000;
        case ';': return 6000;
        case ':': return 8000;
        default: return -1;
    }
}

class Walker {
public:
    Walker(const HasName& has, bool namePunctuation)
        : has_(has), namePunctuation_(namePunctuation) {}

    Walk run(std::string_view phonemes) {
        std::size_t pos = 0;
        stressMode_ = 1;
        while (pos < phonemes.size()) {
            const std::string unit = readUnit(phonemes, pos);
            decomposeUnit(unit, 1.0);
            if (pos < phonemes.size() && pos >= 1 && phonemes[pos - 1] != ' ') {
                ++walk_.wordGaps;
                walk_.gapsAfter.push_back(walk_.lookups.size());
            }
        }
        return walk_;
    }

private:
    void playName(std::string_view fullName, int mode, double factor, bool fallback) {
        const std::string name(fullName.substr(0, kLongestPiece));
        const bool found = has_(name);
        walk_.lookups.push_back({name, found, fallback, mode, factor});
        if (found) return;
        if (name.size() <= 2) {
            ++walk_.noiseBursts;
            return;
        }
        const char last = name.back();
        if (isVowelLike(last)) {
            playName(name.substr(0, name.size() - 1), mode, 0.9 * factor, true);
            playName(std::string("$") + last, mode, factor, true);
        } else if (name.size() > 6 && name.ends_with("CIRC")) {
            playName(name.substr(0, name.size() - 5), mode, 0.9 * factor, true);
            playName("$" + name.substr(name.size() - 5), mode, factor, true);
        } else if (name.ends_with("TIL")) {
            const std::string vowel = name.substr(0, name.size() - 3);
            const char v = vowel.empty() ? '\0' : vowel.back();
            if (v == 'i' || v == 'I' || v == 'u' || v == 'U')
                playName(vowel, mode, 0.9 * factor, true);
            else
                playName(vowel + "CIRC", 2, 0.9 * factor, true);
            playName("$nn", 1, 0.9, true);
        }
    }

    void playPiece(std::string_view fullPiece, double factor) {
        const std::string_view piece = fullPiece.substr(0, kLongestPiece);
        if (piece.starts_with("_")) {
            if (piece.size() >= 2)
                playName("_" + std::to_string(static_cast<unsigned char>(piece[1])), stressMode_,
                         factor, false);
            return;
        }
        std::string name = "$";
        bool stressed = false;
        for (const char c : piece) {
            if (isStressedVowel(c)) {
                stressed = true;
                stressMode_ = 2;
            }
            if (c == '^') {
                playName(name + "CIRC", stressMode_, factor, false);
                name = "$";
            } else if (c == '~') {
                playName(name + "TIL", stressMode_, factor, false);
                name = "$";
            } else if (name.size() < kLongestPiece) {
                name += c;
            }
        }
        if (name != "$") playName(name, stressMode_, factor, false);
        if (stressed) stressMode_ = 0;
    }

    void decomposeUnit(std::string_view u, double factor) {
        const std::size_t n = u.size();
        if (n == 0) return;
        if (n == 1) {
            playPiece(u, factor);
            return;
        }
        if (n >= 3) {
            const bool kept = u.starts_with("dj") || u.starts_with("nh") || u.starts_with("rr") ||
                              u.starts_with("ks") || u.starts_with("tch");
            if (isConsonant(u[0]) && isConsonant(u[1]) && !kept) {
                playPiece(u.substr(0, 1), 1.0);
                decomposeUnit(u.substr(1), factor);
                return;
            }
            if (u.ends_with("rr")) {
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

    std::string readUnit(std::string_view phonemes, std::size_t& pos) {
        const std::size_t length = phonemes.size();
        if (pos < length && phonemes[pos] == '[') {
            stressMode_ = 1;
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
        if (!cutAtSlash && pos < length) ++pos;
        if (!namePunctuation_ && unit.size() == 2 && unit[0] == '_') {
            if (const long long pause = pauseAfter(unit[1]); pause >= 0) {
                walk_.pauseSamples += pause;
                unit.clear();
            }
        }
        return unit;
    }

    const HasName& has_;
    bool namePunctuation_;
    int stressMode_ = 1;
    Walk walk_;
};

}  // namespace

Walk walkPhonemes(std::string_view phonemes, const HasName& has, bool namePunctuation) {
    return Walker(has, namePunctuation).run(phonemes);
}

}  // namespace voice
