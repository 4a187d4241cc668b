#include "diphone/ovinter.h"

#include "platform/platform.h"

namespace ovinter {
namespace {

struct VoiceState {
    std::string voiceName = "DIFONES2";
    std::string lettersFolder;
    std::string diphoneFolder;
    int trimLength = 400, minimumKept = 0, wordGap = 100;
};

VoiceState& state() {
    static VoiceState s;
    return s;
}

// The folders are read straight from the Windows folder's ORALIS.INI.
std::string readFolder(const char* key, const char* fallback) {
    std::string folder = platform::readProfileString("TRADUTOR", key, fallback, "ORALIS.INI", 80);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

void startUp() {
    state() = VoiceState{};
    setDiphoneSettings(400, 0, 100);
}

void setVoiceName(std::string_view name) { state().voiceName = std::string(name.substr(0, 8)); }
const std::string& voiceName() { return state().voiceName; }
const std::string& voiceLettersFolder() { return state().lettersFolder; }
const std::string& voiceDiphoneFolder() { return state().diphoneFolder; }

// The diphone database is not part of this build yet: the load finds the
// folders and succeeds, and words are spelled with the character sounds.
int loadDiphoneVoice() {
    auto& s = state();
    s.lettersFolder = readFolder("dirLetras", "c:\\sonare\\som\\letras");
    s.diphoneFolder = readFolder("DIRDIFONES", "c:\\sonare\\som\\difones");
    return 0;
}

void releaseDiphoneVoice() {}

void setDiphoneSettings(int trimLength, int minimumKept, int wordGap) {
    auto& s = state();
    s.trimLength = trimLength;
    s.minimumKept = minimumKept;
    s.wordGap = wordGap;
}

}  // namespace ovinter
