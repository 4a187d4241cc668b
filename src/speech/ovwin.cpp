// Spoken console output: writing and speaking in one call, the routes of
// speak, and the waits every speaking loop shares.
#include "speech/ovwin.h"

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "engines/ovsapi.h"
#include "platform/platform.h"
#include "speech/ovwin_state.h"

namespace ovwin {

using detail::win;

namespace detail {

WinState& win() {
    static WinState s;
    return s;
}

}  // namespace detail

namespace {

constexpr std::int32_t kWakeUp = 1123;

bool isLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128; }

}  // namespace

void setBufferSpeech(bool on) { win().bufferSpeech = on; }

void speakWrite(std::string_view text) {
    ovcrt::write(text);
    speak(text);
}

void speakWriteLine(std::string_view text) {
    speakWrite(text);
    ovcrt::write("\r\n");
    if (!win().speechBuffer.empty()) speak("");
}

void speak(std::string_view input) {
    auto& s = win();
    std::string text(input);
    if (s.bufferSpeech) {
        if (!text.empty()) {
            if (isLetter(static_cast<std::uint8_t>(text[0]))) s.speechBuffer += ' ';
            s.speechBuffer += text;
            return;
        }
        text = std::move(s.speechBuffer);
        s.speechBuffer.clear();
    }
    if (platform::transcriptEnabled()) platform::transcript("speak " + text);

    if (s.settings.engineActive) {
        while (speechBusy()) platform::waitMessage();
        if (!ovcrt::keyPressed()) {
            ovsapi::engineSpeak(text);
            s.enginePending = true;
        }
        return;
    }
    speakRecorded(text);
}

bool speechBusy() {
    if (ovcrt::keyPressed()) {
        speechStop();
        return false;
    }
    if (win().settings.engineActive) return ovwav::wavePlaying() || ovsapi::engineBusy(0);
    return ovwav::wavePlaying();
}

void speechStop() {
    auto& s = win();
    ovwav::waveStop();
    s.stopRequested = true;
    if (s.settings.engineActive && (ovsapi::engineBusy(0) || s.settings.engineKind == 3))
        ovsapi::engineStop();
    platform::postMessage(platform::Message{platform::MessageKind::Private, 0, 0, 0, 0, 0, 0, kWakeUp});
}

void waitForEngine() {
    auto& s = win();
    if (!s.enginePending) return;
    while (speechBusy()) platform::waitMessage();
    s.enginePending = false;
}

}  // namespace ovwin
