#include "tools/voice/shaping.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace voice {
namespace {

double fromDb(double db) { return std::pow(10.0, db / 20.0); }

std::size_t samplesOf(double ms, int rate) {
    return static_cast<std::size_t>(std::lround(ms * rate / 1000.0));
}

float peakOf(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float s : samples) peak = std::max(peak, std::fabs(s));
    return peak;
}

// Gain of a raised-cosine fade at step i of `length` steps, rising from 0.
float fadeGain(std::size_t i, std::size_t length) {
    const double x = static_cast<double>(i) / static_cast<double>(length);
    return static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * x));
}

// The gain each sample may have at most so that it stays under the ceiling,
// spread so that it never changes abruptly: a minimum over ±reach followed by
// an average over ±reach. Every value averaged around a sample is a minimum
// over a window that holds that sample, so the result never exceeds what the
// sample needs.
std::vector<float> limiterGain(const std::vector<float>& samples, float ceiling,
                               std::size_t reach) {
    const std::size_t n = samples.size();
    std::vector<float> needed(n);
    for (std::size_t i = 0; i < n; ++i) {
        const float level = std::fabs(samples[i]);
        needed[i] = level > ceiling ? ceiling / level : 1.0f;
    }
    std::vector<float> lowest(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t from = i >= reach ? i - reach : 0;
        const std::size_t to = std::min(n, i + reach + 1);
        lowest[i] = *std::min_element(needed.begin() + static_cast<std::ptrdiff_t>(from),
                                      needed.begin() + static_cast<std::ptrdiff_t>(to));
    }
    std::vector<float> smooth(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t from = i >= reach ? i - reach : 0;
        const std::size_t to = std::min(n, i + reach + 1);
        double sum = 0.0;
        for (std::size_t k = from; k < to; ++k) sum += lowest[k];
        smooth[i] = static_cast<float>(sum / static_cast<double>(to - from));
    }
    return smooth;
}

}  // namespace

void trimSilence(Sound& sound, const TrimSettings& settings) {
    auto& s = sound.samples;
    const float peak = peakOf(s);
    if (peak == 0.0f) {
        s.clear();
        return;
    }
    const auto threshold = static_cast<float>(peak * fromDb(settings.thresholdDb));
    const auto loud = [threshold](float v) { return std::fabs(v) >= threshold; };
    const auto first = static_cast<std::size_t>(std::find_if(s.begin(), s.end(), loud) - s.begin());
    const auto last =
        static_cast<std::size_t>(s.rend() - std::find_if(s.rbegin(), s.rend(), loud)) - 1;

    const std::size_t margin = samplesOf(settings.marginMs, sound.rate);
    const std::size_t begin = first >= margin ? first - margin : 0;
    const std::size_t end = std::min(s.size(), last + 1 + margin);
    s = std::vector<float>(s.begin() + static_cast<std::ptrdiff_t>(begin),
                           s.begin() + static_cast<std::ptrdiff_t>(end));

    const std::size_t fade = std::min(samplesOf(settings.fadeMs, sound.rate), s.size() / 2);
    for (std::size_t i = 0; i < fade; ++i) {
        const float gain = fadeGain(i, fade);
        s[i] *= gain;
        s[s.size() - 1 - i] *= gain;
    }
}

double voicedLevelDb(const Sound& sound, const LoudnessSettings& settings) {
    const auto& s = sound.samples;
    const std::size_t frame = std::max<std::size_t>(1, samplesOf(settings.frameMs, sound.rate));
    std::vector<double> energies;
    for (std::size_t start = 0; start < s.size(); start += frame) {
        const std::size_t end = std::min(s.size(), start + frame);
        double sum = 0.0;
        for (std::size_t i = start; i < end; ++i) sum += static_cast<double>(s[i]) * s[i];
        energies.push_back(sum / static_cast<double>(end - start));
    }
    const double loudest =
        energies.empty() ? 0.0 : *std::max_element(energies.begin(), energies.end());
    if (loudest == 0.0) return -std::numeric_limits<double>::infinity();
    const double gate = loudest * std::pow(10.0, settings.gateDb / 10.0);
    double sum = 0.0;
    int counted = 0;
    for (double e : energies) {
        if (e < gate) continue;
        sum += e;
        ++counted;
    }
    return 10.0 * std::log10(sum / counted);
}

void evenLoudness(Sound& sound, const LoudnessSettings& settings) {
    const double level = voicedLevelDb(sound, settings);
    if (!std::isfinite(level)) return;
    const auto gain = static_cast<float>(fromDb(settings.targetRmsDb - level));
    for (float& v : sound.samples) v *= gain;

    const auto ceiling = static_cast<float>(fromDb(settings.ceilingDb));
    const std::vector<float> limit =
        limiterGain(sound.samples, ceiling, samplesOf(settings.limiterReachMs, sound.rate));
    for (std::size_t i = 0; i < sound.samples.size(); ++i) {
        // The clamp only catches rounding at the very top of a limited peak.
        sound.samples[i] = std::clamp(sound.samples[i] * limit[i], -ceiling, ceiling);
    }
}

}  // namespace voice
