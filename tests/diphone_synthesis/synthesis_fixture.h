// The diphone voice on the headless backend, with voices built by the tests.
//
// Every unit of a test voice (and every character sound) is made of one
// sample value of its own, so an assembled image reads back as a list of
// runs: "KA:500 .:100 S:200" is 500 samples of $KA, 100 of silence, 200 of
// $S. Bytes of the noise burst (88 … 167, not 128) show as "~", and a run of
// silence and noise that touch each other as "~" too.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace synthtest {

namespace fs = std::filesystem;

fs::path root();
fs::path windowsFolder();
fs::path lettersFolder();
fs::path diphoneFolder();
// The folder standing for "c:\sonare" (ORALIS_DATADIR).
fs::path dataFolder();

// ORALIS.INI with [TRADUTOR] dirLetras and DIRDIFONES (omitted when empty).
void writeIni(const std::string& letters, const std::string& diphones);
// The folders above, and empty dictionaries in the diphone folder.
void writeStandardIni();
void writeDictionaries(const fs::path& folder);

// The sample value that stands for a unit ("KA" for $KA) or a character
// sound ("_100"); never 128 nor a noise value.
std::uint8_t sampleOf(const std::string& label);

struct Unit {
    std::string name;  // "$KA"
    std::size_t length;
};
// NAME.IND and NAME.DIF for the units: the index sorted, the runs laid out
// in the .DIF in the opposite order.
void writeVoice(const fs::path& folder, const std::vector<Unit>& units,
                const std::string& stem = "DIFONES2");

// One raw 15-byte index record.
std::string indexRecord(std::string_view name, std::uint8_t declaredLength, std::uint16_t length,
                        std::int32_t offset);
void writeFile(const fs::path& path, const std::string& bytes);

// A RIFF WAVE file: "fmt " (16 bytes), optional chunks, then "data" of
// `length` bytes of `value`, with `declared` in its header (default: length).
std::string waveFile(std::size_t length, std::uint8_t value,
                     const std::string& chunksBeforeData = "", std::int64_t declared = -1);
std::string chunk(const char (&id)[5], const std::string& body);
void put32(std::string& s, std::uint32_t v);
// The letters folder's _<code>.wav of `length` samples of sampleOf("_<code>").
void writeCharacterSound(int code, std::size_t length);

// The images played since the last call, headers included.
std::vector<std::vector<std::uint8_t>> takeImages();
// The runs of one image's samples.
std::string describe(const std::vector<std::uint8_t>& image);
// Speaks the phonemes; the images played, described and joined by " | ".
std::string spoken(std::string_view phonemes, bool namePunctuation = false);

}  // namespace synthtest
