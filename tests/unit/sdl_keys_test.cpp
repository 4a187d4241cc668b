// The SDL backend's key translation: what SDL reports must become the
// messages Windows would deliver, and the keys of a key script must come out
// of SDL's queue as the script means them.
#include "platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/key_script.h"

using platform::KeyStroke;
using platform::ModAlt;
using platform::ModCtrl;
using platform::ModShift;
namespace sdl = platform::sdl;

namespace {

SDL_Keysym keysym(SDL_Scancode scancode, Uint16 mod, SDL_Keycode sym = SDLK_UNKNOWN) {
    SDL_Keysym k{};
    k.scancode = scancode;
    k.sym = sym;
    k.mod = mod;
    return k;
}

// What the window system hands over for a key: text for a printable
// character unless the modifiers forbid it, the synthesized control
// character otherwise.
std::optional<std::uint8_t> characterFromSdl(const KeyStroke& stroke, std::uint8_t modifiers,
                                             bool system) {
    if (system) return std::nullopt;
    if (stroke.character && *stroke.character >= 32 && *stroke.character != 127 &&
        sdl::textAllowed(modifiers))
        return stroke.character;
    return sdl::synthesizedCharacter(stroke.virtualKey, modifiers);
}

std::vector<KeyStroke> strokesOf(const std::string& script) {
    std::string error;
    auto actions = platform::parseKeyScript(script, error);
    EXPECT_TRUE(actions) << error;
    std::vector<KeyStroke> strokes;
    if (actions)
        for (const auto& action : *actions)
            strokes.insert(strokes.end(), action.strokes.begin(), action.strokes.end());
    return strokes;
}

}  // namespace

TEST(SdlKeys, EveryScriptedKeyTakesTheSameWayThroughSdl) {
    std::string script;
    for (const char* name :
         {"enter", "esc", "space", "backspace", "tab", "up",  "down",  "left", "right",
          "home",  "end", "pgup",  "pgdn",      "ins", "del", "break", "f1",   "f4",
          "f10",   "f11", "f12",   "a",         "j",   "z",   "5",     "0"})
        for (const char* mods : {"", "shift+", "ctrl+", "alt+", "ctrl+alt+", "ctrl+shift+"})
            script += std::string("<") + mods + name + "> ";
    script += "a z A Z 0 9 , . - = ; ' [ ] / ç Ç é ã € !";

    for (const KeyStroke& stroke : strokesOf(script)) {
        SCOPED_TRACE("virtual key " + std::to_string(stroke.virtualKey) + ", modifiers " +
                     std::to_string(stroke.modifiers));
        const auto physical = sdl::physicalKeyFor(stroke.virtualKey, stroke.modifiers);
        ASSERT_TRUE(physical);
        const Uint16 mod = sdl::sdlModFromModifiers(stroke.modifiers) | physical->extraMod;
        const std::uint8_t modifiers = sdl::modifiersFromSdl(mod);
        EXPECT_EQ(sdl::virtualKeyFromSdl(
                      keysym(physical->scancode, mod, SDL_GetKeyFromScancode(physical->scancode))),
                  stroke.virtualKey);
        EXPECT_EQ(modifiers, stroke.modifiers);
        const bool system = sdl::isSystemKey(stroke.virtualKey, modifiers);
        EXPECT_EQ(system, stroke.systemKey);
        EXPECT_EQ(characterFromSdl(stroke, modifiers, system), stroke.character);
    }
}

TEST(SdlKeys, LettersAndDigitsFollowThePositionNotTheLayout) {
    // On a French layout the key in the position of Q types "a".
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_Q, KMOD_NONE, SDLK_a)), 'Q');
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_1, KMOD_NONE, SDLK_AMPERSAND)), '1');
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_0, KMOD_NONE)), '0');
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_9, KMOD_NONE)), '9');
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_F12, KMOD_NONE)), 0x7Bu);
}

TEST(SdlKeys, AltGrIsCtrlAltAndTypesText) {
    for (Uint16 altGr : {Uint16{KMOD_RALT}, Uint16{KMOD_MODE}}) {
        const std::uint8_t modifiers = sdl::modifiersFromSdl(altGr);
        EXPECT_EQ(modifiers, ModCtrl | ModAlt);
        EXPECT_FALSE(sdl::isSystemKey('Q', modifiers));
        EXPECT_TRUE(sdl::textAllowed(modifiers));
    }
    EXPECT_EQ(sdl::modifiersFromSdl(KMOD_LALT), ModAlt);
    EXPECT_TRUE(sdl::isSystemKey('Q', ModAlt));
    EXPECT_FALSE(sdl::textAllowed(ModAlt));
    // Ctrl+letter made its control character already; its letter is not typed too.
    EXPECT_FALSE(sdl::textAllowed(ModCtrl));
    EXPECT_FALSE(sdl::textAllowed(ModCtrl | ModShift));
    EXPECT_TRUE(sdl::textAllowed(ModShift));
}

TEST(SdlKeys, BreakAndTheKeypad) {
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_PAUSE, KMOD_LCTRL)), 0x03u);
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_PAUSE, KMOD_NONE)), 0x13u);
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_KP_ENTER, KMOD_NONE)), 0x0Du);
    // Without Num Lock the keypad digits are the cursor keys.
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_KP_8, KMOD_NONE)), 0x26u);
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_KP_0, KMOD_NONE)), 0x2Du);
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_KP_PERIOD, KMOD_NONE)), 0x2Eu);
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_KP_8, KMOD_NUM)), 0x68u);
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_KP_0, KMOD_NUM)), 0x60u);
    for (std::uint32_t numpad = 0x60; numpad <= 0x69; ++numpad) {
        const auto physical = sdl::physicalKeyFor(numpad, 0);
        ASSERT_TRUE(physical);
        EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(physical->scancode, physical->extraMod)), numpad);
    }
    EXPECT_EQ(sdl::virtualKeyFromSdl(keysym(SDL_SCANCODE_UNKNOWN, KMOD_NONE)), sdl::kNoVirtualKey);
}

TEST(SdlKeys, ControlCharactersOfKeysWithoutText) {
    EXPECT_EQ(sdl::synthesizedCharacter(0x0D, 0), 13);
    EXPECT_EQ(sdl::synthesizedCharacter(0x0D, ModShift), 13);
    EXPECT_EQ(sdl::synthesizedCharacter(0x0D, ModCtrl), 10);
    EXPECT_EQ(sdl::synthesizedCharacter(0x08, ModCtrl), 127);
    EXPECT_EQ(sdl::synthesizedCharacter('A', ModCtrl), 1);
    EXPECT_EQ(sdl::synthesizedCharacter('Z', ModCtrl | ModShift), 26);
    EXPECT_EQ(sdl::synthesizedCharacter('A', ModCtrl | ModAlt), std::nullopt);
    EXPECT_EQ(sdl::synthesizedCharacter('A', 0), std::nullopt);  // comes as text
    EXPECT_EQ(sdl::synthesizedCharacter(0x25, 0), std::nullopt);
}

TEST(SdlKeys, TextBecomesWindows1252Characters) {
    EXPECT_EQ(sdl::windows1252FromText("a\xC3\xA7\xC3\xA3o \xE2\x82\xAC"), "a\xE7\xE3o \x80");
    // A character the code page lacks is dropped, the rest stays.
    EXPECT_EQ(sdl::windows1252FromText("x\xE2\x86\x92y\xF0\x9F\x98\x80z"), "xyz");
    // Control characters never become character messages from text.
    EXPECT_EQ(sdl::windows1252FromText("\x7F\xC2\x81"), "");
    // A broken sequence loses only itself.
    EXPECT_EQ(sdl::windows1252FromText("\xC3(\xA7!\xFF\xE2\x82"), "(!");
}
