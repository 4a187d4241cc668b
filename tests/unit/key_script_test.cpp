#include "platform/common/key_script.h"

#include <gtest/gtest.h>

using platform::ScriptAction;

namespace {

std::vector<ScriptAction> parse(const char* script) {
    std::string error;
    auto actions = platform::parseKeyScript(script, error);
    EXPECT_TRUE(actions) << error;
    return actions ? *actions : std::vector<ScriptAction>{};
}

}  // namespace

TEST(KeyScript, KeysMakeTheCharactersTheSystemWould) {
    struct Case {
        const char* token;
        std::uint32_t virtualKey;
        std::uint8_t modifiers;
        int character;  // -1: none
        bool systemKey;
    };
    const Case cases[] = {
        {"j", 'J', 0, 'j', false},
        {"S", 'S', platform::ModShift, 'S', false},
        {"7", '7', 0, '7', false},
        {"<enter>", 0x0D, 0, 13, false},
        {"<esc>", 0x1B, 0, 27, false},
        {"<space>", 0x20, 0, 32, false},
        {"<ctrl+enter>", 0x0D, platform::ModCtrl, 10, false},
        {"<ctrl+backspace>", 0x08, platform::ModCtrl, 127, false},
        {"<ctrl+a>", 'A', platform::ModCtrl, 1, false},
        {"<f1>", 0x70, 0, -1, false},
        {"<f10>", 0x79, 0, -1, true},
        {"<alt+a>", 'A', platform::ModAlt, -1, true},
        {"<alt+left>", 0x25, platform::ModAlt, -1, true},
        {"<ctrl+alt+f11>", 0x7A, platform::ModCtrl | platform::ModAlt, -1, false},
        {"<shift+ins>", 0x2D, platform::ModShift, -1, false},
        {"<ctrl+break>", 0x03, platform::ModCtrl, -1, false},
        {"ç", 0xBA, 0, 0xE7, false},
    };
    for (const auto& c : cases) {
        auto actions = parse(c.token);
        ASSERT_EQ(actions.size(), 1u) << c.token;
        ASSERT_EQ(actions[0].strokes.size(), 1u) << c.token;
        const auto& s = actions[0].strokes[0];
        EXPECT_EQ(s.virtualKey, c.virtualKey) << c.token;
        EXPECT_EQ(s.modifiers, c.modifiers) << c.token;
        EXPECT_EQ(s.character ? int(*s.character) : -1, c.character) << c.token;
        EXPECT_EQ(s.systemKey, c.systemKey) << c.token;
    }
}

TEST(KeyScript, ChordsWaitsAndWindowActions) {
    auto actions = parse("<chord:f+d+space> <wait:250> <close> <quit>");
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[0].kind, ScriptAction::Kind::Chord);
    ASSERT_EQ(actions[0].strokes.size(), 3u);
    EXPECT_EQ(actions[0].strokes[2].virtualKey, 0x20u);
    EXPECT_EQ(actions[1].kind, ScriptAction::Kind::Wait);
    EXPECT_EQ(actions[1].waitMs, 250u);
    EXPECT_EQ(actions[2].kind, ScriptAction::Kind::Close);
    EXPECT_EQ(actions[3].kind, ScriptAction::Kind::Quit);
}

TEST(KeyScript, UnknownTokensAreErrors) {
    for (const char* bad : {"<f13>", "<hyper+a>", "<wait:x>", "ab"}) {
        std::string error;
        EXPECT_FALSE(platform::parseKeyScript(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(KeyScript, PlayerTimesTheKeysAfterAWait) {
    platform::KeyScriptPlayer player;
    player.load(parse("a <wait:100> b <wait:5> <wait:5>"), 1000);
    EXPECT_FALSE(player.due());  // "a" waits for the program
    player.take(1000);
    ASSERT_TRUE(player.due());
    EXPECT_EQ(*player.due(), 1100u);
    player.take(1100);
    // A script that ends with a wait closes the window when it is over.
    ASSERT_TRUE(player.due());
    EXPECT_EQ(*player.due(), 1110u);
    EXPECT_EQ(player.take(1110).kind, ScriptAction::Kind::Close);
    EXPECT_TRUE(player.finished());
}
