// Walking a phoneme string as the synthesizer speaks it: cutting it into
// units, splitting each unit into diphone pieces, turning each piece into
// database names, and the fallbacks for names the voice does not hold. What
// the walk meets goes to a sink, in order: the synthesizer plays it, and the
// voice author's `oralis voice check` lists it, so both see the same names.
//
// The phoneme string comes from the translator:
//   "["        starts a word (stress not yet heard)
//   " " "]"    end the unit
//   "/"        joins rule outputs into one unit while it holds 8 characters or
//              fewer; a longer unit ends there
//   "_c"       the recorded sound of the character c
//   A E I O U  a stressed vowel; "^" and "~" follow a vowel (circumflex, tilde)
#pragma once

#include <string_view>

namespace ovinter {

class PhonemeSink {
public:
    virtual ~PhonemeSink() = default;
    // A name to play: "$" and phonemes, or "_" and a character code, at a
    // stress mode (2 while a stressed vowel plays) and a duration factor;
    // `fallback` when a longer name was missing. True when the voice holds it.
    virtual bool name(std::string_view name, int mode, double factor, bool fallback) = 0;
    // A name of one phoneme that the voice lacks: a short burst of noise.
    virtual void noise() = 0;
    // The pause of a punctuation unit that is not named, in samples.
    virtual void pause(int samples) = 0;
    // The gap after a word or after a unit cut at a "/".
    virtual void wordGap() = 0;
};

void walkPhonemes(std::string_view phonemes, bool namePunctuation, PhonemeSink& sink);

}  // namespace ovinter
