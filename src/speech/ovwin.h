// ovwin: the speech front-end. Everything the program says is written into
// the console and spoken in the same call.
#pragma once

#include <string>
#include <string_view>

namespace ovwin {

// Starts the module once per process.
void startUp();

// Writes the text to the console's standard output and speaks it.
void speakWrite(std::string_view text);
// speakWrite, then a line end. The operation the game uses for every line.
void speakWriteLine(std::string_view text);
// Routes the text to the synthesizer in force.
void speak(std::string_view text);
// True while speech is still sounding; a pending key silences it (false).
bool speechBusy();
// Silences all speech at once.
void speechStop();

// Speech start-up: `speed` 0 is the configured speed; `wordFolder` names a
// folder of recorded words (empty: none). A voice that cannot load ends the
// program after telling the user.
void speechStart(int speed, const std::string& wordFolder);
// Waits for silence and releases the synthesizers.
void speechEnd();

}  // namespace ovwin
