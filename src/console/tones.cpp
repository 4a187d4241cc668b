// Tones and pauses: a looping square wave in the manner of a PC speaker, and
// a pause that keeps the window alive.
#include <algorithm>
#include <cstring>

#include "console/crt_state.h"

namespace ovcrt {

using detail::crt;

namespace {

constexpr int kImageSize = 11071;  // 44-byte header and about one second of samples
constexpr int kRate = 11025;
constexpr std::uint8_t kLow = 96, kHigh = 160, kSilence = 128;

void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

std::vector<std::uint8_t> buildToneImage(std::uint16_t hertz) {
    std::vector<std::uint8_t> image(kImageSize, 0);
    if (hertz == 0) return image;
    const std::int32_t period = kRate / hertz;
    std::int32_t index = 44;
    std::int32_t n = 0;
    // Period n starts at byte 44 + n × 11025 div f, so the average frequency
    // is exact although each period is a whole number of samples. The first
    // period is written twice (n = 0).
    while (index <= kRate - period) {
        const std::int32_t half = period / 2;
        std::memset(&image[static_cast<std::size_t>(index)], kLow, static_cast<std::size_t>(half + 1));
        index += half;
        std::memset(&image[static_cast<std::size_t>(index)], kHigh,
                    static_cast<std::size_t>(period - half + 1));
        index = (n * kRate) / hertz + 44;
        ++n;
    }
    image[static_cast<std::size_t>(index - 1)] = kSilence;
    const auto dataSize = static_cast<std::uint32_t>(index - 44);

    std::uint8_t* h = image.data();
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, dataSize + 36);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, 1);
    put32(h + 24, kRate);
    put32(h + 28, kRate);
    put16(h + 32, 1);
    put16(h + 34, 8);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, dataSize);
    return image;
}

void delay(std::uint16_t milliseconds) {
    platform::sleepMs(milliseconds);
    pumpMessages();
}

void sound(std::uint16_t hertz) {
    auto& s = crt();
    noSound();
    if (hertz == 0) return;  // no period: silence
    s.toneImage = buildToneImage(hertz);
    platform::playToneLoop(s.toneImage.data(), s.toneImage.size(), hertz);
}

void noSound() {
    auto& s = crt();
    if (s.toneImage.empty()) return;
    platform::stopTone();
    s.toneImage.clear();
    s.toneImage.shrink_to_fit();
}

}  // namespace ovcrt
