// Test signals and measurements shared by the voice builder's tests.
#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

#include "tools/voice/sound.h"

namespace voice_test {

inline voice::Sound sine(double hz, double amplitude, int rate, std::size_t count) {
    voice::Sound s;
    s.rate = rate;
    s.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        s.samples[i] = static_cast<float>(
            amplitude * std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate));
    return s;
}

inline voice::Sound silence(int rate, std::size_t count) {
    voice::Sound s;
    s.rate = rate;
    s.samples.assign(count, 0.0f);
    return s;
}

// The sound `b` appended to `a` (same rate).
inline voice::Sound joined(voice::Sound a, const voice::Sound& b) {
    a.samples.insert(a.samples.end(), b.samples.begin(), b.samples.end());
    return a;
}

// Peak amplitude of a sine estimated from the RMS of the samples [from, to).
inline double sineAmplitude(const std::vector<float>& s, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(2.0 * sum / static_cast<double>(to - from));
}

inline double peak(const std::vector<float>& s) {
    double p = 0.0;
    for (float v : s) p = std::max(p, static_cast<double>(std::fabs(v)));
    return p;
}

}  // namespace voice_test
