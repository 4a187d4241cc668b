#include "platform/sdl/sdl_keys.h"

#include <array>

#include "platform/cp1252.h"
#include "platform/platform.h"

namespace platform::sdl {
namespace {

struct KeyPair {
    SDL_Scancode scancode;
    std::uint32_t virtualKey;
};

// Keys whose virtual key does not follow from a range of scancodes. The first
// pair of a virtual key is the one scripted input presses. The punctuation
// keys carry the codes Windows gives them on a Brazilian ABNT2 keyboard, which
// are those of the same positions on a US keyboard.
constexpr std::array kFixedKeys = {
    KeyPair{SDL_SCANCODE_RETURN, vk::Return},   KeyPair{SDL_SCANCODE_KP_ENTER, vk::Return},
    KeyPair{SDL_SCANCODE_ESCAPE, vk::Escape},   KeyPair{SDL_SCANCODE_BACKSPACE, vk::Back},
    KeyPair{SDL_SCANCODE_TAB, vk::Tab},         KeyPair{SDL_SCANCODE_SPACE, vk::Space},
    KeyPair{SDL_SCANCODE_INSERT, vk::Insert},   KeyPair{SDL_SCANCODE_DELETE, vk::Delete},
    KeyPair{SDL_SCANCODE_HOME, vk::Home},       KeyPair{SDL_SCANCODE_END, vk::End},
    KeyPair{SDL_SCANCODE_PAGEUP, vk::Prior},    KeyPair{SDL_SCANCODE_PAGEDOWN, vk::Next},
    KeyPair{SDL_SCANCODE_LEFT, vk::Left},       KeyPair{SDL_SCANCODE_UP, vk::Up},
    KeyPair{SDL_SCANCODE_RIGHT, vk::Right},     KeyPair{SDL_SCANCODE_DOWN, vk::Down},
    KeyPair{SDL_SCANCODE_LSHIFT, vk::Shift},    KeyPair{SDL_SCANCODE_RSHIFT, vk::Shift},
    KeyPair{SDL_SCANCODE_LCTRL, vk::Control},   KeyPair{SDL_SCANCODE_RCTRL, vk::Control},
    KeyPair{SDL_SCANCODE_LALT, vk::Menu},       KeyPair{SDL_SCANCODE_RALT, vk::Menu},
    KeyPair{SDL_SCANCODE_CANCEL, vk::Cancel},   KeyPair{SDL_SCANCODE_PAUSE, 0x13},
    KeyPair{SDL_SCANCODE_CAPSLOCK, 0x14},       KeyPair{SDL_SCANCODE_PRINTSCREEN, 0x2C},
    KeyPair{SDL_SCANCODE_LGUI, 0x5B},           KeyPair{SDL_SCANCODE_RGUI, 0x5C},
    KeyPair{SDL_SCANCODE_APPLICATION, 0x5D},    KeyPair{SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    KeyPair{SDL_SCANCODE_KP_PLUS, 0x6B},        KeyPair{SDL_SCANCODE_KP_MINUS, 0x6D},
    KeyPair{SDL_SCANCODE_KP_DIVIDE, 0x6F},      KeyPair{SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    KeyPair{SDL_SCANCODE_SCROLLLOCK, 0x91},     KeyPair{SDL_SCANCODE_SEMICOLON, 0xBA},
    KeyPair{SDL_SCANCODE_EQUALS, 0xBB},         KeyPair{SDL_SCANCODE_COMMA, 0xBC},
    KeyPair{SDL_SCANCODE_MINUS, 0xBD},          KeyPair{SDL_SCANCODE_PERIOD, 0xBE},
    KeyPair{SDL_SCANCODE_SLASH, 0xBF},          KeyPair{SDL_SCANCODE_GRAVE, 0xC0},
    KeyPair{SDL_SCANCODE_INTERNATIONAL1, 0xC1},  // ABNT2 "/?" beside right Shift
    KeyPair{SDL_SCANCODE_KP_COMMA, 0xC2},        // ABNT2 keypad "."
    KeyPair{SDL_SCANCODE_LEFTBRACKET, 0xDB},    KeyPair{SDL_SCANCODE_BACKSLASH, 0xDC},
    KeyPair{SDL_SCANCODE_NONUSHASH, 0xDC},      KeyPair{SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    KeyPair{SDL_SCANCODE_APOSTROPHE, 0xDE},     KeyPair{SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
};

constexpr std::uint32_t kPause = 0x13;
constexpr std::uint32_t kClear = 0x0C;
constexpr std::uint32_t kNumpad0 = 0x60, kDecimal = 0x6E;
constexpr std::uint32_t kF13 = 0x7C;

// Without Num Lock the keypad digits are the navigation keys.
constexpr std::array<std::uint32_t, 10> kKeypadNavigation = {
    vk::Insert, vk::End,   vk::Down, vk::Next, vk::Left,
    kClear,     vk::Right, vk::Home, vk::Up,   vk::Prior};

// SDL numbers the keypad 1..9 first and 0 last.
int keypadDigit(SDL_Scancode scancode) {
    if (scancode == SDL_SCANCODE_KP_0) return 0;
    return static_cast<int>(scancode - SDL_SCANCODE_KP_1) + 1;
}

SDL_Scancode keypadScancode(int digit) {
    if (digit == 0) return SDL_SCANCODE_KP_0;
    return static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + digit - 1);
}

}  // namespace

std::uint8_t modifiersFromSdl(Uint16 mod) {
    std::uint8_t bits = 0;
    if (mod & KMOD_SHIFT) bits |= ModShift;
    if (mod & (KMOD_CTRL | KMOD_RALT | KMOD_MODE)) bits |= ModCtrl;
    if (mod & (KMOD_ALT | KMOD_MODE)) bits |= ModAlt;
    return bits;
}

Uint16 sdlModFromModifiers(std::uint8_t modifiers) {
    Uint16 mod = KMOD_NONE;
    if (modifiers & ModShift) mod |= KMOD_LSHIFT;
    if (modifiers & ModCtrl) mod |= KMOD_LCTRL;
    if (modifiers & ModAlt) mod |= KMOD_LALT;
    return mod;
}

std::uint32_t virtualKeyFromSdl(const SDL_Keysym& keysym) {
    const SDL_Scancode sc = keysym.scancode;
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return vk::LetterA + (sc - SDL_SCANCODE_A);
    // SDL numbers the digit row 1..9 first and 0 last.
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return vk::Digit0 + 1 + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return vk::Digit0;
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return vk::F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return kF13 + (sc - SDL_SCANCODE_F13);
    const bool numLock = (keysym.mod & KMOD_NUM) != 0;
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_0) {
        const int digit = keypadDigit(sc);
        return numLock ? kNumpad0 + static_cast<std::uint32_t>(digit) : kKeypadNavigation[digit];
    }
    if (sc == SDL_SCANCODE_KP_PERIOD) return numLock ? kDecimal : vk::Delete;
    // Ctrl+Pause is Ctrl+Break, which Windows reports as the cancel key.
    if (sc == SDL_SCANCODE_PAUSE && (modifiersFromSdl(keysym.mod) & ModCtrl)) return vk::Cancel;
    if (keysym.sym == SDLK_CANCEL) return vk::Cancel;
    for (const KeyPair& pair : kFixedKeys)
        if (pair.scancode == sc) return pair.virtualKey;
    return kNoVirtualKey;
}

std::optional<PhysicalKey> physicalKeyFor(std::uint32_t virtualKey, std::uint8_t modifiers) {
    auto plain = [](int scancode) {
        return PhysicalKey{static_cast<SDL_Scancode>(scancode), KMOD_NONE};
    };
    if (virtualKey >= vk::LetterA && virtualKey <= vk::LetterA + 25)
        return plain(SDL_SCANCODE_A + static_cast<int>(virtualKey - vk::LetterA));
    if (virtualKey == vk::Digit0) return plain(SDL_SCANCODE_0);
    if (virtualKey > vk::Digit0 && virtualKey <= vk::Digit0 + 9)
        return plain(SDL_SCANCODE_1 + static_cast<int>(virtualKey - vk::Digit0 - 1));
    if (virtualKey >= vk::F1 && virtualKey <= vk::F12)
        return plain(SDL_SCANCODE_F1 + static_cast<int>(virtualKey - vk::F1));
    if (virtualKey >= kF13 && virtualKey < kF13 + 12)
        return plain(SDL_SCANCODE_F13 + static_cast<int>(virtualKey - kF13));
    if (virtualKey >= kNumpad0 && virtualKey <= kNumpad0 + 9)
        return PhysicalKey{keypadScancode(static_cast<int>(virtualKey - kNumpad0)), KMOD_NUM};
    if (virtualKey == kDecimal) return PhysicalKey{SDL_SCANCODE_KP_PERIOD, KMOD_NUM};
    if (virtualKey == kClear) return plain(SDL_SCANCODE_KP_5);
    if (virtualKey == vk::Cancel && (modifiers & ModCtrl)) return plain(SDL_SCANCODE_PAUSE);
    if (virtualKey == kNoVirtualKey) return plain(SDL_SCANCODE_UNKNOWN);
    for (const KeyPair& pair : kFixedKeys)
        if (pair.virtualKey == virtualKey) return PhysicalKey{pair.scancode, KMOD_NONE};
    return std::nullopt;
}

bool isSystemKey(std::uint32_t virtualKey, std::uint8_t modifiers) {
    const bool altAlone = (modifiers & ModAlt) && !(modifiers & ModCtrl);
    return altAlone || virtualKey == vk::F10;
}

std::optional<std::uint8_t> synthesizedCharacter(std::uint32_t virtualKey, std::uint8_t modifiers) {
    if (modifiers & ModAlt) return std::nullopt;
    const bool ctrl = (modifiers & ModCtrl) != 0;
    switch (virtualKey) {
        case vk::Return: return ctrl ? 10 : 13;
        case vk::Escape: return 27;
        case vk::Back: return ctrl ? 127 : 8;
        case vk::Tab: return 9;
        case vk::Space:
            // Ctrl+Space still types a blank; plain Space comes as text.
            if (ctrl) return 32;
            break;
        default: break;
    }
    if (ctrl && virtualKey >= vk::LetterA && virtualKey <= vk::LetterA + 25)
        return static_cast<std::uint8_t>(virtualKey - vk::LetterA + 1);
    return std::nullopt;
}

bool textAllowed(std::uint8_t modifiers) {
    return ((modifiers & ModCtrl) != 0) == ((modifiers & ModAlt) != 0);
}

std::string windows1252FromText(const char* utf8) {
    std::string out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p != 0) {
        char32_t code = *p;
        int extra = 0;
        if (code >= 0xF8) {
            ++p;  // not a lead byte of any sequence
            continue;
        }
        if (code >= 0xF0) {
            code &= 0x07;
            extra = 3;
        } else if (code >= 0xE0) {
            code &= 0x0F;
            extra = 2;
        } else if (code >= 0xC0) {
            code &= 0x1F;
            extra = 1;
        } else if (code >= 0x80) {
            ++p;  // a stray continuation byte
            continue;
        }
        ++p;
        bool wellFormed = code < 0x80 || extra > 0;
        for (int i = 0; i < extra && wellFormed; ++i) {
            if ((*p & 0xC0) != 0x80) {
                wellFormed = false;
                break;
            }
            code = (code << 6) | (*p & 0x3F);
            ++p;
        }
        if (!wellFormed) continue;
        if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0)) continue;
        if (auto byte = cp1252::fromUnicode(code)) out += static_cast<char>(*byte);
    }
    return out;
}

}  // namespace platform::sdl
