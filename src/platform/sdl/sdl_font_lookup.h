// Finding a fixed-pitch font file through fontconfig.
#pragma once

#include <optional>
#include <string>

namespace platform::sdl {

struct FontFile {
    std::string path;
    int index = 0;          // face within the file
    bool embolden = false;  // bold was asked for but the file is not bold
};

// The best fixed-pitch match for a face name and a Windows weight (400 normal,
// 700 bold, 0 normal). A face that is not installed, or whose best match is
// proportional, falls back to the system's "monospace".
std::optional<FontFile> findFixedPitchFont(const std::string& face, int weight);

}  // namespace platform::sdl
