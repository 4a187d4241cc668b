// The arithmetic of the Win32 backend: key data of scripted keys, the code
// page of the window's text, the window's size limits, registry paths and
// the data folder.
#include "platform/win32/win32_keys.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::win32;

TEST(ScriptedKeyData, CarriesItsModifiersAndIsTold) {
    for (std::uint8_t modifiers = 0; modifiers < 8; ++modifiers) {
        for (bool up : {false, true}) {
            const std::uint32_t data = scriptedKeyData(0x3B, modifiers, up);
            EXPECT_TRUE(isScriptedKeyData(data));
            EXPECT_EQ(scriptedModifiers(data), modifiers);
        }
    }
}

TEST(ScriptedKeyData, KeepsTheFieldsTheSystemReads) {
    const std::uint32_t down = scriptedKeyData(0x21, ModAlt, false);
    EXPECT_EQ(down & 0xFFFF, 1u);         // repeat count
    EXPECT_EQ(down >> 16 & 0xFF, 0x21u);  // scan code
    EXPECT_NE(down & 1u << 29, 0u);       // Alt held: context code
    EXPECT_EQ(down & 3u << 30, 0u);       // a key going down
    const std::uint32_t up = scriptedKeyData(0x21, ModCtrl, true);
    EXPECT_EQ(up & 1u << 29, 0u);
    EXPECT_EQ(up >> 30, 3u);  // previous state down, transition up
}

TEST(ScriptedKeyData, TheUsersKeysAreNotScripted) {
    // What the keyboard itself reports: repeat count, scan code, flags.
    EXPECT_FALSE(isScriptedKeyData(0x00210001u));
    EXPECT_FALSE(isScriptedKeyData(0xC1380001u));  // Alt released, extended
    EXPECT_FALSE(isScriptedKeyData(keyDownData(0x3E, ModAlt)));
    EXPECT_EQ(keyDownData(0x3E, ModAlt), 0x203E0001u);  // Alt+F4 as the system sends it
    EXPECT_EQ(keyDownData(0x44, 0), 0x00440001u);       // F10
}

TEST(WindowText, Windows1252IsConvertedWhateverTheSystemsCodePage) {
    const std::string text = "a\xE7\xE3o \x80\x96\x9F\xFF";  // "ação €–Ÿÿ"
    const std::wstring wide = widen(text);
    const std::wstring expected = {L'a',   0x00E7, 0x00E3, L'o',  L' ',
                                   0x20AC, 0x2013, 0x0178, 0x00FF};
    EXPECT_EQ(wide, expected);
    for (wchar_t unit : wide) ASSERT_TRUE(narrow(unit).has_value());
    std::string back;
    for (wchar_t unit : wide) back.push_back(static_cast<char>(*narrow(unit)));
    EXPECT_EQ(back, text);
}

TEST(WindowText, CharactersTheCodePageLacksTypeNothing) {
    EXPECT_FALSE(narrow(static_cast<wchar_t>(0x0416)).has_value());  // Cyrillic Zhe
    EXPECT_FALSE(narrow(static_cast<wchar_t>(0xD83D)).has_value());  // half of a surrogate pair
    EXPECT_EQ(narrow(L'\r'), std::uint8_t{13});
    EXPECT_EQ(narrow(static_cast<wchar_t>(1)), std::uint8_t{1});  // Ctrl+A
    EXPECT_EQ(wideUnit(0x80), static_cast<wchar_t>(0x20AC));
}

TEST(SizeLimits, TheMaximizedWindowCoversTheGridAndNoMore) {
    SystemMetrics m;
    m.frameWidth = 4;
    m.frameHeight = 5;
    m.captionHeight = 23;
    m.screenWidth = 1024;
    m.screenHeight = 768;
    SizeLimits l = sizeLimits(9, 22, 80, 25, m);
    EXPECT_EQ(l.maxWidth, 720 + 8);
    EXPECT_EQ(l.maxHeight, 23 + 550 + 10);
    EXPECT_EQ(l.minTrackWidth, 8 + 16 * 9);
    EXPECT_EQ(l.minTrackHeight, 10 + 4 * 22 + 23);
    // A screen smaller than the grid bounds the maximized size.
    m.screenWidth = 640;
    m.screenHeight = 480;
    l = sizeLimits(9, 22, 80, 25, m);
    EXPECT_EQ(l.maxWidth, 640 + 8);
    EXPECT_EQ(l.maxHeight, 480 + 10);
}

TEST(RegistryPath, TheRootIsNamedFirstOrIsTheMachine) {
    struct Case {
        const char* path;
        RegistryRoot root;
        const char* subKey;
    };
    const Case cases[] = {
        {"SOFTWARE\\TCTS\\Mbrola\\databases\\", RegistryRoot::LocalMachine,
         "SOFTWARE\\TCTS\\Mbrola\\databases"},
        {"HKEY_LOCAL_MACHINE\\Software\\X", RegistryRoot::LocalMachine, "Software\\X"},
        {"hkcu\\Software\\X", RegistryRoot::CurrentUser, "Software\\X"},
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser, ""},
        {"\\HKCR\\.wav", RegistryRoot::ClassesRoot, ".wav"},
        {"HKU\\.DEFAULT", RegistryRoot::Users, ".DEFAULT"},
        {"HKLMX\\a", RegistryRoot::LocalMachine, "HKLMX\\a"},  // no root of that name
    };
    for (const Case& c : cases) {
        const RegistryPath p = splitRegistryPath(c.path);
        EXPECT_EQ(p.root, c.root) << c.path;
        EXPECT_EQ(p.subKey, c.subKey) << c.path;
    }
}

TEST(DataFolder, OnlyTheInstallationsOwnFolderMoves) {
    const std::string data = "C:\\users\\x\\dados\\";
    struct Case {
        const char* path;
        std::string expected;
    };
    const Case cases[] = {
        {"c:\\sonare\\som\\letras\\_65.wav", "C:\\users\\x\\dados\\som\\letras\\_65.wav"},
        {"D:\\SONARE\\som", "C:\\users\\x\\dados\\som"},
        {"c:\\sonare", "C:\\users\\x\\dados"},
        {"c:/Sonare/som", "C:\\users\\x\\dados/som"},
        {"c:\\sonares\\x", "c:\\sonares\\x"},
        {"c:\\temp\\sonare\\x", "c:\\temp\\sonare\\x"},
        {"sonare\\x", "sonare\\x"},
        {"c:sonare\\x", "c:sonare\\x"},
    };
    for (const Case& c : cases) EXPECT_EQ(moveIntoDataFolder(c.path, data), c.expected) << c.path;
}
