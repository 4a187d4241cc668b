// OvCrt: the text console of the system. An 80 × 25 grid of coloured
// Windows-1252 characters in a desktop window, with the process's standard
// output and input bound to it, a queue of one-byte key codes, an optional
// Braille chord keyboard, a magnifier, tones and pauses.
//
// Everything here runs on the main thread. Every waiting loop of the program
// must pump messages (keyPressed, delay, pumpMessages), or keys are not
// queued, the window is not repainted and sound blocks do not come back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace ovcrt {

constexpr int kColumns = 80;
constexpr int kRows = 25;
constexpr int kQueueCapacity = 64;

// ------------------------------------------------------------- start-up

// Starts the console once per process: binds std::cout and std::cin to the
// console, installs the window procedure and the end-of-program procedure.
// The window itself opens at the first output, clearing or key test.
void startUp();

// -------------------------------------------------------- window and text

void createConsoleWindow();
// Writes the characters at the cursor and draws them at once. Codes 7
// (bell), 8 (backspace), 10 (line feed) and 13 (carriage return) act; other
// codes below 32 are ignored; at most 65535 characters count.
void writeChars(std::string_view characters);
void clearScreen();
// Column and row count from 1 and are clamped to the grid.
void gotoXY(int column, int row);
// Handles every waiting message; a quit message ends the program (255).
void pumpMessages();
// Empties the key queue, destroys the window and ends the program (0).
[[noreturn]] void closeConsole();

// Standard output of the console: the text shows at once.
void write(std::string_view text);
void writeLine(std::string_view text);
// Standard input: one line typed with echo, without its CR LF.
std::string readStandardLine();

// The receiver of the sound device's block-done messages (slot, result).
using WaveDoneHandler = void (*)(int slot, int result);
void setWaveDoneHandler(WaveDoneHandler handler);

// ----------------------------------------------------------- keyboard

// Creates the window if needed, handles the waiting messages and tells
// whether a key is queued. Never waits, never takes the key.
bool keyPressed();
// Waits for a key and returns its code (0 then a second code for function,
// cursor and Alt keys).
std::uint8_t readKey();
// Line input with echo into `buffer` (up to capacity − 2 characters, then
// CR LF). Returns the count including CR LF.
int readLine(char* buffer, int capacity);
// 0 off, 1 Braille cells, 2 Braille cells with capital and number signs;
// announces the mode with tones.
void setBrailleMode(int mode);

// --------------------------------------------------------- tones, pauses

// Sleeps without handling messages, then handles them once.
void delay(std::uint16_t milliseconds);
// Starts a looping square-wave tone; sound(0) is silence.
void sound(std::uint16_t hertz);
void noSound();
// The 8-bit 11025 Hz WAVE image that sound(hertz) plays (11071 bytes with
// the header; only the data size counts).
std::vector<std::uint8_t> buildToneImage(std::uint16_t hertz);

// ------------------------------------------------------ display settings

// Reads [VIDEO] and [BRAILLE] of ORALIS.INI and creates the font.
void loadDisplaySettings();
// TABCORES: the colour map that the value gives, starting from `map`.
std::array<std::uint8_t, 16> parseColourTable(std::string_view value,
                                              std::array<std::uint8_t, 16> map);
// An integer read the way the platform reads one: blanks, sign, decimal or
// "$"/"0x" hexadecimal, up to the first character that does not belong.
// `complete` tells whether the whole text was the number.
std::int32_t readInteger(std::string_view text, bool* complete = nullptr);

// ---------------------------------------------- what the console holds

struct Cursor {
    int column, row;
};
Cursor cursor();
std::uint8_t cellCharacter(int column, int row);
std::uint8_t cellAttribute(int column, int row);
std::uint8_t textAttr();
void setTextAttr(std::uint8_t attribute);
std::array<std::uint8_t, 16> colourMap();
int brailleMode();
int magnification();
bool scrollByCopying();
bool openMaximized();
int queuedKeyCount();
platform::Rgb paletteColour(std::uint8_t colourNumber);

}  // namespace ovcrt
