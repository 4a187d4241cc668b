// The state of the diphone voice, shared by the files of the ovinter module:
// the database (voice_database.cpp), the reading of phoneme strings
// (phoneme_reader.cpp) and the wave image (wave_image.cpp).
#pragma once

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "diphone/ovinter.h"

namespace ovinter::detail {

constexpr std::size_t kHeaderSize = 44;
constexpr std::size_t kRecordSize = 15;
constexpr std::size_t kLongestName = 8;         // of an index record
constexpr std::size_t kLongestLookupName = 12;  // names are cut to this before a look-up

struct VoiceState {
    std::string voiceName = "DIFONES2";
    std::string lettersFolder;
    std::string diphoneFolder;

    // The .IND file as read; records are decoded when searched.
    std::vector<std::uint8_t> index;
    std::size_t recordCount = 0;
    // The .DIF file and its size, to keep every read inside it.
    std::ifstream samples;
    std::uint64_t samplesSize = 0;

    int trimLength = 400, minimumKept = 0, wordGap = 100;

    // The wave image: empty while no voice is loaded, else kImageSize bytes
    // of which imageLength are in use (kHeaderSize: empty).
    std::vector<std::uint8_t> image;
    std::size_t imageLength = kHeaderSize;
    ImageListener listener = nullptr;
    std::minstd_rand noise;
};

VoiceState& voice();

// The wave image (wave_image.cpp).
bool appendDiphone(std::string_view name, int mode, double factor);
bool appendCharacterSound(std::string_view name);
void reserveImage(std::size_t n);
void flushImage();
void appendSilence(long long samples);
void appendNoise();

}  // namespace ovinter::detail
