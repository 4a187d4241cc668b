#include "platform/common/wave_stream.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

std::size_t frameBytes(PcmFormat f) { return static_cast<std::size_t>(std::max(1, f.channels * (f.bits / 8))); }

double durationMs(PcmFormat f, std::size_t bytes) {
    return f.rate > 0 ? 1000.0 * static_cast<double>(bytes / frameBytes(f)) / f.rate : 0.0;
}

double frameValue(PcmFormat f, const std::vector<std::uint8_t>& data, std::size_t frame) {
    const std::size_t at = frame * frameBytes(f);
    double sum = 0;
    for (int c = 0; c < f.channels; ++c) {
        if (f.bits == 16) {
            const std::size_t i = at + static_cast<std::size_t>(2 * c);
            sum += static_cast<std::int16_t>(data[i] | data[i + 1] << 8) / 32768.0;
        } else {
            sum += (data[at + static_cast<std::size_t>(c)] - 128) / 128.0;
        }
    }
    return sum / f.channels;
}

// A block of another format, resampled into `to` (linear interpolation).
std::vector<std::uint8_t> convert(PcmFormat from, const std::vector<std::uint8_t>& data, PcmFormat to) {
    const std::size_t frames = data.size() / frameBytes(from);
    const auto outFrames = static_cast<std::size_t>(static_cast<double>(frames) * to.rate / from.rate);
    std::vector<std::uint8_t> out(outFrames * frameBytes(to));
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double pos = static_cast<double>(i) * from.rate / to.rate;
        const auto k = std::min(static_cast<std::size_t>(pos), frames - 1);
        const double v = frameValue(from, data, k);
        for (int c = 0; c < to.channels; ++c) {
            const std::size_t p = i * frameBytes(to) + static_cast<std::size_t>(c * (to.bits / 8));
            if (to.bits == 16) {
                const auto s = static_cast<std::uint16_t>(
                    static_cast<std::int16_t>(std::clamp(std::lround(v * 32767.0), -32768L, 32767L)));
                out[p] = static_cast<std::uint8_t>(s);
                out[p + 1] = static_cast<std::uint8_t>(s >> 8);
            } else {
                out[p] = static_cast<std::uint8_t>(std::clamp(std::lround(128 + v * 127.0), 0L, 255L));
            }
        }
    }
    return out;
}

}  // namespace

WaveStream::~WaveStream() {
    if (file_) close();
}

bool WaveStream::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    const std::uint8_t header[44] = {};
    failed_ = std::fwrite(header, 1, sizeof header, file_) != sizeof header;
    return !failed_;
}

void WaveStream::block(double nowMs, PcmFormat format, const std::uint8_t* data, std::size_t size) {
    writeFinished(nowMs);
    if (!haveFormat_) {
        format_ = format;
        haveFormat_ = true;
    }
    const double start = std::max(nowMs, deviceEndMs_);
    const double end = start + durationMs(format, size);
    pending_.push_back(Pending{start, end, format, std::vector<std::uint8_t>(data, data + size)});
    deviceEndMs_ = end;
}

void WaveStream::reset(double nowMs) {
    writeFinished(nowMs);
    // The blocks still pending had not sounded whole: keep what had.
    for (auto& b : pending_) {
        if (b.startMs >= nowMs) {
            b.data.clear();
            continue;
        }
        const auto frames = static_cast<std::size_t>((nowMs - b.startMs) * b.format.rate / 1000.0);
        b.data.resize(std::min(b.data.size(), frames * frameBytes(b.format)));
    }
    while (!pending_.empty()) {
        if (!pending_.front().data.empty()) write(pending_.front());
        pending_.pop_front();
    }
    deviceEndMs_ = nowMs;
}

void WaveStream::writeFinished(double nowMs) {
    while (!pending_.empty() && pending_.front().endMs <= nowMs) {
        write(pending_.front());
        pending_.pop_front();
    }
}

void WaveStream::write(const Pending& b) {
    const std::vector<std::uint8_t> data = b.format == format_ ? b.data : convert(b.format, b.data, format_);
    const auto startFrame = static_cast<std::uint64_t>(std::llround(b.startMs * format_.rate / 1000.0));
    const std::size_t frame = frameBytes(format_);
    if (startFrame > framesWritten_) {
        const auto gap = static_cast<std::size_t>(startFrame - framesWritten_) * frame;
        const std::vector<std::uint8_t> silence(gap, format_.bits == 8 ? 128 : 0);
        failed_ |= std::fwrite(silence.data(), 1, silence.size(), file_) != silence.size();
        framesWritten_ = startFrame;
    }
    failed_ |= std::fwrite(data.data(), 1, data.size(), file_) != data.size();
    framesWritten_ += data.size() / frame;
}

bool WaveStream::close() {
    if (!file_) return !failed_;
    writeFinished(1e300);
    const std::uint64_t bytes = framesWritten_ * frameBytes(format_);
    const auto header = waveFileImage(format_, nullptr, 0);
    std::vector<std::uint8_t> h(header.begin(), header.begin() + 44);
    const auto size = static_cast<std::uint32_t>(bytes);
    for (int i = 0; i < 4; ++i) {
        h[static_cast<std::size_t>(4 + i)] = static_cast<std::uint8_t>((size + 36) >> (8 * i));
        h[static_cast<std::size_t>(40 + i)] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    failed_ |= std::fseek(file_, 0, SEEK_SET) != 0;
    failed_ |= std::fwrite(h.data(), 1, h.size(), file_) != h.size();
    failed_ |= std::fclose(file_) != 0;
    file_ = nullptr;
    return !failed_;
}

}  // namespace platform
