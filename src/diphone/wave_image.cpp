// The wave image: diphones, character sounds, silences and noise are appended
// to one 64000-byte image, which is played (and emptied) whenever the next
// piece would not fit, and at the end of a phoneme string.
//
// Nothing is ever written past the image: a piece longer than what an empty
// image holds is spread over consecutive images.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "diphone/ovinter_state.h"
#include "platform/platform.h"
#include "speech/ovwin.h"

namespace ovinter::detail {

namespace {

constexpr std::uint8_t kSilence = 128;
constexpr std::size_t kSilenceStep = 100;
constexpr std::size_t kNoiseLength = 300;
constexpr int kNoiseBase = 88, kNoiseSpread = 80;  // 88 … 167, around the silence level

std::size_t roomLeft() { return kImageSize - voice().imageLength; }

// Appends up to `count` bytes read from `in` (fewer when it ends early).
void appendFrom(std::istream& in, std::uint64_t count) {
    auto& s = voice();
    reserveImage(static_cast<std::size_t>(std::min<std::uint64_t>(count, kImageSize)));
    while (count > 0) {
        if (roomLeft() == 0) reserveImage(1);
        const std::size_t take =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, roomLeft()));
        in.read(reinterpret_cast<char*>(s.image.data() + s.imageLength),
                static_cast<std::streamsize>(take));
        const auto got = static_cast<std::size_t>(in.gcount());
        s.imageLength += got;
        count -= got;
        if (got < take) break;
    }
}

constexpr std::size_t kFadeSamples = 44;     // 4 ms at 11025 Hz
constexpr std::size_t kPeriodSearch = 256;   // longer than the longest pitch period

// Fades the last samples of the image, which end a diphone cut short, when
// they are a sound swinging around the silent level (a voiced or noisy
// sound; a level that never crosses silence has no period to break).
void fadeOutCutEnd(std::size_t appended) {
    auto& s = voice();
    const std::size_t inImage = s.imageLength > kHeaderSize ? s.imageLength - kHeaderSize : 0;
    const std::size_t searched = std::min({kPeriodSearch, appended, inImage});
    bool swings = false;
    for (std::size_t k = s.imageLength - searched + 1; k < s.imageLength && !swings; ++k)
        swings = s.image[k - 1] < kSilence && s.image[k] >= kSilence;
    if (!swings) return;
    const std::size_t n = std::min(kFadeSamples, searched);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t& sample = s.image[s.imageLength - n + i];
        const auto kept = static_cast<long>(n - i - 1);
        sample = static_cast<std::uint8_t>(kSilence + (static_cast<long>(sample) - kSilence) * kept /
                                                          static_cast<long>(n));
    }
}

}  // namespace

// An unstressed diphone (mode below 2, more than one phoneme) loses
// trimLength samples at its end but keeps at least minimumKept; a factor
// below 1 keeps only the beginning. The samples read are the part of the
// diphone's run that lies inside the .DIF file.
bool appendDiphone(std::string_view name, int mode, double factor) {
    auto& s = voice();
    const auto entry = findDiphone(name);
    if (!entry) return false;

    const long long full = entry->length;
    long long kept = full;
    if (mode < 2 && name.size() > 2) {
        kept = full - s.trimLength;
        if (kept < s.minimumKept) kept = full < s.minimumKept ? full : s.minimumKept;
    }
    kept = std::clamp(kept, 0LL, full);
    const double scaled = std::trunc(static_cast<double>(kept) * factor);
    long long count = scaled > 0 ? std::min(static_cast<long long>(scaled), kept) : 0;

    if (entry->offset < 0 || static_cast<std::uint64_t>(entry->offset) >= s.samplesSize)
        count = 0;
    else
        count = std::min<long long>(count, static_cast<long long>(s.samplesSize) - entry->offset);
    if (count <= 0) return true;

    s.samples.clear();
    s.samples.seekg(entry->offset);
    if (!s.samples) return true;
    appendFrom(s.samples, static_cast<std::uint64_t>(count));
    // A factor below 1 cuts the diphone in the middle of a pitch period:
    // its last few milliseconds fade to the silent level, so that the join
    // with what follows does not click.
    if (factor < 1.0 && count < kept) fadeOutCutEnd(static_cast<std::size_t>(count));
    return true;
}

bool appendCharacterSound(std::string_view name) {
    auto& s = voice();
    std::ifstream file(platform::nativePath(s.lettersFolder + std::string(name) + ".wav"),
                       std::ios::binary);
    if (!file) return false;
    const std::uint32_t length = findDataChunk(file);
    if (length == 0) return false;
    // A data chunk that claims more than the file holds plays what is there.
    appendFrom(file, length);
    return true;
}

void reserveImage(std::size_t n) {
    if (voice().imageLength + n < kImageSize) return;
    flushImage();
    while (ovwin::speechBusy()) platform::waitMessage();
}

void flushImage() {
    auto& s = voice();
    if (s.imageLength == kHeaderSize) return;
    const auto length = s.imageLength;
    s.imageLength = kHeaderSize;
    ovwin::fillWaveHeader(s.image.data(), static_cast<std::uint32_t>(length - kHeaderSize),
                          kSampleRate, 8, 1);
    if (s.listener) s.listener(std::span<const std::uint8_t>(s.image.data(), length));
    ovwin::playImageAndWait(s.image.data(), length);
}

// Whole steps of 100 samples; a remainder below 100 is dropped.
void appendSilence(long long samples) {
    auto& s = voice();
    for (long long step = 0; step < samples / static_cast<long long>(kSilenceStep); ++step) {
        reserveImage(kSilenceStep);
        std::memset(s.image.data() + s.imageLength, kSilence, kSilenceStep);
        s.imageLength += kSilenceStep;
    }
}

// About 27 ms of noise around the silence level: the sound of a phoneme the
// voice lacks.
void appendNoise() {
    auto& s = voice();
    reserveImage(kNoiseLength);
    std::uniform_int_distribution<int> spread(0, kNoiseSpread - 1);
    for (std::size_t i = 0; i < kNoiseLength; ++i)
        s.image[s.imageLength + i] = static_cast<std::uint8_t>(kNoiseBase + spread(s.noise));
    s.imageLength += kNoiseLength;
}

}  // namespace ovinter::detail
