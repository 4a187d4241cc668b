// ovwin: the speech front-end. Everything the program says is written into
// the console and spoken in the same call. `speak` routes a text to the
// synthesizer in force: the buffering route, an external engine, or the
// built-in route, which plays recorded characters and number words and hands
// words to the diphone voice.
//
// Everything runs on the main thread; every wait handles window messages, and
// a pending key silences speech at once and stays queued for the game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ovwin {

// Module start-up, once per process, after every other module: COM, the
// initial state, the click sound and `startFolder` (the current folder).
void startUp();

// ------------------------------------------------------- spoken output

// Writes the text to the console's standard output, then speaks it.
void speakWrite(std::string_view text);
// speakWrite, a line end, and the buffered text if any. The game's call.
void speakWriteLine(std::string_view text);
// Routes the text; returns when it has been handed over (the built-in
// route returns when the last sound has finished or a key cut it short).
void speak(std::string_view text);
// True while recorded sound or the engine still sounds. A pending key
// silences everything and the answer is false.
bool speechBusy();
// Silences wave playback and the engine at once and ends the built-in walk.
void speechStop();
// Before a recorded sound: waits until the engine's last text has sounded.
void waitForEngine();

// While on, speak() only collects texts; speaking an empty text speaks them.
void setBufferSpeech(bool on);

// --------------------------------------------------------- configuration

// The value of a key of ORALIS.INI (the Windows folder's copy, else the one
// in startFolder), with the program-folder markers "@" expanded. Empty when
// absent. An empty section means "ORALIS".
std::string readSetting(std::string_view section, std::string_view key);
const std::string& startFolder();

// -------------------------------------------------- start-up and the end

// Chooses the speed profile (speed below 1: [TRADUTOR] VELOCIDADE), loads the
// diphone voice (a failure ends the program after Enter), fixes the folders
// and starts an external engine when configured.
void speechStart(int speed, const std::string& wordsFolder);
// Speaks the buffer, waits for silence, stops and releases the synthesizers.
void speechEnd();
void readSpeedSettings(int speed);
void applySynthSettings(int trimLength, int minimumKept, int wordGap, bool skipPeriods,
                        bool rateBoost);

// What start-up chose.
struct SpeechSettings {
    int speed = 0;
    std::string wordsFolder, lettersFolder;
    int pauseAfterPeriod = 250, pauseAfterComma = 150, pauseAfterColon = 200;
    bool engineActive = false;
    int engineKind = 4;
};
const SpeechSettings& settings();

// ------------------------------------------------ the built-in route

// Speaks the text with recorded sounds and the diphone voice.
void speakRecorded(std::string_view text);
void playLetterSound(std::uint8_t character);
void playNamedSound(std::string_view name);
void spellOut(std::string_view text);
void punctuationPause(std::string_view text);
void pauseUnlessKey(int milliseconds);
void playRepeatClick();
// Writes the 44-byte header of an 8- or 16-bit PCM image in memory.
void fillWaveHeader(std::uint8_t* image, std::uint32_t dataSize, std::uint32_t rate,
                    std::uint16_t bits, std::uint16_t channels);
// Plays a complete WAVE image and waits while speech sounds.
void playImageAndWait(std::uint8_t* image, std::size_t size);
// a … z upper case; codes 224 … 255 lowered by 32.
std::string upperLatin1(std::string_view text);

}  // namespace ovwin
