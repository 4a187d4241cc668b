#include "platform/sdl/sdl_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>

namespace platform::sdl {
namespace {

// The device plays 44100 Hz mono; SDL's streams convert every source to it.
constexpr int kDeviceRate = 44100;
// 1024 frames hold 23 ms: a key that silences speech is heard at once.
constexpr Uint16 kDeviceFrames = 1024;

// The tone loop's format: 8-bit unsigned mono 11025 Hz behind a 44-byte header.
constexpr int kLoopRate = 11025;
constexpr std::size_t kWaveHeaderSize = 44;
constexpr std::size_t kDataSizeOffset = 40;

// Sources go into their converters in small pieces, just ahead of the device.
constexpr int kPiecesPerSecond = 200;
constexpr std::size_t kLoopPieceBytes = kLoopRate / kPiecesPerSecond;

constexpr double kBeepHertz = 880.0;
constexpr int kBeepMs = 120;
constexpr int kBeepRampMs = 5;
constexpr double kBeepAmplitude = 6000.0;

class DeviceLock {
public:
    explicit DeviceLock(SDL_AudioDeviceID device) : device_(device) {
        if (device_) SDL_LockAudioDevice(device_);
    }
    ~DeviceLock() {
        if (device_) SDL_UnlockAudioDevice(device_);
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID device_;
};

std::uint32_t littleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

int pullStream(SDL_AudioStream* stream, Sint16* out, int frames) {
    const int got = SDL_AudioStreamGet(stream, out, frames * static_cast<int>(sizeof(Sint16)));
    return got > 0 ? got / static_cast<int>(sizeof(Sint16)) : 0;
}

bool streamHolds(SDL_AudioStream* stream, int frames) {
    return SDL_AudioStreamAvailable(stream) >= frames * static_cast<int>(sizeof(Sint16));
}

}  // namespace

SoundOutput::SoundOutput(BlockDone blockDone) : blockDone_(std::move(blockDone)) {}

SoundOutput::~SoundOutput() { close(); }

bool SoundOutput::ensureDevice() {
    if (device_) return true;
    if (deviceFailed_ || SDL_WasInit(SDL_INIT_AUDIO) == 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = kDeviceRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = kDeviceFrames;
    wanted.callback = &SoundOutput::fillCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!device_) {
        // Said once: the program goes on without sound rather than stop.
        std::fprintf(stderr, "ORALIS: não foi possível abrir o dispositivo de som (SDL: %s).\n",
                     SDL_GetError());
        deviceFailed_ = true;
        return false;
    }
    mixBuffer_.assign(obtained.samples, 0);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SDLCALL SoundOutput::fillCallback(void* self, Uint8* stream, int length) {
    static_cast<SoundOutput*>(self)->mix(reinterpret_cast<Sint16*>(stream),
                                         length / static_cast<int>(sizeof(Sint16)));
}

void SoundOutput::mix(Sint16* out, int frames) {
    std::fill(out, out + frames, Sint16{0});
    const int piece = std::max(1, static_cast<int>(mixBuffer_.size()));
    for (int done = 0; done < frames; done += piece) {
        const int count = std::min(piece, frames - done);
        Sint16* target = out + done;
        using Puller = int (SoundOutput::*)(Sint16*, int);
        for (Puller pull :
             {&SoundOutput::pullLoop, &SoundOutput::pullWave, &SoundOutput::pullBeep}) {
            const int got = (this->*pull)(mixBuffer_.data(), count);
            for (int i = 0; i < got; ++i) {
                const int sum = target[i] + mixBuffer_[static_cast<std::size_t>(i)];
                target[i] = static_cast<Sint16>(std::clamp(sum, -32768, 32767));
            }
        }
    }
}

bool SoundOutput::feedLoop() {
    if (loopSamples_.empty()) return false;
    const std::size_t count = std::min(kLoopPieceBytes, loopSamples_.size() - loopPosition_);
    SDL_AudioStreamPut(loopStream_.get(), loopSamples_.data() + loopPosition_,
                       static_cast<int>(count));
    loopPosition_ = (loopPosition_ + count) % loopSamples_.size();
    return true;
}

int SoundOutput::pullLoop(Sint16* out, int frames) {
    if (!loopStream_) return 0;
    while (!streamHolds(loopStream_.get(), frames) && feedLoop()) {
    }
    return pullStream(loopStream_.get(), out, frames);
}

bool SoundOutput::feedWave() {
    if (blocks_.empty()) return false;
    Block& block = blocks_.front();
    std::size_t count = std::min(wavePieceBytes_, block.bytes.size() - block.offset);
    count -= count % static_cast<std::size_t>(waveFrameSize_);
    if (count > 0) {
        SDL_AudioStreamPut(waveStream_.get(), block.bytes.data() + block.offset,
                           static_cast<int>(count));
        waveFlushed_ = false;
    }
    block.offset += count;
    waveInputFrames_ += count / static_cast<std::size_t>(waveFrameSize_);
    // A trailing partial frame cannot be played; the block ends without it.
    if (block.bytes.size() - block.offset < static_cast<std::size_t>(waveFrameSize_)) {
        const Uint64 end = waveInputFrames_ * kDeviceRate / static_cast<Uint64>(waveRate_);
        playing_.push_back(Playing{block.slot, end});
        blocks_.pop_front();
    }
    return true;
}

int SoundOutput::pullWave(Sint16* out, int frames) {
    if (!waveStream_) return 0;
    while (!streamHolds(waveStream_.get(), frames) && feedWave()) {
    }
    // The converter holds back the last few milliseconds until more input
    // comes; when none is queued, it must give them out now.
    if (!streamHolds(waveStream_.get(), frames) && blocks_.empty() && !waveFlushed_) {
        SDL_AudioStreamFlush(waveStream_.get());
        waveFlushed_ = true;
    }
    const int got = pullStream(waveStream_.get(), out, frames);
    waveOutputFrames_ += static_cast<Uint64>(got);
    // A block comes back once its last sample goes to the device. When all
    // is played, rounding in the converter must not keep a block waiting.
    const bool drained =
        blocks_.empty() && waveFlushed_ && SDL_AudioStreamAvailable(waveStream_.get()) == 0;
    while (!playing_.empty() && (drained || playing_.front().endFrame <= waveOutputFrames_)) {
        blockDone_(playing_.front().slot);
        playing_.pop_front();
    }
    if (drained) waveInputFrames_ = waveOutputFrames_ = 0;
    return got;
}

int SoundOutput::pullBeep(Sint16* out, int frames) {
    const int count = std::min(frames, beepFrames_ - beepFrame_);
    const int ramp = kDeviceRate * kBeepRampMs / 1000;
    for (int i = 0; i < count; ++i, ++beepFrame_) {
        const int edge = std::min(beepFrame_, beepFrames_ - 1 - beepFrame_);
        const double gain = edge < ramp ? static_cast<double>(edge) / ramp : 1.0;
        const double phase = 2.0 * std::numbers::pi * kBeepHertz * beepFrame_ / kDeviceRate;
        out[i] = static_cast<Sint16>(kBeepAmplitude * gain * std::sin(phase));
    }
    return std::max(0, count);
}

void SoundOutput::playLoop(const std::uint8_t* image, std::size_t size) {
    if (!image || size <= kWaveHeaderSize) {
        stopLoop();
        return;
    }
    const std::size_t count =
        std::min<std::size_t>(littleEndian32(image + kDataSizeOffset), size - kWaveHeaderSize);
    if (count == 0 || !ensureDevice()) {
        stopLoop();
        return;
    }
    std::vector<std::uint8_t> samples(image + kWaveHeaderSize, image + kWaveHeaderSize + count);
    AudioStream stream(SDL_NewAudioStream(AUDIO_U8, 1, kLoopRate, AUDIO_S16SYS, 1, kDeviceRate));
    DeviceLock lock(device_);
    loopSamples_ = std::move(samples);
    loopPosition_ = 0;
    loopStream_ = std::move(stream);
}

void SoundOutput::stopLoop() {
    DeviceLock lock(device_);
    loopSamples_.clear();
    loopPosition_ = 0;
    loopStream_.reset();
}

int SoundOutput::waveOpen(int samplesPerSecond, int bitsPerSample, int channels) {
    constexpr int kAllocated = 4, kBadFormat = 32, kBadDevice = 2;
    if (waveIsOpen_) return kAllocated;
    if ((bitsPerSample != 8 && bitsPerSample != 16) || (channels != 1 && channels != 2) ||
        samplesPerSecond < 1000 || samplesPerSecond > 192000)
        return kBadFormat;
    if (!ensureDevice()) return kBadDevice;
    const SDL_AudioFormat format = bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    AudioStream stream(SDL_NewAudioStream(format, static_cast<Uint8>(channels), samplesPerSecond,
                                          AUDIO_S16SYS, 1, kDeviceRate));
    if (!stream) return kBadFormat;
    DeviceLock lock(device_);
    waveStream_ = std::move(stream);
    waveRate_ = samplesPerSecond;
    waveFrameSize_ = bitsPerSample / 8 * channels;
    wavePieceBytes_ =
        static_cast<std::size_t>(std::max(1, samplesPerSecond / kPiecesPerSecond) * waveFrameSize_);
    blocks_.clear();
    playing_.clear();
    waveInputFrames_ = waveOutputFrames_ = 0;
    waveFlushed_ = false;
    waveIsOpen_ = true;
    return 0;
}

bool SoundOutput::waveWrite(int slot, const std::uint8_t* data, std::size_t size) {
    if (!waveIsOpen_) return false;
    Block block;
    block.slot = slot;
    if (data && size > 0) block.bytes.assign(data, data + size);
    DeviceLock lock(device_);
    blocks_.push_back(std::move(block));
    return true;
}

void SoundOutput::waveReset() {
    DeviceLock lock(device_);
    for (const Playing& block : playing_) blockDone_(block.slot);
    for (const Block& block : blocks_) blockDone_(block.slot);
    playing_.clear();
    blocks_.clear();
    if (waveStream_) SDL_AudioStreamClear(waveStream_.get());
    waveInputFrames_ = waveOutputFrames_ = 0;
    waveFlushed_ = false;
}

void SoundOutput::waveClose() {
    if (!waveIsOpen_) return;
    waveReset();
    DeviceLock lock(device_);
    waveStream_.reset();
    waveIsOpen_ = false;
}

bool SoundOutput::wavePending() {
    DeviceLock lock(device_);
    return !blocks_.empty() || !playing_.empty();
}

void SoundOutput::beep() {
    if (!ensureDevice()) return;
    DeviceLock lock(device_);
    beepFrame_ = 0;
    beepFrames_ = kDeviceRate * kBeepMs / 1000;
}

void SoundOutput::close() {
    if (device_) SDL_CloseAudioDevice(device_);
    device_ = 0;
    loopSamples_.clear();
    loopStream_.reset();
    blocks_.clear();
    playing_.clear();
    waveStream_.reset();
    waveIsOpen_ = false;
    beepFrames_ = beepFrame_ = 0;
    deviceFailed_ = false;
}

}  // namespace platform::sdl
