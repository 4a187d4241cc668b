// Speech from libespeak-ng. Every text is spoken by a fresh copy of the
// synthesizer in a child process: espeak-ng carries state from one text to
// the next (its waveform phase), so a sound made in the same process would
// depend on what was said before it. A fresh synthesizer makes each recording
// a function of its text and the settings alone.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/voice/sound.h"

namespace voice {

// Fixed so that every build sounds the same; docs/voice.md describes them.
struct EspeakSettings {
    std::string voice = "pt-br";
    int wordsPerMinute = 150;
    int pitch = 50;  // espeak-ng's 0 … 100 scale
    int range = 50;  // pitch range, same scale
    int volume = 100;
};

struct Synthesis {
    Sound sound;        // at espeak-ng's own rate (22050 Hz)
    std::string error;  // empty on success
};

// Speaks UTF-8 text.
Synthesis synthesize(const std::string& utf8Text, const EspeakSettings& settings = {});

// Where espeak-ng starts a phoneme: its name in espeak-ng's notation and
// the first sample of it, at espeak-ng's own rate.
struct PhonemeMark {
    std::string name;
    std::size_t sample = 0;
};

struct MarkedSynthesis {
    Sound sound;
    std::vector<PhonemeMark> marks;
    std::string error;  // empty on success
};

// Speaks each text (phoneme input such as "[[a'kata]]" is honoured) with a
// fresh synthesizer in a child process of its own, up to `jobs` at a time,
// and reports the phonemes spoken. Results come in the order of the texts
// and do not depend on `jobs`.
std::vector<MarkedSynthesis> synthesizeMarked(const std::vector<std::string>& texts,
                                              const EspeakSettings& settings, int jobs);

}  // namespace voice
