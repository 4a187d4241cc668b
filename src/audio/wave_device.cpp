// The wave-out device: its format, opening it, queueing blocks into the four
// slots, taking finished blocks back, and stopping.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "audio/audio_state.h"
#include "audio/ovwav.h"
#include "console/ovcrt.h"

namespace ovwav {

using detail::audio;

namespace {

constexpr int kOpenTries = 100;
constexpr std::uint16_t kBusyRetryMs = 100;
constexpr int kSlotWaits = 40;
constexpr std::uint16_t kSlotWaitMs = 50;
constexpr std::uint8_t kSilence = 128;

// The device's texts for the errors of a returned block.
std::string_view blockErrorText(int code) {
    switch (code) {
        case 5: return "Specified device handle is invalid.";
        case 6: return "No device driver is present.";
        case 7: return "Unable to allocate or lock memory.";
        case 33: return "The data block pointed to by the pwh parameter is still in queue";
        default: return {};
    }
}

}  // namespace

int setWaveFormat(int samplesPerSecond, int bitsPerSample, int channels) {
    auto& s = audio();
    const WaveFormat wanted{samplesPerSecond, bitsPerSample, channels};
    if (wanted != s.format) {
        // The sound in the old format ends (or a key stops it) and the
        // device closes before it is opened for the new one.
        while (wavePlaying()) platform::waitMessage();
    }
    s.format = wanted;
    return openWaveDevice();
}

int openWaveDevice() {
    auto& s = audio();
    if (s.deviceOpen) return 0;
    ovcrt::setWaveDoneHandler(&waveBlockDone);
    const WaveFormat f = s.format;
    int result = platform::waveOpen(f.samplesPerSecond, f.bitsPerSample, f.channels);
    for (int tries = 1; result == kDeviceBusy && tries < kOpenTries; ++tries) {
        ovcrt::delay(kBusyRetryMs);
        result = platform::waveOpen(f.samplesPerSecond, f.bitsPerSample, f.channels);
    }
    s.deviceOpen = result == 0;
    return result;
}

bool queueWaveBlock(const std::uint8_t* samples, std::size_t length) {
    auto& s = audio();
    for (int i = 0; i < kSlotWaits && s.pending >= kSlotCount; ++i) {
        ovcrt::pumpMessages();
        ovcrt::delay(kSlotWaitMs);
    }
    if (s.pending >= kSlotCount) return false;  // no slot came free: the block is dropped

    ++s.pending;
    s.nextSlot = s.nextSlot % kSlotCount + 1;
    const auto index = static_cast<std::size_t>(s.nextSlot - 1);
    std::uint8_t* slot = s.slots[index].data();

    length = std::min(length, kSlotSize);
    const std::size_t bufferLength = std::max(length, kMinBlockLength);
    const bool mono8 = s.format.bitsPerSample == 8 && s.format.channels == 1;
    // Other formats keep what the slot held after the block's own bytes.
    if (mono8 && length < kMinBlockLength)
        std::memset(slot + length, kSilence, kMinBlockLength - length);
    if (length > 0) std::memmove(slot, samples, length);
    // An 8-bit mono block ends at the silence level, so that blocks joined
    // one after another give no click.
    if (mono8 && length != kSlotSize && length > 0) slot[length - 1] = kSilence;
    s.slotLengths[index] = bufferLength;

    if (!platform::waveWrite(s.nextSlot, slot, bufferLength)) {
        --s.pending;
        return false;
    }
    return true;
}

void waveBlockDone(int slot, int result) {
    auto& s = audio();
    if (slot < 1 || slot > kSlotCount) return;
    if (result != 0) {
        const std::string_view text = blockErrorText(result);
        if (!text.empty()) ovcrt::write(text);
        ovcrt::readStandardLine();  // the user presses Enter before anything goes on
    }
    if (s.pending > 0) --s.pending;
}

bool wavePlaying() {
    auto& s = audio();
    ovcrt::pumpMessages();
    if ((waveStopOnKey && ovcrt::keyPressed()) || s.pending == 0) waveStop();
    return s.pending > 0;
}

void waveStop() {
    auto& s = audio();
    if (!s.deviceOpen) return;
    if (s.pending > 0) platform::waveReset();  // every queued block comes back now
    ovcrt::pumpMessages();
    platform::waveClose();
    s.deviceOpen = false;
    ovcrt::pumpMessages();
    // A closed device holds no block; should one have failed to come back,
    // a waiting loop must not wait for it for ever.
    s.pending = 0;
}

}  // namespace ovwav
