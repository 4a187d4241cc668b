// The database names that speaking a phoneme string looks up, in order,
// without playing anything: the synthesizer's own walk (src/diphone/
// phoneme_walk.h) with a sink that lists what it meets, so that a voice
// author can see which units a text needs and which the voice lacks.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace voice {

struct NameLookup {
    std::string name;       // as looked up: "$ka", "$eCIRC", "_100"
    bool found = false;     // the database (or the letters folder) has it
    bool fallback = false;  // looked up because a longer name was missing
    int mode = 1;           // stress mode: 2 while a stressed vowel plays
    double factor = 1.0;    // duration factor
};

// What the voice holds: a diphone name ("$..."), or a character sound name
// ("_" and the decimal code).
using HasName = std::function<bool(std::string_view name)>;

struct Walk {
    std::vector<NameLookup> lookups;
    int noiseBursts = 0;  // missing names of one phoneme, played as noise
    int wordGaps = 0;     // silences of the word gap
    // For each word gap, how many look-ups came before it.
    std::vector<std::size_t> gapsAfter;
    long long pauseSamples = 0;  // punctuation pauses
};

Walk walkPhonemes(std::string_view phonemes, const HasName& has, bool namePunctuation = false);

}  // namespace voice
