// Faster speech without a change of pitch: of the stretches of voiced sound
// between one pitch peak and the next, every other one is dropped.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "audio/ovwav.h"

namespace ovwav {
namespace {

constexpr std::ptrdiff_t kShortestBlock = 1000;
constexpr int kSilence = 128;
constexpr int kTailTolerance = 20;

struct PeriodSearch {
    std::ptrdiff_t start;     // where the first peak is looked for
    std::ptrdiff_t shortest;  // the shortest pitch period, in samples
    std::ptrdiff_t width;     // how far beyond the shortest period a peak may lie
};

PeriodSearch searchFor(int samplesPerSecond) {
    if (samplesPerSecond == 11025) return {200, 80, 50};
    return {800, 320, 200};
}

// The position of the largest byte among from … to (both included; the first
// one on a tie). When no byte there is above 0 the result is `none`.
std::ptrdiff_t peakBetween(const std::uint8_t* s, std::ptrdiff_t from, std::ptrdiff_t to,
                           std::ptrdiff_t none) {
    std::ptrdiff_t best = none;
    int highest = 0;
    for (std::ptrdiff_t i = from; i <= to; ++i) {
        if (s[i] > highest) {
            highest = s[i];
            best = i;
        }
    }
    return best;
}

}  // namespace

std::size_t skipAlternatePeriods(std::uint8_t* samples, std::size_t length, int bitsPerSample,
                                 int samplesPerSecond) {
    if (bitsPerSample == 16) {
        length /= 2;
        // The high byte of each sample, from signed to unsigned.
        for (std::size_t i = 0; i < length; ++i)
            samples[i] = static_cast<std::uint8_t>(samples[2 * i + 1] ^ 0x80);
    }
    const auto n = static_cast<std::ptrdiff_t>(length);
    if (n < kShortestBlock) return length;

    const PeriodSearch p = searchFor(samplesPerSecond);
    // The first peak: position 0 when every byte of the range is 0. At rates
    // other than 11025 the range can reach past a short block; it stops at
    // the block's end.
    const std::ptrdiff_t peak =
        peakBetween(samples, p.start, std::min(p.start + p.shortest + p.width, n - 1), 0);
    std::ptrdiff_t read = peak;
    std::ptrdiff_t write = peak;

    const std::ptrdiff_t reach = p.shortest + p.width;
    while (read < n - 2 * reach) {
        // A range without any byte above 0 would keep the peak found last,
        // which lies behind the range: the read position would go back and
        // the loop never end. The start of the range stands in for it.
        const std::ptrdiff_t p1 =
            peakBetween(samples, read + p.shortest, read + reach, read + p.shortest);
        const std::ptrdiff_t p2 =
            peakBetween(samples, p1 + p.shortest, p1 + reach, p1 + p.shortest);
        const std::ptrdiff_t kept = p2 - p1 + 1;
        std::memmove(samples + write, samples + p1, static_cast<std::size_t>(kept));
        write += kept;
        read = p2;
    }

    // Finish the last period where the sound comes back near silence. The
    // read position is tested first: the write position never passes it, so
    // neither reads past the block.
    while (read < n && std::abs(samples[write] - kSilence) > kTailTolerance)
        samples[write++] = samples[read++];
    return static_cast<std::size_t>(write);
}

}  // namespace ovwav
