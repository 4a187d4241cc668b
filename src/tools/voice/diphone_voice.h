// Writing the diphone voice into the data folder's som/difones: the units of
// diphone_units.h spoken by espeak-ng and cut out of their carriers (the
// index DIFONES.IND and the samples DIFONES.DIF), and the translator's two
// dictionaries converted from their UTF-8 sources into Windows-1252.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/voice/espeak_voice.h"

namespace voice {

// The stem of the two voice files, as data/ORALIS.INI names it for every
// speed.
inline constexpr const char* kDiphoneVoiceStem = "DIFONES";

// som/difones inside a data folder.
std::filesystem::path diphoneFolder(const std::filesystem::path& dataFolder);

// espeak-ng's settings for the units: the recordings' voice and rate, on one
// flat pitch so that units of different carriers join.
EspeakSettings unitSettings();

struct DiphoneUnitSound {
    std::string name;
    std::vector<std::uint8_t> samples;  // 8-bit unsigned, 11025 Hz
};

struct DiphoneBuild {
    std::vector<DiphoneUnitSound> units;  // in index order
    std::size_t period = 0;               // the median pitch period, in samples
    std::string error;                    // the first failure
};

// Speaks and cuts every unit, `jobs` espeak-ng processes at a time.
DiphoneBuild buildDiphoneUnits(int jobs);

// The two files' contents: 15-byte records sorted by name, and the samples.
struct DiphoneFiles {
    std::vector<std::uint8_t> index, samples;
};
DiphoneFiles diphoneFiles(const std::vector<DiphoneUnitSound>& units);

// A dictionary source (UTF-8; lines starting with "//" and empty lines are
// notes for its readers) as the translator reads it: Windows-1252, one entry
// a line. Errors name the line of a character the code page lacks.
struct DictionaryText {
    std::string windows1252;
    std::vector<std::string> errors;
    int lines = 0;
};
DictionaryText dictionaryText(std::string_view utf8Source);

}  // namespace voice
