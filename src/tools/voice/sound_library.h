// Writing the recordings into the letters folder under the names the speech
// front-end looks for: _<code>.wav for characters, _<name>.wav for the
// words of numbers and the other named sounds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tools/voice/espeak_voice.h"
#include "tools/voice/voice_tables.h"

namespace voice {

// Sample bytes a file may hold, exclusive. A character sound must fit an
// emptied synthesis image; number words are joined into an image of 30000
// bytes, so one word must leave room for others.
inline constexpr std::size_t kCharacterSoundLimit = 63956;
inline constexpr std::size_t kNamedSoundLimit = 30000;

// som/letras inside a data folder.
std::filesystem::path lettersFolder(const std::filesystem::path& dataFolder);

struct WriteResult {
    int files = 0;
    std::uintmax_t sampleBytes = 0;
    std::string error;  // the first failure; writing stops there
};

// The placeholder tone as _1.wav and the spoken name of every code given.
WriteResult writeCharacterSounds(const std::map<int, std::string>& names,
                                 const std::filesystem::path& folder,
                                 const EspeakSettings& settings = {});

WriteResult writeNamedSounds(const std::vector<NamedSound>& sounds,
                             const std::filesystem::path& folder,
                             const EspeakSettings& settings = {});

}  // namespace voice
