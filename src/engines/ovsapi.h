// ovsapi: the speech-engine dispatcher. The speech front-end talks to one
// external engine through five operations without knowing which one it is:
// kind 3 the Veluz engine, 5 SAPI 5, any other SAPI 4.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ovsapi {

void startUp();

// Starts the engine of `kind` and waits until it is idle. False when it
// could not start (the built-in voice stays in use).
bool engineStart(int voice, int speed, int pitch, int kind, const std::string& outputFile);
void engineSpeak(std::string_view text);
// Handles waiting window messages, then tells whether the engine speaks
// (mode 1: only whether texts are still queued).
bool engineBusy(std::uint8_t mode);
void engineStop();
void engineEnd();

int selectedEngine();

}  // namespace ovsapi
