// libFuzzer target: the WAVE reader over arbitrary bytes, both as an image in
// memory (parseWaveImage, playWaveBuffer) and as a file on disk
// (playWaveFile), played through the headless backend so that playing costs
// no real time. Besides the sanitizers' checks, it holds the two readers to
// the same judgement of which bytes are unusable, and the module to a closed
// device with nothing pending after every sound.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/ovwav.h"
#include "audio/wave_format.h"
#include "console/ovcrt.h"
#include "platform/platform.h"

namespace {

constexpr int kFastestPlayableRate = 40'000'000;

std::string& wavePath() {
    static std::string path;
    return path;
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "wave_reader_fuzz: %s\n", what);
    std::abort();
}

void waitForEnd() {
    while (ovwav::wavePlaying()) platform::waitMessage();
    require(ovwav::pendingBlocks() == 0 && !ovwav::deviceOpen(), "the device stays busy");
}

void checkInside(const ovwav::WaveImage& found, const std::vector<std::uint8_t>& image) {
    const std::uint8_t* begin = image.data();
    const std::uint8_t* end = begin + image.size();
    require(found.formatBlock.data() >= begin &&
                found.formatBlock.data() + found.formatBlock.size() <= end,
            "format block outside the image");
    require(found.formatBlock.size() >= ovwav::kMinFormatLength &&
                found.formatBlock.size() <= ovwav::kMaxFormatLength,
            "format block of a size that is not usable");
    require(found.data.data() >= begin && found.data.data() + found.data.size() <= end,
            "data outside the image");
    require(found.sizeThroughData ==
                static_cast<std::size_t>(found.data.data() - begin) + found.data.size(),
            "size through the data is not where the data ends");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("ORALIS_BACKEND", "headless", 1);
    unsetenv("ORALIS_KEYS");
    unsetenv("ORALIS_TRANSCRIPT");
    unsetenv("ORALIS_AUDIO_OUT");
    if (!platform::start()) std::abort();
    ovcrt::startUp();
    ovwav::startUp();
    wavePath() = (std::filesystem::temp_directory_path() /
                  ("oralis_wave_fuzz_" + std::to_string(::getpid()) + ".wav"))
                     .string();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The speed flags follow the input's size, so every path is reached.
    ovwav::waveRateBoost = (size & 1) != 0;
    ovwav::waveSkipPeriods = (size & 2) != 0;

    // A copy of exactly the input's size: any read beyond it is reported.
    std::vector<std::uint8_t> image(data, data + size);
    const auto found = ovwav::parseWaveImage(image);
    bool dataCut = false;
    if (found) {
        checkInside(*found, image);
        // The headless device cannot yet end a block that plays for less
        // than a microsecond (it waits for it for ever); no real device
        // opens for such rates anyway.
        if (found->format.samplesPerSecond > kFastestPlayableRate) return 0;
        const std::size_t header = static_cast<std::size_t>(found->data.data() - image.data());
        dataCut = ovwav::readLittle32(image.data() + header - 4) > found->data.size();
    }

    const int fromImage = ovwav::playWaveBuffer(image);
    waitForEnd();
    require((fromImage == -1) == !found, "the image's result disagrees with its reading");

    {
        std::ofstream out(wavePath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const int fromFile = ovwav::playWaveFile(wavePath());
    require(ovwav::pendingBlocks() == 0 && !ovwav::deviceOpen(), "the file left the device busy");
    if (!found) require(fromFile == -1, "the file played what the image reader refused");
    if (found && !dataCut) require(fromFile != -1, "the file refused what the image reader took");
    return 0;
}
