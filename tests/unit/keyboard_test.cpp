#include <gtest/gtest.h>

#include "console_fixture.h"

using platform::MessageKind;
using platform::ModAlt;
using platform::ModCtrl;
using platform::ModShift;
namespace vk = platform::vk;

class Keyboard : public ConsoleTest {
protected:
    // A key as the system reports it: down, its character if any, up.
    static void key(std::uint32_t virtualKey, std::uint8_t mods = 0, int character = -1,
                    bool system = false) {
        post(system ? MessageKind::SysKeyDown : MessageKind::KeyDown, virtualKey, mods);
        if (character >= 0) post(MessageKind::Char, static_cast<std::uint32_t>(character), mods);
        post(MessageKind::KeyUp, virtualKey, mods);
    }
    static void chord(std::initializer_list<std::uint32_t> keys, std::uint8_t mods = 0) {
        for (auto k : keys) post(MessageKind::KeyDown, k, mods);
        for (auto k : keys) post(MessageKind::KeyUp, k, mods);
    }
    static std::string codes(std::initializer_list<int> c) {
        std::string s;
        for (int v : c) s += static_cast<char>(v);
        return s;
    }
};

TEST_F(Keyboard, FunctionAndCursorKeysGiveZeroAndACode) {
    struct Case {
        std::uint32_t virtualKey;
        std::uint8_t mods;
        int code;
    };
    const Case cases[] = {
        {vk::F1, 0, 59},           {vk::F1, ModCtrl, 94},        {vk::F1 + 8, 0, 67},
        {vk::F11, 0, 69},          {vk::F11, ModCtrl, 104},      {vk::F12, 0, 70},
        {vk::F12, ModCtrl, 105},   {vk::Insert, 0, 82},          {vk::Insert, ModShift, 254},
        {vk::Insert, ModCtrl, 255}, {vk::Insert, ModCtrl | ModShift, 255},
        {vk::Delete, ModCtrl, 83}, {vk::Home, 0, 71},            {vk::Home, ModCtrl, 119},
        {vk::End, 0, 79},          {vk::End, ModCtrl, 117},      {vk::Prior, 0, 73},
        {vk::Prior, ModCtrl, 132}, {vk::Next, 0, 81},            {vk::Next, ModCtrl, 118},
        {vk::Up, 0, 72},           {vk::Up, ModCtrl, 113},       {vk::Down, 0, 80},
        {vk::Down, ModCtrl, 114},  {vk::Left, 0, 75},            {vk::Left, ModCtrl, 115},
        {vk::Right, 0, 77},        {vk::Right, ModCtrl, 116},
    };
    for (const auto& c : cases) {
        key(c.virtualKey, c.mods);
        EXPECT_EQ(drain(), codes({0, c.code})) << std::hex << c.virtualKey << " " << int(c.mods);
    }
}

TEST_F(Keyboard, CharactersAndTheirCtrlForms) {
    key('A', 0, 'a');
    key('A', ModShift, 'A');
    key(vk::Return, 0, 13);
    key(vk::Return, ModCtrl, 10);
    key(vk::Back, 0, 8);
    key(vk::Back, ModCtrl, 8);  // the console makes Ctrl+Backspace 127
    key(vk::Escape, 0, 27);
    key('C', ModCtrl, 3);
    key(0xBA, 0, 0xE7);  // ç
    EXPECT_EQ(drain(), codes({'a', 'A', 13, 10, 8, 127, 27, 3, 0xE7}));
}

TEST_F(Keyboard, AltKeys) {
    // Alt with a letter or digit is a system key: nothing is queued.
    key('A', ModAlt, -1, true);
    key('1', ModAlt, -1, true);
    key(vk::F10, 0, -1, true);
    key(vk::F4 - 1, ModAlt, -1, true);
    EXPECT_EQ(drain(), "");
    // Alt+Left and Alt+Right reach the console.
    key(vk::Left, ModAlt, -1, true);
    key(vk::Right, ModAlt, -1, true);
    // Ctrl+Alt with letters and digits gives the Alt codes.
    key('A', ModCtrl | ModAlt);
    key('Z', ModCtrl | ModAlt);
    key('1', ModCtrl | ModAlt);
    key('9', ModCtrl | ModAlt);
    key('0', ModCtrl | ModAlt);
    EXPECT_EQ(drain(), codes({0, 75, 0, 77, 0, 30, 0, 44, 0, 120, 0, 128, 0, 129}));
}

TEST_F(Keyboard, TheQueueHolds64Keys) {
    for (int i = 0; i < 70; ++i) key('A', 0, 'a');
    EXPECT_TRUE(ovcrt::keyPressed());
    EXPECT_EQ(ovcrt::queuedKeyCount(), 64);
    EXPECT_EQ(drain().size(), 64u);

    // A two-byte key needs room for both bytes.
    for (int i = 0; i < 62; ++i) key('A', 0, 'a');
    key(vk::F1);
    ovcrt::keyPressed();
    EXPECT_EQ(ovcrt::queuedKeyCount(), 64);
    drain();
    for (int i = 0; i < 63; ++i) key('A', 0, 'a');
    key(vk::F1);
    key('A', ModCtrl | ModAlt);
    ovcrt::keyPressed();
    EXPECT_EQ(ovcrt::queuedKeyCount(), 63);
    drain();
}

TEST_F(Keyboard, KeyPressedLeavesTheKeyForReadKey) {
    key('X', 0, 'x');
    EXPECT_TRUE(ovcrt::keyPressed());
    EXPECT_TRUE(ovcrt::keyPressed());
    EXPECT_EQ(ovcrt::readKey(), 'x');
    EXPECT_FALSE(ovcrt::keyPressed());
}

TEST_F(Keyboard, LineInput) {
    char buffer[128];
    // Backspace at the start does nothing; an extended key types its second
    // byte: F1 is ";" and Up is "H".
    key(vk::Back, 0, 8);
    key('A', 0, 'a');
    key(vk::F1);
    key(vk::Up);
    key(vk::Return, 0, 13);
    int n = ovcrt::readLine(buffer, 128);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), "a;H\r\n");
    EXPECT_EQ(row(0), "a;H");

    // At most capacity − 2 characters (126 for standard input); the rest
    // is neither stored nor echoed.
    SetUp();
    for (int i = 0; i < 12; ++i) key('A' + i, 0, 'a' + i);
    key(vk::Return, 0, 13);
    char small[10];
    n = ovcrt::readLine(small, 10);
    EXPECT_EQ(std::string(small, static_cast<std::size_t>(n)), "abcdefgh\r\n");
    EXPECT_EQ(row(0), "abcdefgh");
}

class Braille : public Keyboard {
protected:
    void TearDown() override { ovcrt::setBrailleMode(0); }
};

TEST_F(Braille, ModeOneEntersCells) {
    ovcrt::setBrailleMode(1);
    chord({'F', 'D'});                // b
    chord({vk::Space, 'F', 'D'});     // control code 2
    chord({vk::Space});               // space
    key('A', 0, 'a');                 // a letter that is no chord key: a space
    chord({'F', 'J'});                // c
    chord({'S', 'J', 'K', 'L'});      // number sign: no sign rules in mode 1
    key(vk::F1);                      // function keys still work
    EXPECT_EQ(drain(), codes({'b', 2, ' ', ' ', 'c', '#', 0, 59}));
}

TEST_F(Braille, ModeTwoAppliesCapitalAndNumberSigns) {
    ovcrt::setBrailleMode(2);
    chord({'J', 'L'});  // capital sign
    chord({'F', 'D'});  // B
    chord({'F', 'D'});  // b
    chord({'J', 'L'});
    chord({'J', 'L'});  // caps lock
    chord({'F'});       // A
    chord({'F', 'D'});  // B
    chord({vk::Space}); // a chord with space ends the signs
    chord({'F'});       // a
    chord({'S', 'J', 'K', 'L'});  // number sign
    chord({'F'});       // 1
    chord({'F', 'D'});  // 2
    chord({'D', 'J', 'K'});  // j → 0
    chord({'S'});       // ' → .
    chord({'K'});       // ~ (dot 5) ends the numbers
    chord({'F'});       // a
    EXPECT_EQ(drain(), codes({'B', 'b', 'A', 'B', ' ', 'a', '1', '2', '0', '.', '~', 'a'}));
}

TEST_F(Braille, CtrlOrAnotherKeyClearsTheSigns) {
    ovcrt::setBrailleMode(2);
    chord({'S', 'J', 'K', 'L'});  // number sign
    key(vk::Return, 0, 13);       // released: neither space nor letter
    chord({'F'});
    EXPECT_EQ(drain(), codes({13, 'a'}));
}

TEST_F(Braille, LettersAndSpaceTypeNothingInBrailleMode) {
    ovcrt::setBrailleMode(1);
    post(MessageKind::Char, 'f');
    post(MessageKind::Char, ' ');
    post(MessageKind::Char, '7');
    EXPECT_EQ(drain(), "7");
    // With Ctrl a chord key is an ordinary key again.
    key('F', ModCtrl, 6);
    EXPECT_EQ(drain(), codes({6}));
}

TEST_F(Braille, CtrlAltF11AndF12SwitchTheModes) {
    key(vk::F11, ModCtrl | ModAlt);
    ovcrt::keyPressed();
    EXPECT_EQ(ovcrt::brailleMode(), 1);
    key(vk::F11, ModCtrl | ModAlt);
    ovcrt::keyPressed();
    EXPECT_EQ(ovcrt::brailleMode(), 2);
    key(vk::F11, ModCtrl | ModAlt);
    ovcrt::keyPressed();
    EXPECT_EQ(ovcrt::brailleMode(), 1);
    key(vk::F12, ModCtrl | ModAlt);
    ovcrt::keyPressed();
    EXPECT_EQ(ovcrt::brailleMode(), 0);
    EXPECT_EQ(drain(), "");
}
