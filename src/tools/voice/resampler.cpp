#include "tools/voice/resampler.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <numeric>
#include <stdexcept>

namespace voice {
namespace {

// Where the low-pass is centred, as a share of the lower Nyquist frequency,
// and how many sinc zero crossings the kernel keeps on each side. With the
// Kaiser window below this gives a transition band of about 7 % of the lower
// Nyquist frequency, centred on this point, and over 70 dB of attenuation.
constexpr double kCutoffShare = 0.953;
constexpr int kZeroCrossings = 64;
constexpr double kKaiserBeta = 7.0;
// A table of phases beyond this size means rates with no sensible common
// factor; such a conversion is refused rather than allowed to eat memory.
constexpr std::int64_t kMaxPhases = 8192;

// Modified Bessel function of the first kind, order 0, by its power series.
double besselI0(double x) {
    double sum = 1.0, term = 1.0;
    const double quarterSquare = x * x / 4.0;
    for (int k = 1; k < 64 && term > sum * 1e-17; ++k) {
        term *= quarterSquare / (static_cast<double>(k) * k);
        sum += term;
    }
    return sum;
}

double sinc(double x) {
    if (x == 0.0) return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

// The low-pass kernel of one phase: taps for input offsets -half+1 … half
// around the output position, which lies `fraction` input samples after the
// first of them at offset 0.
std::vector<double> kernelOfPhase(double fraction, int half, double cutoff) {
    std::vector<double> taps(static_cast<std::size_t>(2 * half));
    const double windowNorm = besselI0(kKaiserBeta);
    for (int k = -half + 1; k <= half; ++k) {
        const double t = k - fraction;
        const double r = t / half;
        const double window =
            r * r < 1.0 ? besselI0(kKaiserBeta * std::sqrt(1.0 - r * r)) / windowNorm : 0.0;
        taps[static_cast<std::size_t>(k + half - 1)] =
            2.0 * cutoff * sinc(2.0 * cutoff * t) * window;
    }
    return taps;
}

}  // namespace

Sound resample(const Sound& in, int outRate) {
    if (in.rate <= 0 || outRate <= 0) throw std::invalid_argument("sample rates must be positive");
    if (in.rate == outRate) return in;

    const std::int64_t common = std::gcd(in.rate, outRate);
    const std::int64_t up = outRate / common;    // output steps per common period
    const std::int64_t down = in.rate / common;  // input steps per common period
    if (up > kMaxPhases) throw std::invalid_argument("sample rates without a usable ratio");

    // Cut-off in cycles per input sample.
    const double cutoff = kCutoffShare * 0.5 * std::min(in.rate, outRate) / in.rate;
    const int half = static_cast<int>(std::ceil(kZeroCrossings / (2.0 * cutoff)));

    std::vector<std::vector<double>> phases;
    phases.reserve(static_cast<std::size_t>(up));
    for (std::int64_t p = 0; p < up; ++p)
        phases.push_back(
            kernelOfPhase(static_cast<double>(p) / static_cast<double>(up), half, cutoff));

    const auto inCount = static_cast<std::int64_t>(in.samples.size());
    const std::int64_t outCount = (inCount * up + down - 1) / down;
    Sound out;
    out.rate = outRate;
    out.samples.resize(static_cast<std::size_t>(outCount));
    for (std::int64_t j = 0; j < outCount; ++j) {
        const std::int64_t position = j * down;
        const std::int64_t base = position / up;
        const std::vector<double>& taps = phases[static_cast<std::size_t>(position % up)];
        double sum = 0.0;
        for (int k = -half + 1; k <= half; ++k) {
            const std::int64_t n = base + k;
            if (n < 0 || n >= inCount) continue;
            sum += taps[static_cast<std::size_t>(k + half - 1)] *
                   in.samples[static_cast<std::size_t>(n)];
        }
        out.samples[static_cast<std::size_t>(j)] = static_cast<float>(sum);
    }
    return out;
}

}  // namespace voice
