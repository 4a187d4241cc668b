// The keyboard: a queue of 64 one-byte key codes in the manner of a PC text
// console (function, cursor and Alt keys give 0 and a second code), line
// input with echo, and the Braille chord keyboard laid over the letter keys.
#include <string>

#include "console/crt_state.h"

namespace ovcrt {

using detail::crt;
namespace vk = platform::vk;

namespace {

constexpr std::uint8_t kNoCharacter = 254;
constexpr std::uint8_t kCapitalSign = '{';  // dots 4-6
constexpr std::uint8_t kNumberSign = '#';   // dots 3-4-5-6
constexpr std::uint8_t kSpaceBit = 64;

// The character of each dot pattern: bit 0 is dot 1 … bit 5 is dot 6.
// Rows are dots 4-5-6, columns dots 1-2-3.
constexpr std::uint8_t kBraille[64] = {
    ' ',  'a', ',',  'b',  '\'', 'k', ';',  'l',   // none
    '^',  'c', 'i',  'f',  237,  'm', 's',  'p',   // 4
    '~',  'e', ':',  'h',  '*',  'o', '!',  'r',   // 5
    172,  'd', 'j',  'g',  227,  'n', 't',  'q',   // 4-5
    253,  226, '?',  234,  '-',  'u', '"',  'v',   // 6
    '{',  238, 245,  224,  243,  'x', 232,  231,   // 4-6
    '$',  251, 255,  252,  '}',  'z', '=',  225,   // 5-6
    '_',  244, 'w',  239,  '#',  'y', 250,  233};  // 4-5-6

// Function, cursor and editing keys: the code, and the code with Ctrl.
struct FunctionKey {
    std::uint32_t virtualKey;
    std::uint8_t code, ctrlCode;
};
constexpr FunctionKey kFunctionKeys[] = {
    {vk::F1, 59, 94},       {vk::F1 + 1, 60, 95},   {vk::F1 + 2, 61, 96},
    {vk::F1 + 3, 62, 97},   {vk::F1 + 4, 63, 98},   {vk::F1 + 5, 64, 99},
    {vk::F1 + 6, 65, 100},  {vk::F1 + 7, 66, 101},  {vk::F1 + 8, 67, 102},
    {vk::F10, 68, 103},     {vk::F11, 69, 104},     {vk::F12, 70, 105},
    {vk::Insert, 82, 255},  {vk::Delete, 83, 83},   {vk::Home, 71, 119},
    {vk::End, 79, 117},     {vk::Prior, 73, 132},   {vk::Next, 81, 118},
    {vk::Up, 72, 113},      {vk::Down, 80, 114},    {vk::Left, 75, 115},
    {vk::Right, 77, 116}};

// PC scan codes of the letters, for Alt+letter.
constexpr std::uint8_t kLetterScanCodes[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                               49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

bool isLetterKey(std::uint32_t key) { return key >= vk::LetterA && key < vk::LetterA + 26; }
bool isDigitKey(std::uint32_t key) { return key >= vk::Digit0 && key < vk::Digit0 + 10; }

std::uint8_t chordBit(std::uint32_t key) {
    switch (key) {
        case 'F': return 1;
        case 'D': return 2;
        case 'S': return 4;
        case 'J': return 8;
        case 'K': return 16;
        case 'L': return 32;
        case vk::Space: return kSpaceBit;
        default: return 0;
    }
}

void enqueue(std::uint8_t code) {
    auto& s = crt();
    s.queue[static_cast<std::size_t>((s.queueHead + s.queueCount) % kQueueCapacity)] = code;
    ++s.queueCount;
}

void timedTone(std::uint16_t hertz) {
    sound(hertz);
    delay(200);
    noSound();
}

void clearSigns() {
    auto& s = crt();
    s.capital = false;
    s.capsLock = false;
    s.number = false;
}

// Capital and number signs of mode 2, applied to the character of a cell.
std::uint8_t applySigns(std::uint8_t c) {
    auto& s = crt();
    if (s.number) {
        if (c == '\'') c = '.';
        else if (c >= 'a' && c <= 'i') c = static_cast<std::uint8_t>('1' + (c - 'a'));
        else if (c == 'j') c = '0';
        else if (c == '~') s.number = false;
    }
    if ((s.capital || s.capsLock) && c >= 'a' && c <= 'z') c = static_cast<std::uint8_t>(c - 32);
    if (c == kNumberSign) {
        s.number = true;
        c = kNoCharacter;
    } else if (c == kCapitalSign) {
        if (s.capital) s.capsLock = true;
        s.capital = true;
        c = kNoCharacter;
    } else {
        s.capital = false;
    }
    return c;
}

}  // namespace

namespace detail {

std::uint8_t takeQueuedKey() {
    auto& s = crt();
    std::uint8_t code = s.queue[static_cast<std::size_t>(s.queueHead)];
    s.queueHead = (s.queueHead + 1) % kQueueCapacity;
    --s.queueCount;
    return code;
}

bool handleKeyDown(const platform::Message& m) {
    auto& s = crt();
    const bool ctrl = m.modifiers & platform::ModCtrl;
    const bool alt = m.modifiers & platform::ModAlt;
    const bool shift = m.modifiers & platform::ModShift;

    if (m.key == vk::Cancel) endWithBreak();

    if (alt) {
        if (ctrl && m.key == vk::F12) {
            setBrailleMode(0);
            return true;
        }
        if (ctrl && m.key == vk::F11) {
            setBrailleMode(s.brailleMode + 1);
            return true;
        }
        if (isDigitKey(m.key) || isLetterKey(m.key)) {
            if (s.queueCount <= kQueueCapacity - 2) {
                enqueue(0);
                if (isLetterKey(m.key))
                    enqueue(kLetterScanCodes[m.key - vk::LetterA]);
                else
                    enqueue(m.key == vk::Digit0 ? 129
                                                : static_cast<std::uint8_t>(120 + m.key - vk::Digit0 - 1));
            }
            return true;
        }
    }

    if (!ctrl && s.brailleMode != 0) {
        if (std::uint8_t bit = chordBit(m.key)) {
            s.chord |= bit;
            s.held |= bit;
            return true;
        }
    }

    if (s.queueCount > kQueueCapacity - 2) return true;
    for (const auto& f : kFunctionKeys) {
        if (f.virtualKey != m.key) continue;
        enqueue(0);
        if (ctrl) enqueue(f.ctrlCode);
        else if (f.virtualKey == vk::Insert && shift) enqueue(254);
        else enqueue(f.code);
        break;
    }
    return true;
}

void handleCharacter(const platform::Message& m) {
    auto& s = crt();
    auto c = static_cast<std::uint8_t>(m.key);
    const bool ctrl = m.modifiers & platform::ModCtrl;
    if (s.brailleMode != 0 &&
        (c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
        return;  // these keys belong to the chord keyboard
    if (s.queueCount >= kQueueCapacity) return;
    if (c == 8) enqueue(ctrl ? 127 : 8);
    else if (c == 13) enqueue(ctrl ? 10 : 13);
    else enqueue(c);
}

bool handleKeyUp(const platform::Message& m) {
    auto& s = crt();
    if (s.brailleMode == 0) return false;
    const bool ctrl = m.modifiers & platform::ModCtrl;
    if (ctrl || !(m.key == vk::Space || isLetterKey(m.key))) {
        clearSigns();
        return false;
    }
    s.held = static_cast<std::uint8_t>(s.held & ~chordBit(m.key));
    if (s.held != 0) return true;

    std::uint8_t c;
    if (s.chord >= kSpaceBit) {
        clearSigns();
        c = s.chord == kSpaceBit ? ' '
                                 : static_cast<std::uint8_t>(kBraille[(s.chord - kSpaceBit) & 63] & 31);
    } else {
        c = kBraille[s.chord & 63];
        if (s.brailleMode == 2) c = applySigns(c);
    }
    if (c != kNoCharacter && s.queueCount <= kQueueCapacity - 1) enqueue(c);
    s.chord = 0;
    return true;
}

}  // namespace detail

bool keyPressed() {
    createConsoleWindow();
    pumpMessages();
    return crt().queueCount > 0;
}

std::uint8_t readKey() {
    auto& s = crt();
    if (s.queueCount == 0) {
        s.reading = true;
        if (s.focused) detail::showReadingCaret();
        do {
            platform::waitMessage();
        } while (!keyPressed());
        if (s.focused) detail::hideReadingCaret();
        s.reading = false;
    }
    std::uint8_t code = detail::takeQueuedKey();
    if (platform::transcriptEnabled()) platform::transcript("key " + std::to_string(code));
    return code;
}

int readLine(char* buffer, int capacity) {
    int count = 0;
    std::uint8_t c;
    do {
        c = readKey();
        if (c == 8) {
            if (count > 0) {
                --count;
                writeChars("\b");
            }
        } else if (c >= 32) {
            if (count < capacity - 2) {
                buffer[count++] = static_cast<char>(c);
                writeChars(std::string(1, static_cast<char>(c)));
            }
        }
    } while (c != 13);
    if (capacity >= 2) {
        buffer[count] = '\r';
        buffer[count + 1] = '\n';
    }
    writeChars("\r\n");
    return count + 2;
}

void setBrailleMode(int mode) {
    auto& s = crt();
    if (mode > 2) mode = 1;
    if (mode == 0) {
        s.chord = 0;
        s.held = 0;
        clearSigns();
        if (s.brailleMode != 0) timedTone(100);
    } else {
        timedTone(800);
        timedTone(mode == 1 ? 1600 : 400);
    }
    s.brailleMode = mode;
}

int brailleMode() { return crt().brailleMode; }
int queuedKeyCount() { return crt().queueCount; }

}  // namespace ovcrt
