// The state of the speech front-end, shared by its own files only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "speech/ovwin.h"

namespace ovwin::detail {

struct WinState {
    bool bufferSpeech = false;
    std::string speechBuffer;
    bool enginePending = true;
    bool stopRequested = false;
    bool punctuationSpoken = true;
    std::string engineOutputFile;
    std::string startFolder;
    SpeechSettings settings;
    std::array<std::uint8_t, 44 + 256> clickImage{};
};

WinState& win();

}  // namespace ovwin::detail
