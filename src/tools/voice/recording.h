// One recording from text to the samples of its file: espeak-ng speaks, the
// sound is brought to 11025 Hz, trimmed, evened out and made 8-bit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/voice/espeak_voice.h"

namespace voice {

struct Recording {
    std::vector<std::uint8_t> samples;  // 8-bit unsigned, 11025 Hz
    std::string error;                  // empty on success
};

Recording recordSpeech(const std::string& utf8Text, const EspeakSettings& settings = {});

// The sound of a character with no spoken form: a short, soft tone (90 ms at
// 600 Hz, gentle onset and decay, well below the level of speech), so that
// the player notices something was there without taking it for a word or for
// the click that marks a repeated symbol.
std::vector<std::uint8_t> placeholderTone();

}  // namespace voice
