// The state of the console module, shared by its own files only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "console/ovcrt.h"
#include "platform/platform.h"

namespace ovcrt::detail {

struct CrtState {
    // Window and grid.
    bool created = false;
    bool focused = false;
    bool reading = false;
    bool painting = false;
    std::vector<std::uint8_t> characters;  // 80 × 25, row after row
    std::vector<std::uint8_t> attributes;
    int windowLeft = 0, windowTop = 0, windowRight = kColumns - 1, windowBottom = kRows - 1;
    int cursorX = 0, cursorY = 0;
    int lowChanged = 0, highChanged = 0;  // changed columns of the cursor's row
    std::uint8_t textAttr = 0x0F;
    std::array<std::uint8_t, 16> colourMap{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    bool hasFont = false;
    int cellWidth = 8, cellHeight = 16, ascent = 13, overhang = 0;
    int outerWidth = 0, outerHeight = 0;
    std::string title;
    bool scrollByCopying = false;
    bool openMaximized = false;
    WaveDoneHandler waveDone = nullptr;

    // Display settings and magnifier.
    int magnification = 2;
    bool magnifierActive = false;

    // Keyboard.
    std::array<std::uint8_t, kQueueCapacity> queue{};
    int queueHead = 0, queueCount = 0;
    int brailleMode = 0;
    std::uint8_t chord = 0, held = 0;
    bool capital = false, capsLock = false, number = false;

    // Tone.
    std::vector<std::uint8_t> toneImage;
};

CrtState& crt();

// Between the console's files.
bool handleKeyDown(const platform::Message& m);
bool handleKeyUp(const platform::Message& m);
void handleCharacter(const platform::Message& m);
void magnifierStart(int x, int y);
void magnifierFollow(int x, int y);
void magnifierEnd();
void showReadingCaret();
void hideReadingCaret();
[[noreturn]] void endWithBreak();
void bindStandardStreams();
std::uint8_t takeQueuedKey();

}  // namespace ovcrt::detail
