// Where ORALIS.INI is looked for, and how one key is read: the Windows
// folder's copy first, else the one in the folder the program started in;
// "@" markers stand for the program folder ([ORALIS] PGMORALIS).
#include <filesystem>

#include "platform/platform.h"
#include "speech/ovwin_state.h"

namespace ovwin {

using detail::win;

namespace {

constexpr std::size_t kValueBuffer = 255;

std::string configurationFile() {
    std::error_code ec;
    const std::string inWindows = platform::nativePath(platform::windowsFolder() + "\\ORALIS.INI");
    if (std::filesystem::is_regular_file(inWindows, ec)) return "ORALIS.INI";
    return win().startFolder + "\\ORALIS.INI";
}

std::string programFolder(const std::string& file) {
    std::string folder = platform::readProfileString("ORALIS", "PGMORALIS", "", file, kValueBuffer);
    if (folder.empty() || folder[0] == '@') return win().startFolder;
    return folder;
}

}  // namespace

const std::string& startFolder() { return win().startFolder; }

std::string readSetting(std::string_view section, std::string_view key) {
    const std::string file = configurationFile();
    const std::string sectionName = section.empty() ? "ORALIS" : std::string(section);
    const std::string value =
        platform::readProfileString(sectionName, std::string(key), "", file, kValueBuffer);
    // A marker is an "@" at the start, or an "@" followed by a backslash; only
    // the "@" is replaced, and what is put in is not looked at again.
    std::string result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const bool marker =
            value[i] == '@' && (i == 0 || (i + 1 < value.size() && value[i + 1] == '\\'));
        if (marker) result += programFolder(file);
        else result += value[i];
    }
    return result;
}

}  // namespace ovwin
