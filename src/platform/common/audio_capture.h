// What the listener would have heard: every block queued on the sound device,
// placed on the time line as the device plays them one after another and cut
// where playback was stopped, and every tone. Rendered at the end of a run
// into a WAVE file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct PcmFormat {
    int rate = 11025, bits = 8, channels = 1;
    bool operator==(const PcmFormat&) const = default;
};

class AudioCapture {
public:
    void block(double nowMs, PcmFormat format, const std::uint8_t* data, std::size_t size);
    // Playback stopped at `nowMs`: what had not sounded yet is gone.
    void reset(double nowMs);
    // A looping 8-bit 11025 Hz tone image that sounded from start to end.
    void tone(double startMs, double endMs, const std::uint8_t* samples, std::size_t count);
    bool empty() const { return blocks_.empty() && tones_.empty(); }
    double endMs() const;

    // 16-bit mono at `rate`, silences included, tones mixed in.
    std::vector<std::int16_t> renderMono16(int rate, double untilMs) const;
    // The sound in the format of its first block, silences included, tones
    // left out (the route's own sound).
    std::vector<std::uint8_t> renderNative(PcmFormat& format) const;

private:
    struct Block {
        double startMs, endMs;
        PcmFormat format;
        std::vector<std::uint8_t> data;
    };
    struct Tone {
        double startMs, endMs;
        std::vector<std::uint8_t> samples;
    };
    std::vector<Block> blocks_;
    std::vector<Tone> tones_;
    double deviceEndMs_ = 0;
};

// A complete WAVE file image with the 44-byte header.
std::vector<std::uint8_t> waveFileImage(PcmFormat format, const std::uint8_t* data,
                                        std::size_t size);
bool writeWaveFile(const std::string& path, PcmFormat format, const std::uint8_t* data,
                   std::size_t size);

}  // namespace platform
