// The console's sound on SDL: the looping tone, the wave-out device and the
// beep, mixed on one audio device of our own (several audio drivers, the
// dummy one among them, open a single output device per process).
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace platform::sdl {

struct AudioStreamDeleter {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};
using AudioStream = std::unique_ptr<SDL_AudioStream, AudioStreamDeleter>;

class SoundOutput {
public:
    // Called with the slot of every wave block that comes back, in order,
    // possibly from the audio thread.
    using BlockDone = std::function<void(int slot)>;

    explicit SoundOutput(BlockDone blockDone);
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;
    ~SoundOutput();

    // Loops the samples of an 8-bit mono 11025 Hz WAVE image (copied) until
    // stopLoop(); a new loop replaces the old one.
    void playLoop(const std::uint8_t* image, std::size_t size);
    void stopLoop();

    // Wave-out: 0, or 4 (already open), 32 (format not supported), 2 (no device).
    int waveOpen(int samplesPerSecond, int bitsPerSample, int channels);
    bool waveWrite(int slot, const std::uint8_t* data, std::size_t size);
    // Drops every queued block; each comes back at once, in order.
    void waveReset();
    void waveClose();
    // A queued block has not come back yet.
    bool wavePending();

    // A short tone over whatever else plays; does not wait for it.
    void beep();

    // Closes the device (at exit). Queued blocks are dropped without coming back.
    void close();

private:
    struct Block {
        int slot = 0;
        std::vector<std::uint8_t> bytes;
        std::size_t offset = 0;  // bytes already put into the converter
    };
    // A block wholly in the converter, waiting for its end to reach the device.
    struct Playing {
        int slot = 0;
        Uint64 endFrame = 0;  // device frames from the wave's start to the block's end
    };

    bool ensureDevice();
    static void SDLCALL fillCallback(void* self, Uint8* stream, int length);
    void mix(Sint16* out, int frames);
    int pullLoop(Sint16* out, int frames);
    int pullWave(Sint16* out, int frames);
    int pullBeep(Sint16* out, int frames);
    bool feedLoop();
    bool feedWave();

    BlockDone blockDone_;
    SDL_AudioDeviceID device_ = 0;
    bool deviceFailed_ = false;
    std::vector<Sint16> mixBuffer_;

    // Everything below is shared with the audio thread: changed only with the
    // device locked.
    std::vector<std::uint8_t> loopSamples_;
    std::size_t loopPosition_ = 0;
    AudioStream loopStream_;

    bool waveIsOpen_ = false;
    int waveRate_ = 1;
    int waveFrameSize_ = 1;
    std::size_t wavePieceBytes_ = 1;
    std::deque<Block> blocks_;
    std::deque<Playing> playing_;
    AudioStream waveStream_;
    // Frames put into the converter and taken out of it since the wave last
    // fell silent: the converter keeps their order and their ratio.
    Uint64 waveInputFrames_ = 0;
    Uint64 waveOutputFrames_ = 0;
    bool waveFlushed_ = false;

    int beepFrame_ = 0;
    int beepFrames_ = 0;
};

}  // namespace platform::sdl
