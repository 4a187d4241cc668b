// Translation between SDL's keyboard vocabulary and the Windows one the
// console's keyboard code expects: virtual-key codes, modifier bits, and the
// character messages that follow a key press.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <string>

namespace platform::sdl {

// Virtual key of the keys that have none in the Windows vocabulary.
constexpr std::uint32_t kNoVirtualKey = 0xFF;

// The modifier bits of an SDL modifier state. AltGr (right Alt or the mode
// switch) reports as Ctrl+Alt, as it does on Windows.
std::uint8_t modifiersFromSdl(Uint16 mod);
// An SDL modifier state (left-hand keys) that reports `modifiers`.
Uint16 sdlModFromModifiers(std::uint8_t modifiers);

// The virtual-key code of a key; letters and digits come from the key's
// position, so that the keyboard layout does not matter.
std::uint32_t virtualKeyFromSdl(const SDL_Keysym& keysym);

// A physical key that produces `virtualKey` with `modifiers`, with the
// modifier state it needs besides them (Num Lock for the keypad digits).
struct PhysicalKey {
    SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;
    Uint16 extraMod = KMOD_NONE;
};
std::optional<PhysicalKey> physicalKeyFor(std::uint32_t virtualKey, std::uint8_t modifiers);

// True when the press goes out as SysKeyDown: Alt without Ctrl, or F10.
bool isSystemKey(std::uint32_t virtualKey, std::uint8_t modifiers);

// The character message that follows a key the window system gives no text
// for: Enter 13 (Ctrl+Enter 10), Esc 27, Backspace 8 (Ctrl+Backspace 127),
// Tab 9, Ctrl+letter 1..26, Ctrl+Space 32. Never with Alt held.
std::optional<std::uint8_t> synthesizedCharacter(std::uint32_t virtualKey, std::uint8_t modifiers);

// Whether typed text becomes character messages under these modifiers: not
// with Alt alone (a system key makes no character) nor with Ctrl alone (the
// control character was synthesized already). AltGr (Ctrl+Alt) types text.
bool textAllowed(std::uint8_t modifiers);

// The Windows-1252 codes of the printable characters of UTF-8 text; characters
// the code page lacks, control characters and malformed bytes are dropped.
std::string windows1252FromText(const char* utf8);

}  // namespace platform::sdl
