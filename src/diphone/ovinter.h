// ovinter: the built-in diphone voice: its database, its folders and the
// synthesis of phoneme strings.
#pragma once

#include <string>
#include <string_view>

namespace ovinter {

void startUp();

// The stem of the two voice files (at most 8 characters).
void setVoiceName(std::string_view name);
const std::string& voiceName();
// Folders of the character sounds and of the voice, ending with a backslash,
// in the system's spelling.
const std::string& voiceLettersFolder();
const std::string& voiceDiphoneFolder();

// 0 success, 1 voice not available, 2 dictionary not available.
int loadDiphoneVoice();
void releaseDiphoneVoice();
// Trim length, minimum kept length and word gap, in samples.
void setDiphoneSettings(int trimLength, int minimumKept, int wordGap);

}  // namespace ovinter
