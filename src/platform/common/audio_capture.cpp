#include "platform/common/audio_capture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

int bytesPerFrame(PcmFormat f) { return std::max(1, f.channels * (f.bits / 8)); }

double durationMs(PcmFormat f, std::size_t bytes) {
    return f.rate > 0 ? 1000.0 * static_cast<double>(bytes / static_cast<std::size_t>(bytesPerFrame(f))) / f.rate
                      : 0.0;
}

// One frame as a mono value from -1 to 1.
double frameValue(PcmFormat f, const std::vector<std::uint8_t>& data, std::size_t frame) {
    const std::size_t at = frame * static_cast<std::size_t>(bytesPerFrame(f));
    double sum = 0;
    for (int c = 0; c < f.channels; ++c) {
        if (f.bits == 16) {
            const std::size_t i = at + static_cast<std::size_t>(2 * c);
            auto v = static_cast<std::int16_t>(data[i] | data[i + 1] << 8);
            sum += v / 32768.0;
        } else {
            sum += (data[at + static_cast<std::size_t>(c)] - 128) / 128.0;
        }
    }
    return sum / f.channels;
}

// Adds the block, resampled by linear interpolation, into `out` at `rate`.
void mixInto(std::vector<double>& out, int rate, double startMs, double endMs, PcmFormat f,
             const std::vector<std::uint8_t>& data, bool loop) {
    const std::size_t frames = data.size() / static_cast<std::size_t>(bytesPerFrame(f));
    if (frames == 0) return;
    const auto first = static_cast<std::size_t>(std::llround(startMs * rate / 1000.0));
    const auto last = std::min(out.size(), static_cast<std::size_t>(std::llround(endMs * rate / 1000.0)));
    for (std::size_t i = first; i < last; ++i) {
        double pos = static_cast<double>(i - first) * f.rate / rate;
        auto k = static_cast<std::size_t>(pos);
        if (loop) k %= frames;
        if (k >= frames) break;
        const double frac = pos - std::floor(pos);
        const std::size_t k2 = loop ? (k + 1) % frames : std::min(k + 1, frames - 1);
        out[i] += frameValue(f, data, k) * (1 - frac) + frameValue(f, data, k2) * frac;
    }
}

void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

void AudioCapture::block(double nowMs, PcmFormat format, const std::uint8_t* data, std::size_t size) {
    const double start = std::max(nowMs, deviceEndMs_);
    const double end = start + durationMs(format, size);
    blocks_.push_back(Block{start, end, format, std::vector<std::uint8_t>(data, data + size)});
    deviceEndMs_ = end;
}

void AudioCapture::reset(double nowMs) {
    std::erase_if(blocks_, [&](const Block& b) { return b.startMs >= nowMs; });
    for (auto& b : blocks_) {
        if (b.endMs <= nowMs) continue;
        const auto frames = static_cast<std::size_t>((nowMs - b.startMs) * b.format.rate / 1000.0);
        b.data.resize(std::min(b.data.size(), frames * static_cast<std::size_t>(bytesPerFrame(b.format))));
        b.endMs = nowMs;
    }
    deviceEndMs_ = nowMs;
}

void AudioCapture::tone(double startMs, double endMs, const std::uint8_t* samples, std::size_t count) {
    if (endMs > startMs && count > 0)
        tones_.push_back(Tone{startMs, endMs, std::vector<std::uint8_t>(samples, samples + count)});
}

double AudioCapture::endMs() const {
    double end = 0;
    for (const auto& b : blocks_) end = std::max(end, b.endMs);
    for (const auto& t : tones_) end = std::max(end, t.endMs);
    return end;
}

std::vector<std::int16_t> AudioCapture::renderMono16(int rate, double untilMs) const {
    std::vector<double> mix(static_cast<std::size_t>(std::llround(untilMs * rate / 1000.0)), 0.0);
    for (const auto& b : blocks_) mixInto(mix, rate, b.startMs, b.endMs, b.format, b.data, false);
    for (const auto& t : tones_)
        mixInto(mix, rate, t.startMs, t.endMs, PcmFormat{11025, 8, 1}, t.samples, true);
    std::vector<std::int16_t> out(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::clamp(std::lround(mix[i] * 32767.0), -32768L, 32767L));
    return out;
}

std::vector<std::uint8_t> AudioCapture::renderNative(PcmFormat& format) const {
    if (blocks_.empty()) return {};
    format = blocks_.front().format;
    const int frameBytes = bytesPerFrame(format);
    const auto frames = static_cast<std::size_t>(std::llround(endMs() * format.rate / 1000.0));
    std::vector<std::uint8_t> out(frames * static_cast<std::size_t>(frameBytes),
                                  format.bits == 8 ? 128 : 0);
    for (const auto& b : blocks_) {
        const auto at = static_cast<std::size_t>(std::llround(b.startMs * format.rate / 1000.0)) *
                        static_cast<std::size_t>(frameBytes);
        if (b.format == format) {
            const std::size_t n = std::min(b.data.size(), out.size() > at ? out.size() - at : 0);
            std::memcpy(out.data() + at, b.data.data(), n);
            continue;
        }
        // Another format: resampled into the first one.
        std::vector<double> mix(out.size() / static_cast<std::size_t>(frameBytes), 0.0);
        mixInto(mix, format.rate, b.startMs, b.endMs, b.format, b.data, false);
        for (std::size_t i = 0; i < mix.size(); ++i) {
            if (mix[i] == 0.0) continue;
            for (int c = 0; c < format.channels; ++c) {
                const std::size_t p = i * static_cast<std::size_t>(frameBytes) +
                                      static_cast<std::size_t>(c * (format.bits / 8));
                if (format.bits == 16)
                    put16(&out[p], static_cast<std::uint16_t>(static_cast<std::int16_t>(
                                       std::clamp(std::lround(mix[i] * 32767.0), -32768L, 32767L))));
                else
                    out[p] = static_cast<std::uint8_t>(std::clamp(std::lround(128 + mix[i] * 127.0), 0L, 255L));
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> waveFileImage(PcmFormat f, const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> image(44 + size);
    const auto align = static_cast<std::uint16_t>(f.channels * (f.bits / 8));
    std::memcpy(image.data(), "RIFF", 4);
    put32(&image[4], static_cast<std::uint32_t>(size + 36));
    std::memcpy(&image[8], "WAVEfmt ", 8);
    put32(&image[16], 16);
    put16(&image[20], 1);
    put16(&image[22], static_cast<std::uint16_t>(f.channels));
    put32(&image[24], static_cast<std::uint32_t>(f.rate));
    put32(&image[28], static_cast<std::uint32_t>(f.rate) * align);
    put16(&image[32], align);
    put16(&image[34], static_cast<std::uint16_t>(f.bits));
    std::memcpy(&image[36], "data", 4);
    put32(&image[40], static_cast<std::uint32_t>(size));
    if (size) std::memcpy(&image[44], data, size);
    return image;
}

bool writeWaveFile(const std::string& path, PcmFormat format, const std::uint8_t* data,
                   std::size_t size) {
    const auto image = waveFileImage(format, data, size);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(image.data(), 1, image.size(), f) == image.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace platform
