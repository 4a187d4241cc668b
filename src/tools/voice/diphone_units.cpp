#include "tools/voice/diphone_units.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace voice {
namespace {

// A phoneme of the voice's notation and the same sound in espeak-ng's.
struct Sounding {
    const char* phonemes;
    const char* espeak;
};

// Onsets of the syllable units: every consonant and cluster the rules put
// before a vowel.
constexpr Sounding kOnsets[] = {
    {"b", "b"}, {"d", "d"},    {"f", "f"},   {"g", "g"},   {"j", "Z"},   {"k", "k"},
    {"l", "l"}, {"lh", "l^"},  {"m", "m"},   {"n", "n"},   {"nh", "n^"}, {"p", "p"},
    {"r", "*"}, {"rr", "x"},   {"s", "s"},   {"t", "t"},   {"v", "v"},   {"x", "S"},
    {"z", "z"}, {"tch", "tS"}, {"dj", "dZ"}, {"ks", "ks"}, {"kw", "kw"}, {"gw", "gw"},
};

// The vowels: plain letters are the open (or only) quality, "^" the closed
// one, "~" the nasal one. u has no closed quality of its own, but the
// synthesizer asks for it: before a nasal glide it plays the vowel with "^"
// (muito, "mU~y": "$MUCIRC", then "$UYTIL").
constexpr Sounding kVowels[] = {
    {"a", "a"}, {"a^", "&"}, {"e", "E"},   {"e^", "e"},  {"i", "i"},   {"o", "O"},   {"o^", "o"},
    {"u", "u"}, {"u^", "u"}, {"a~", "&~"}, {"e~", "e~"}, {"i~", "i~"}, {"o~", "o~"}, {"u~", "u~"},
};

// Falling diphthongs, written as the synthesizer reads them: a vowel mark
// moves behind the glide ("e^y" is looked up as "ey^").
constexpr Sounding kDiphthongs[] = {
    {"ay", "aI"}, {"aw", "aU"},   {"ey", "EI"},   {"ew", "EU"},   {"ey^", "eI"},  {"ew^", "eU"},
    {"iw", "iU"}, {"oy", "OI"},   {"oy^", "oI"},  {"ow", "Ow"},   {"ow^", "ow"},  {"uy", "uI"},
    {"uw", "uw"}, {"aw~", "&U~"}, {"ay~", "&~y"}, {"ey~", "e~j"}, {"oy~", "o~j"}, {"uy~", "u~j"},
};

// Consonants on their own: the first of a cluster (before a tap, the most
// common second consonant) ...
constexpr Sounding kClusterFirst[] = {
    {"b", "b"}, {"d", "d"}, {"f", "f"}, {"g", "g"}, {"k", "k"}, {"p", "p"}, {"t", "t"}, {"v", "v"},
};

// ... and the codas, after a stressed vowel and before a stop of their voicing.
constexpr Sounding kVoicelessCodas[] = {
    {"s", "s"}, {"x", "S"}, {"rr", "x"}, {"l", "l"}, {"m", "m"}, {"n", "n"},
};
constexpr Sounding kVoicedCodas[] = {{"z", "z"}, {"j", "Z"}};

std::vector<UnitRecipe> makeUnits() {
    std::vector<UnitRecipe> units;
    const auto add = [&units](const std::string& phonemes, std::string carrier, std::size_t first,
                              std::string endBefore) {
        const std::string name = unitName(phonemes);
        if (name.size() > 8) return;  // the index holds 8 characters at most
        units.push_back({name, "[[" + carrier + "]]", first, std::move(endBefore)});
    };
    for (const Sounding& v : kVowels) {
        add(v.phonemes, std::string("'") + v.espeak + "ta", 0, "t");
        for (const Sounding& c : kOnsets)
            add(std::string(c.phonemes) + v.phonemes,
                std::string("a'") + c.espeak + v.espeak + "ta", 1, "t");
    }
    for (const Sounding& d : kDiphthongs)
        add(d.phonemes, std::string("'") + d.espeak + "ta", 0, "t");
    for (const Sounding& c : kClusterFirst)
        add(c.phonemes, std::string("a'") + c.espeak + "*a", 1, "*");
    for (const Sounding& c : kVoicelessCodas)
        add(c.phonemes, std::string("a'a") + c.espeak + "ta", 2, "t");
    for (const Sounding& c : kVoicedCodas)
        add(c.phonemes, std::string("a'a") + c.espeak + "da", 2, "d");
    // The tap closing a syllable: espeak-ng draws it out before a consonant
    // (80 ms, with a vowel in it); between vowels it is the short flick that
    // Brazilians say in "parte" and "jogar".
    add("r", "a'a*a", 2, "a");
    add("w", "a'aw", 2, "");
    add("y", "a'aj", 2, "");
    // The nasal murmur that follows a closed vowel standing in for a nasal one.
    add("nn", "a'&~nta", 2, "t");
    std::sort(units.begin(), units.end(),
              [](const UnitRecipe& a, const UnitRecipe& b) { return indexOrder(a.name, b.name); });
    units.erase(
        std::unique(units.begin(), units.end(),
                    [](const UnitRecipe& a, const UnitRecipe& b) { return a.name == b.name; }),
        units.end());
    return units;
}

// Samples at 11025 Hz in a time.
constexpr double kRate = 11025.0;
constexpr std::size_t kShortestPeriod = 50;  // 220 Hz
constexpr std::size_t kLongestPeriod = 200;  // 55 Hz

}  // namespace

const std::vector<UnitRecipe>& diphoneUnits() {
    static const std::vector<UnitRecipe> units = makeUnits();
    return units;
}

std::string unitName(const std::string& phonemes) {
    std::string name = "$";
    for (const char c : phonemes) {
        if (c == '^')
            name += "CIRC";
        else if (c == '~')
            name += "TIL";
        else
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

bool indexOrder(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

std::size_t measuredPeriod(const std::vector<float>& s, std::size_t around) {
    const std::size_t half = 2 * kLongestPeriod;
    if (s.size() < 2 * half + kLongestPeriod) return 0;
    const std::size_t from = std::clamp(around, half, s.size() - half - kLongestPeriod) - half;
    const std::size_t length = 2 * half;
    double energy = 0.0;
    for (std::size_t i = from; i < from + length; ++i) energy += static_cast<double>(s[i]) * s[i];
    if (energy < 1e-4 * static_cast<double>(length)) return 0;  // silence
    std::size_t best = 0;
    double bestScore = 0.5;  // below this the sound is not periodic: noise
    for (std::size_t lag = kShortestPeriod; lag <= kLongestPeriod; ++lag) {
        double sum = 0.0, e2 = 0.0;
        for (std::size_t i = from; i < from + length; ++i) {
            sum += static_cast<double>(s[i]) * s[i + lag];
            e2 += static_cast<double>(s[i + lag]) * s[i + lag];
        }
        const double score = sum / std::sqrt(energy * e2 + 1e-12);
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

std::size_t periodStartNear(const std::vector<float>& s, std::size_t at) {
    const std::size_t period = measuredPeriod(s, at);
    if (period == 0 || s.size() < 2) return std::min(at, s.size());
    const std::size_t reach = period / 2;
    const std::size_t from = std::max<std::size_t>(at > reach ? at - reach : 0, 1);
    const std::size_t to = std::min(s.size() - 1, at + reach);
    std::size_t best = at;
    double bestPulse = -1.0;
    for (std::size_t i = from; i <= to; ++i) {
        if (!(s[i - 1] < 0.0f && s[i] >= 0.0f)) continue;
        float pulse = 0.0f;
        for (std::size_t k = i; k < std::min(s.size(), i + period / 4); ++k)
            pulse = std::max(pulse, std::fabs(s[k]));
        const std::size_t distance = i > at ? i - at : at - i;
        // A stronger pulse wins; among equal ones the nearer crossing.
        const double score = pulse - 1e-6 * static_cast<double>(distance);
        if (score > bestPulse) {
            bestPulse = score;
            best = i;
        }
    }
    return best;
}

Cut cutUnit(const UnitRecipe& unit, const std::vector<float>& carrier,
            const std::vector<std::size_t>& markSamples, const std::vector<std::string>& markNames,
            int markRate) {
    const auto toVoiceRate = [markRate](std::size_t sample) {
        return static_cast<std::size_t>(
            std::llround(static_cast<double>(sample) * kRate / markRate));
    };
    std::vector<std::size_t> phonemes;  // indexes of the marks that are not pauses
    for (std::size_t i = 0; i < markNames.size(); ++i)
        if (!markNames[i].empty() && markNames[i][0] != '_') phonemes.push_back(i);
    Cut cut;
    if (unit.firstPhoneme >= phonemes.size()) return cut;
    const std::size_t first = phonemes[unit.firstPhoneme];
    cut.begin = std::min(toVoiceRate(markSamples[first]), carrier.size());
    cut.end = carrier.size();
    if (!unit.endBefore.empty()) {
        for (std::size_t k = phonemes.size(); k-- > unit.firstPhoneme + 1;) {
            if (markNames[phonemes[k]] != unit.endBefore) continue;
            cut.end = std::min(toVoiceRate(markSamples[phonemes[k]]), carrier.size());
            break;
        }
        cut.end = periodStartNear(carrier, cut.end);
    } else {
        // The sound dies away: end 10 ms after the last sample within 40 dB
        // of the unit's peak.
        float peak = 0.0f;
        for (std::size_t i = cut.begin; i < carrier.size(); ++i)
            peak = std::max(peak, std::fabs(carrier[i]));
        std::size_t last = cut.begin;
        for (std::size_t i = cut.begin; i < carrier.size(); ++i)
            if (std::fabs(carrier[i]) >= peak * 0.01f) last = i;
        cut.end = std::min(carrier.size(), last + static_cast<std::size_t>(kRate / 100));
    }
    cut.begin = periodStartNear(carrier, cut.begin);
    if (cut.end < cut.begin) cut.end = cut.begin;
    return cut;
}

}  // namespace voice
