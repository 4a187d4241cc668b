#include "platform/win32/win32_keys.h"

#include <algorithm>
#include <cctype>

#include "platform/cp1252.h"

namespace platform::win32 {
namespace {

constexpr std::uint32_t kScriptedBit = 1u << 25;
constexpr int kModifierShift = 26;
constexpr std::uint32_t kContextBit = 1u << 29;
constexpr std::uint32_t kPreviousStateBit = 1u << 30;
constexpr std::uint32_t kTransitionBit = 1u << 31;

std::uint32_t baseKeyData(unsigned scanCode, std::uint8_t modifiers) {
    std::uint32_t data = 1 | (scanCode & 0xFF) << 16;
    if (modifiers & ModAlt) data |= kContextBit;
    return data;
}

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::uint32_t scriptedKeyData(unsigned scanCode, std::uint8_t modifiers, bool keyUp) {
    std::uint32_t data = baseKeyData(scanCode, modifiers) | kScriptedBit |
                         static_cast<std::uint32_t>(modifiers & 7) << kModifierShift;
    if (keyUp) data |= kPreviousStateBit | kTransitionBit;
    return data;
}

bool isScriptedKeyData(std::uint32_t keyData) { return (keyData & kScriptedBit) != 0; }

std::uint8_t scriptedModifiers(std::uint32_t keyData) {
    return static_cast<std::uint8_t>(keyData >> kModifierShift & 7);
}

std::uint32_t keyDownData(unsigned scanCode, std::uint8_t modifiers) {
    return baseKeyData(scanCode, modifiers);
}

std::wstring widen(std::string_view windows1252) {
    std::wstring wide;
    wide.reserve(windows1252.size());
    for (char c : windows1252) wide.push_back(wideUnit(static_cast<std::uint8_t>(c)));
    return wide;
}

wchar_t wideUnit(std::uint8_t code) { return static_cast<wchar_t>(cp1252::toUnicode(code)); }

std::optional<std::uint8_t> narrow(wchar_t unit) {
    return cp1252::fromUnicode(static_cast<char32_t>(static_cast<std::uint16_t>(unit)));
}

SizeLimits sizeLimits(int cellWidth, int cellHeight, int columns, int rows,
                      const SystemMetrics& m) {
    SizeLimits limits;
    limits.maxWidth = std::min(columns * cellWidth, m.screenWidth) + 2 * m.frameWidth;
    limits.maxHeight =
        std::min(m.captionHeight + rows * cellHeight, m.screenHeight) + 2 * m.frameHeight;
    limits.minTrackWidth = 2 * m.frameWidth + 16 * cellWidth;
    limits.minTrackHeight = 2 * m.frameHeight + 4 * cellHeight + m.captionHeight;
    return limits;
}

RegistryPath splitRegistryPath(std::string_view path) {
    struct Name {
        std::string_view text;
        RegistryRoot root;
    };
    static constexpr Name kRoots[] = {
        {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
        {"HKLM", RegistryRoot::LocalMachine},
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
        {"HKCU", RegistryRoot::CurrentUser},
        {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
        {"HKCR", RegistryRoot::ClassesRoot},
        {"HKEY_USERS", RegistryRoot::Users},
        {"HKU", RegistryRoot::Users},
    };
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    RegistryPath result;
    const std::string_view first = path.substr(0, path.find('\\'));
    for (const Name& name : kRoots) {
        if (sameLetters(first, name.text)) {
            result.root = name.root;
            path.remove_prefix(first.size());
            while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
            break;
        }
    }
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    result.subKey = std::string(path);
    return result;
}

std::string moveIntoDataFolder(const std::string& systemPath, const std::string& dataFolder) {
    constexpr std::string_view kOwn = "sonare";
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    const std::string_view p = systemPath;
    // A drive, a separator, "sonare", then the end or a separator.
    if (p.size() < 3 + kOwn.size() || !std::isalpha(static_cast<unsigned char>(p[0])) ||
        p[1] != ':' || !separator(p[2]) || !sameLetters(p.substr(3, kOwn.size()), kOwn))
        return systemPath;
    const std::string_view tail = p.substr(3 + kOwn.size());
    if (!tail.empty() && !separator(tail.front())) return systemPath;
    std::string folder = dataFolder;
    while (!folder.empty() && separator(folder.back())) folder.pop_back();
    return folder + std::string(tail);
}

}  // namespace platform::win32
