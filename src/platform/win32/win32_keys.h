// Arithmetic of the Win32 backend that needs no system call: the key data of
// keyboard messages, the code-page conversions of the window's text and the
// window's size limits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace platform::win32 {

// Key data (the long parameter) of a keyboard message.
//
// The key script posts its keys to the window as real keyboard messages. The
// system's key state does not follow posted messages, so such a message
// carries its modifiers itself, in bits the system leaves reserved (25 … 28):
// bit 25 marks a scripted message, bits 26, 27 and 28 hold Shift, Ctrl and
// Alt. Bits 0 … 15 are the repeat count (1), 16 … 23 the scan code, 29 the
// context code (Alt held), 30 the previous key state and 31 the transition
// (both set for a key-up, as the system sets them).
std::uint32_t scriptedKeyData(unsigned scanCode, std::uint8_t modifiers, bool keyUp);
bool isScriptedKeyData(std::uint32_t keyData);
std::uint8_t scriptedModifiers(std::uint32_t keyData);

// Key data of a key-down for the system's default window procedure: what the
// system itself would have sent for the key with these modifiers.
std::uint32_t keyDownData(unsigned scanCode, std::uint8_t modifiers);

// The window's text is Windows-1252 whatever code page the system runs with:
// it is converted here and drawn with the wide-character functions.
std::wstring widen(std::string_view windows1252);
// The Windows-1252 code of a character message's UTF-16 unit, when the code
// page has the character.
std::optional<std::uint8_t> narrow(wchar_t unit);
// The UTF-16 unit of a Windows-1252 code.
wchar_t wideUnit(std::uint8_t code);

// Size limits of the console window (the min/max info): the maximized window
// covers exactly the grid at the top-left corner of the screen, and the
// smallest shows 16 columns and 4 rows.
struct SizeLimits {
    int maxWidth = 0, maxHeight = 0;            // maximized size and largest tracking size
    int minTrackWidth = 0, minTrackHeight = 0;  // smallest tracking size
};
SizeLimits sizeLimits(int cellWidth, int cellHeight, int columns, int rows,
                      const SystemMetrics& metrics);

// The first part of a registry path names the root key (HKEY_LOCAL_MACHINE,
// HKLM, HKEY_CURRENT_USER, HKCU, HKEY_CLASSES_ROOT, HKCR, HKEY_USERS, HKU);
// a path without one lies under HKEY_LOCAL_MACHINE.
enum class RegistryRoot : std::uint8_t { LocalMachine, CurrentUser, ClassesRoot, Users };
struct RegistryPath {
    RegistryRoot root = RegistryRoot::LocalMachine;
    std::string subKey;
};
RegistryPath splitRegistryPath(std::string_view path);

// The path of the installation's own folder ("x:\sonare\...") moved into
// `dataFolder`; other paths as they are.
std::string moveIntoDataFolder(const std::string& systemPath, const std::string& dataFolder);

}  // namespace platform::win32
