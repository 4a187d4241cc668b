// The units of the diphone voice: which names the database holds and how
// each is spoken by espeak-ng and cut out of its carrier. docs/voice.md
// ("Diphone units") explains the inventory and the notation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/voice/sound.h"

namespace voice {

struct UnitRecipe {
    // Database name, upper case, "$" first, at most 8 characters.
    std::string name;
    // espeak-ng phoneme input for the whole carrier, "[[...]]".
    std::string carrier;
    // The unit starts at this phoneme of the carrier (counted among the
    // phonemes espeak-ng reports, pauses left out).
    std::size_t firstPhoneme = 0;
    // The unit ends where the last phoneme of the carrier with this name
    // starts; empty: at the end of the speech.
    std::string endBefore;
};

// Every unit of the voice, sorted by name as the index is.
const std::vector<UnitRecipe>& diphoneUnits();

// The database name of a piece of phoneme text, as the synthesizer forms it:
// "$" + the characters upper-cased, "^" spelled CIRC and "~" spelled TIL.
std::string unitName(const std::string& phonemes);

// The index order: byte by byte over the shorter name, then shorter first.
bool indexOrder(const std::string& a, const std::string& b);

// A unit cut out of its carrier: `begin` and `end` (exclusive) are samples of
// the carrier at the voice's rate.
struct Cut {
    std::size_t begin = 0, end = 0;
};

// The start and the end of the unit in a carrier resampled to 11025 Hz:
// taken at espeak-ng's phoneme marks (given at `markRate`), then moved to the
// nearest start of a pitch period, at an upward zero crossing, so that units
// join without a click. A unit that ends at the end of the speech ends where
// the sound dies away.
Cut cutUnit(const UnitRecipe& unit, const std::vector<float>& carrier,
            const std::vector<std::size_t>& markSamples, const std::vector<std::string>& markNames,
            int markRate);

// The sample nearest to `at`, within half a pitch period, that starts a
// period: an upward zero crossing followed by the period's strongest pulse.
// In silence or noise `at` is kept.
std::size_t periodStartNear(const std::vector<float>& s, std::size_t at);

// The pitch period of the voice's units, in samples at 11025 Hz: espeak-ng
// speaks them on one flat pitch.
std::size_t measuredPeriod(const std::vector<float>& s, std::size_t around);

}  // namespace voice
