#include "tools/voice/recording.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/voice/resampler.h"
#include "tools/voice/shaping.h"
#include "tools/voice/wave_file.h"

namespace voice {
namespace {

constexpr double kToneMs = 90.0;
constexpr double kToneHz = 600.0;
constexpr double kToneAttackMs = 15.0;
constexpr double kTonePeak = 0.25;  // about -12 dB: heard, but softer than a word

bool hasSound(const std::vector<std::uint8_t>& samples) {
    return std::any_of(samples.begin(), samples.end(), [](std::uint8_t s) { return s != 128; });
}

}  // namespace

Recording recordSpeech(const std::string& utf8Text, const EspeakSettings& settings) {
    Recording result;
    Synthesis spoken = synthesize(utf8Text, settings);
    if (!spoken.error.empty()) {
        result.error = spoken.error;
        return result;
    }
    Sound sound = resample(spoken.sound, kRecordingRate);
    trimSilence(sound);
    evenLoudness(sound);
    result.samples = toUnsigned8(sound.samples);
    if (!hasSound(result.samples))
        result.error = "o espeak-ng não deu som para \"" + utf8Text + "\"";
    return result;
}

std::vector<std::uint8_t> placeholderTone() {
    const auto count = static_cast<std::size_t>(std::lround(kToneMs * kRecordingRate / 1000.0));
    const double attack = kToneAttackMs * kRecordingRate / 1000.0;
    std::vector<float> tone(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i);
        // Raised-cosine rise, then a decay that reaches zero at the last sample.
        const double envelope =
            t < attack ? 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack)
                       : 0.5 + 0.5 * std::cos(std::numbers::pi * (t - attack) /
                                              (static_cast<double>(count - 1) - attack));
        tone[i] = static_cast<float>(
            kTonePeak * envelope * std::sin(2.0 * std::numbers::pi * kToneHz * t / kRecordingRate));
    }
    return toUnsigned8(tone);
}

}  // namespace voice
