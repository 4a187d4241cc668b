#include "speech/ovwin.h"

#include "console/ovcrt.h"
#include "platform/platform.h"

namespace ovwin {

void startUp() {}

void speakWrite(std::string_view text) {
    ovcrt::write(text);
    speak(text);
}

void speakWriteLine(std::string_view text) {
    speakWrite(text);
    ovcrt::write("\r\n");
}

// No synthesizer is started yet: every text is logged as spoken.
void speak(std::string_view text) {
    if (platform::transcriptEnabled()) platform::transcript("speak " + std::string(text));
}

bool speechBusy() {
    if (ovcrt::keyPressed()) {
        speechStop();
        return false;
    }
    return false;
}

void speechStop() {}

void speechStart(int, const std::string&) {}

void speechEnd() {}

}  // namespace ovwin
