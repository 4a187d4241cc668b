// Start-up, the module's state, and playing samples and wave images.
#include "audio/ovwav.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "audio/audio_state.h"
#include "console/ovcrt.h"

namespace ovwav {

bool waveStopOnKey = true;
bool waveRateBoost = false;
bool waveSkipPeriods = false;

namespace detail {
AudioState& audio() {
    static AudioState s;
    return s;
}
}  // namespace detail

using detail::audio;

namespace {

// 1.5 times the rate, to the nearest integer with halves to even (the
// default rounding of the floating-point unit): 11025 gives 16538.
int boostedRate(int rate) {
    const double boosted = std::nearbyint(static_cast<double>(rate) * 1.5);
    return static_cast<int>(
        std::clamp(boosted, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

bool keyStopsPlayback() { return waveStopOnKey && ovcrt::keyPressed(); }

}  // namespace

void startUp() {
    auto& s = audio();
    if (s.deviceOpen) {
        platform::waveReset();
        platform::waveClose();
    }
    for (auto& slot : s.slots) slot.assign(kSlotSize, 0);
    s.slotLengths.fill(0);
    s.work.assign(kWorkBufferSize, 0);
    s.deviceOpen = false;
    s.format = WaveFormat{};
    s.nextSlot = 0;
    s.pending = 0;
    waveStopOnKey = true;
    waveRateBoost = false;
    waveSkipPeriods = false;
}

int playSamples(std::uint8_t* samples, std::size_t length, int samplesPerSecond, int channels,
                int bitsPerSample) {
    auto& s = audio();
    int rate = samplesPerSecond;
    if (waveRateBoost) rate = boostedRate(rate);
    // Skipping periods reduces 16-bit mono samples to 8 bits.
    const bool reduced = waveSkipPeriods && channels == 1 && bitsPerSample == 16;
    const int opened =
        reduced ? setWaveFormat(rate, 8, 1) : setWaveFormat(rate, bitsPerSample, channels);
    if (opened != 0) return opened;

    while (length > 0) {
        while (s.pending >= kSlotCount) {
            if (keyStopsPlayback()) {
                waveStop();
                return 0;
            }
            ovcrt::delay(10);
        }
        if (keyStopsPlayback()) {
            waveStop();
            return 0;
        }
        const std::size_t n = std::min(length, kSlotSize);
        const std::size_t m = (waveSkipPeriods && channels == 1)
                                  ? skipAlternatePeriods(samples, n, bitsPerSample, rate)
                                  : n;
        queueWaveBlock(samples, m);
        samples += n;
        length -= n;
    }
    return 0;
}

int playWaveBuffer(std::span<std::uint8_t> image) {
    const auto found = parseWaveImage(image);
    if (!found) return -1;
    const WaveFormat& f = found->format;
    return playSamples(found->data.data(), found->data.size(), f.samplesPerSecond, f.channels,
                       f.bitsPerSample);
}

int pendingBlocks() { return audio().pending; }
WaveFormat currentFormat() { return audio().format; }
bool deviceOpen() { return audio().deviceOpen; }
int lastSlot() { return audio().nextSlot; }

std::span<const std::uint8_t> slotData(int slot) {
    if (slot < 1 || slot > kSlotCount) return {};
    return audio().slots[static_cast<std::size_t>(slot - 1)];
}

std::size_t slotLength(int slot) {
    if (slot < 1 || slot > kSlotCount) return 0;
    return audio().slotLengths[static_cast<std::size_t>(slot - 1)];
}

}  // namespace ovwav
