// The finishing of a recording: cut the silence espeak-ng leaves around a
// word, soften the cut ends, and bring every recording to the same loudness,
// so that a player hears each sound at once and none louder than another.
#pragma once

#include "tools/voice/sound.h"

namespace voice {

struct TrimSettings {
    // A sample counts as sound when it reaches this level below the peak.
    double thresholdDb = -40.0;
    // Kept before the first and after the last sample that counts as sound,
    // so that soft onsets and the tails of fricatives survive.
    double marginMs = 10.0;
    // Raised-cosine fades at both ends; they lie within the margins.
    double fadeMs = 4.0;
};

// Cuts leading and trailing silence and fades both ends to zero. A sound
// with no sample above zero becomes empty.
void trimSilence(Sound& sound, const TrimSettings& settings = {});

struct LoudnessSettings {
    // Level of the voiced part, in dB of full scale (RMS of a full-scale sine
    // is -3 dB).
    double targetRmsDb = -16.0;
    // No sample ends above this level.
    double ceilingDb = -1.0;
    // The voiced part: 10 ms frames whose energy lies within `gateDb` of the
    // loudest frame. Pauses and soft tails do not pull the level down.
    double frameMs = 10.0;
    double gateDb = -30.0;
    // How far the limiter looks around a peak; its gain changes over about
    // twice this time, too slowly to be heard as distortion.
    double limiterReachMs = 5.0;
};

// Scales the sound so that its voiced part has the target level, then limits
// the peaks that would pass the ceiling. A silent sound stays as it is.
void evenLoudness(Sound& sound, const LoudnessSettings& settings = {});

// The RMS level of the voiced part, as `evenLoudness` measures it, in dB of
// full scale; -inf for silence.
double voicedLevelDb(const Sound& sound, const LoudnessSettings& settings = {});

}  // namespace voice
