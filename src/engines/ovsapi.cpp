#include "engines/ovsapi.h"

#include "console/ovcrt.h"

namespace ovsapi {
namespace {

struct DispatcherState {
    int selectedEngine = 4;
};

DispatcherState& state() {
    static DispatcherState s;
    return s;
}

// No external engine is built into this program yet: every start fails and
// the built-in voice speaks.
bool startSelected(int, int, int, const std::string&) { return false; }

}  // namespace

void startUp() { state() = DispatcherState{}; }

bool engineStart(int voice, int speed, int pitch, int kind, const std::string& outputFile) {
    state().selectedEngine = kind;
    const bool started = startSelected(voice, speed, pitch, outputFile);
    if (started) {
        while (engineBusy(1)) ovcrt::delay(50);
    }
    return started;
}

void engineSpeak(std::string_view) {}

bool engineBusy(std::uint8_t) {
    ovcrt::pumpMessages();
    return false;
}

void engineStop() {}
void engineEnd() {}

int selectedEngine() { return state().selectedEngine; }

}  // namespace ovsapi
