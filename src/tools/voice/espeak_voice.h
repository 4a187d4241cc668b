// Speech from libespeak-ng. Every text is spoken by a fresh copy of the
// synthesizer in a child process: espeak-ng carries state from one text to
// the next (its waveform phase), so a sound made in the same process would
// depend on what was said before it. A fresh synthesizer makes each recording
// a function of its text and the settings alone.
#pragma once

#include <string>

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

}  // namespace voice
