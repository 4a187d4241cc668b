// ovinter: the built-in diphone voice. It owns the voice database (an index
// file .IND and a sample file .DIF in the diphone folder, the recorded
// character sounds in the letters folder) and speaks the phoneme strings of
// the translator (ovtradut) by joining recorded diphones into one 8-bit wave
// image of at most 64000 bytes, played through the speech front-end.
//
// Voice files (numbers little-endian):
//   NAME.IND  15-byte records sorted by name: name length (1, 0 … 8), name
//             (8, upper case, "$" + phonemes), length in samples (2,
//             unsigned), offset into the .DIF file (4, signed)
//   NAME.DIF  raw samples, unsigned 8 bits, mono, 11025 per second
//   _<code>.wav in the letters folder: the sound of a character
//
// A damaged voice never crashes the speech: runs that stick out of the .DIF
// file are cut to what the file holds, names longer than 8 never match, and
// whatever cannot be found falls back to shorter names, to a short noise or
// to nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ovinter {

// Size of the wave image, its 44-byte header included.
constexpr std::size_t kImageSize = 64000;
constexpr int kSampleRate = 11025;

// Module start-up, once per process: the default voice name, no voice
// loaded, trimming 400 / 0 / 100.
void startUp();

// The stem of the two voice files (at most 8 characters).
void setVoiceName(std::string_view name);
const std::string& voiceName();
// Folders of the character sounds and of the voice, ending with a backslash,
// in the system's spelling. Empty until the first load.
const std::string& voiceLettersFolder();
const std::string& voiceDiphoneFolder();

// Reads [TRADUTOR] dirLetras and DIRDIFONES of ORALIS.INI, opens the two
// voice files and loads the translator's regras.rgr and portug.exc from the
// diphone folder. 0 success, 1 voice not available (a folder or a voice file
// missing), 2 dictionary not available. The current folder is left as it
// was. After a failure, releaseDiphoneVoice() frees what was opened.
int loadDiphoneVoice();
void releaseDiphoneVoice();
bool voiceLoaded();
// Trim length, minimum kept length and word gap, in samples.
void setDiphoneSettings(int trimLength, int minimumKept, int wordGap);

// ------------------------------------------------------------ look-ups

struct DiphoneIndexEntry {
    std::string name;          // as stored, at most 8 characters
    std::uint16_t length = 0;  // samples
    std::int32_t offset = 0;   // byte position of the first sample in the .DIF file
};

// Number of whole records of the loaded index.
std::size_t diphoneCount();
// The record named `name` (a to z compared as upper case), by bisection.
// Names of more than 8 characters are never found.
std::optional<DiphoneIndexEntry> findDiphone(std::string_view name);
// Reads the framing of a RIFF WAVE file: "RIFF", then "fmt " as the first
// chunk, then chunks up to "data" (identifiers in any case, no pad bytes).
// Returns the data chunk's length with the stream at its first byte, or 0
// when the file is not usable.
std::uint32_t findDataChunk(std::istream& file);

// ------------------------------------------------------------ speaking

// Speaks a phoneme string of the translator and returns when it has been
// played (or a pending key silenced it). With namePunctuation false, the
// units "_," "_." "_;" "_:" are pauses; with it true they are the recorded
// sounds of the marks.
void speakPhonemes(std::string_view phonemes, bool namePunctuation);

// Called with every image (header included) just before it is played, for
// tests and tools that look at what the voice assembled. Null: none.
using ImageListener = void (*)(std::span<const std::uint8_t> image);
void setImageListener(ImageListener listener);

}  // namespace ovinter
