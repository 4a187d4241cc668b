// The Win32 backend's sound: the wave-out device of the system's wave mapper,
// whose returned blocks come back to the console window as MM_WOM_DONE
// messages, and the simple sound player for the looping tones.
#include <algorithm>

#include "platform/win32/pcm_format.h"
#include "platform/win32/win32_driver.h"

namespace platform::win32 {

namespace {

// After a reset every block is back at once; should the device still hold
// some when it is closed, it is given this long to let them go.
constexpr int kCloseWaitMs = 500;

}  // namespace

int Win32Driver::waveOpen(int samplesPerSecond, int bitsPerSample, int channels) {
    if (wave_) return MMSYSERR_ALLOCATED;
    WAVEFORMATEX format = pcmFormat(samplesPerSecond, bitsPerSample, channels);
    // The returned blocks are messages to the console window; before the
    // window exists, messages to the thread.
    HWND window = window_.load();
    const DWORD_PTR receiver =
        window ? reinterpret_cast<DWORD_PTR>(window) : static_cast<DWORD_PTR>(thread_);
    const DWORD flags = (window ? CALLBACK_WINDOW : CALLBACK_THREAD) | WAVE_ALLOWSYNC;
    HWAVEOUT device = nullptr;
    const MMRESULT result = waveOutOpen(&device, WAVE_MAPPER, &format, receiver, 0, flags);
    if (result == MMSYSERR_NOERROR) wave_ = device;
    return static_cast<int>(result);
}

bool Win32Driver::waveWrite(int slot, const std::uint8_t* data, std::size_t size) {
    if (!wave_ || size == 0) return false;
    auto block = std::make_unique<Block>();
    block->samples.assign(data, data + size);
    block->header.lpData = reinterpret_cast<LPSTR>(block->samples.data());
    block->header.dwBufferLength = static_cast<DWORD>(size);
    block->header.dwUser = static_cast<DWORD_PTR>(slot);
    if (waveOutPrepareHeader(wave_, &block->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
        return false;
    if (waveOutWrite(wave_, &block->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        waveOutUnprepareHeader(wave_, &block->header, sizeof(WAVEHDR));
        return false;
    }
    blocks_.push_back(std::move(block));
    return true;
}

// A returned block: unprepared, and its end queued for the console with the
// result of unpreparing it. A message about a block that was already taken
// back (after a reset) finds nothing and does nothing.
void Win32Driver::blockDone(WAVEHDR* header) {
    const auto found = std::find_if(blocks_.begin(), blocks_.end(),
                                    [header](const auto& b) { return &b->header == header; });
    if (found == blocks_.end() || !((*found)->header.dwFlags & WHDR_DONE)) return;
    const MMRESULT result = wave_
                                ? waveOutUnprepareHeader(wave_, &(*found)->header, sizeof(WAVEHDR))
                                : MMRESULT{MMSYSERR_INVALHANDLE};
    Message done;
    done.kind = MessageKind::WaveDone;
    done.key = static_cast<std::uint32_t>((*found)->header.dwUser);
    done.code = static_cast<std::int32_t>(result);
    blocks_.erase(found);
    append(done);
}

// Takes back every block the device has finished with, without waiting for
// its message (which may arrive after the device is closed).
void Win32Driver::reapFinishedBlocks() {
    std::vector<WAVEHDR*> finished;
    for (const auto& block : blocks_)
        if (block->header.dwFlags & WHDR_DONE) finished.push_back(&block->header);
    for (WAVEHDR* header : finished) blockDone(header);
}

bool Win32Driver::devicePending() { return !blocks_.empty(); }

void Win32Driver::waveReset() {
    if (!wave_) return;
    waveOutReset(wave_);
    reapFinishedBlocks();
}

void Win32Driver::waveClose() {
    if (!wave_) return;
    waveOutReset(wave_);
    reapFinishedBlocks();
    for (int waited = 0; !blocks_.empty() && waited < kCloseWaitMs; ++waited) {
        Sleep(1);
        reapFinishedBlocks();
    }
    // Blocks the device will not let go keep their memory for as long as the
    // process lives; for the console they are over.
    for (auto& block : blocks_) {
        Message done;
        done.kind = MessageKind::WaveDone;
        done.key = static_cast<std::uint32_t>(block->header.dwUser);
        append(done);
        abandoned_.push_back(std::move(block));
    }
    blocks_.clear();
    waveOutClose(wave_);
    wave_ = nullptr;
}

// The image is the system's until the player has stopped: a copy of it is
// kept for the player, so the console may free its own at any time.
void Win32Driver::playToneLoop(const std::uint8_t* image, std::size_t size) {
    stopTone();
    toneImage_.assign(image, image + size);
    tonePlaying_ = true;
    sndPlaySoundA(reinterpret_cast<LPCSTR>(toneImage_.data()), SND_ASYNC | SND_MEMORY | SND_LOOP);
}

void Win32Driver::stopTone() {
    if (!tonePlaying_) return;
    sndPlaySoundA(nullptr, SND_ASYNC);
    tonePlaying_ = false;
    toneImage_.clear();
}

}  // namespace platform::win32
