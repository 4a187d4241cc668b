// The Win32 backend with a real window and the system's wave mapper: the
// key script's keys come back as the console's messages with the script's
// modifiers, the system's default processing closes the window on Alt+F4,
// other threads wake a wait, and every wave block comes back exactly once.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/key_script.h"
#include "platform/driver.h"

using platform::Driver;
using platform::Message;
using platform::MessageKind;

namespace {

// Real time: a message the system owes comes within this time, or never.
constexpr std::uint64_t kPatienceMs = 5000;

class Win32Driver : public ::testing::Test {
protected:
    void SetUp() override {
        driver_ = platform::makeWin32Driver();
        ASSERT_NE(driver_, nullptr);
        ASSERT_TRUE(driver_->start());
        ASSERT_TRUE(driver_->createFont("Lucida Console", 9, 22, 700));
        ASSERT_TRUE(driver_->createWindow("ORALIS teste", 760, 620, false, 80, 25));
        drain();
    }
    void TearDown() override {
        if (!driver_) return;
        driver_->destroyWindow();
        driver_->shutdown();
        driver_.reset();
    }

    // Takes every message the driver has now.
    std::vector<Message> drain() {
        std::vector<Message> taken;
        Message m;
        while (driver_->peek(m)) taken.push_back(m);
        return taken;
    }

    // Takes messages until one satisfies `last` (included) or patience ends.
    template <typename Last>
    std::vector<Message> takeUntil(Last last) {
        std::vector<Message> taken;
        const std::uint64_t deadline = driver_->now() + kPatienceMs;
        while (driver_->now() < deadline) {
            Message m;
            while (driver_->peek(m)) {
                taken.push_back(m);
                if (last(m)) return taken;
            }
            driver_->wait(deadline);
        }
        ADD_FAILURE() << "the awaited message did not come";
        return taken;
    }

    // Posts a marker behind everything the system has queued so far, and
    // takes the messages up to it (the marker itself is left out).
    std::vector<Message> takeUpToMarker() {
        driver_->post(Message{MessageKind::Private, 0, 0, 0, 0, 0, 0, 2980});
        auto taken = takeUntil(
            [](const Message& m) { return m.kind == MessageKind::Private && m.code == 2980; });
        if (!taken.empty()) taken.pop_back();
        return taken;
    }

    void play(const std::string& script) {
        std::string error;
        auto actions = platform::parseKeyScript(script, error);
        ASSERT_TRUE(actions.has_value()) << error;
        for (const auto& action : *actions) driver_->deliver(action);
    }

    // The keyboard messages among `messages`, as "kind key modifiers".
    static std::vector<std::string> keyboard(const std::vector<Message>& messages) {
        std::vector<std::string> out;
        for (const Message& m : messages) {
            const char* kind = nullptr;
            switch (m.kind) {
                case MessageKind::KeyDown: kind = "down"; break;
                case MessageKind::SysKeyDown: kind = "sysdown"; break;
                case MessageKind::KeyUp: kind = "up"; break;
                case MessageKind::Char: kind = "char"; break;
                default: continue;
            }
            out.push_back(std::string(kind) + " " + std::to_string(m.key) + " " +
                          std::to_string(m.modifiers));
        }
        return out;
    }

    std::unique_ptr<Driver> driver_;
};

std::vector<std::uint8_t> silence(std::size_t bytes) {
    return std::vector<std::uint8_t>(bytes, 128);
}

}  // namespace

TEST_F(Win32Driver, ScriptedKeysArriveWithTheScriptsModifiers) {
    play("<ctrl+f1> S <shift+ins> j");
    EXPECT_EQ(keyboard(takeUpToMarker()),
              (std::vector<std::string>{"down 112 2", "up 112 2",                 // Ctrl+F1
                                        "down 83 1", "char 83 1", "up 83 1",      // S
                                        "down 45 1", "up 45 1",                   // Shift+Ins
                                        "down 74 0", "char 106 0", "up 74 0"}));  // j
}

TEST_F(Win32Driver, CharactersKeepTheirWindows1252Codes) {
    play("\xC3\xA7 <ctrl+a> <ctrl+enter> <ctrl+backspace>");  // ç
    const auto keys = keyboard(takeUpToMarker());
    std::vector<std::string> characters;
    for (const auto& k : keys)
        if (k.rfind("char", 0) == 0) characters.push_back(k);
    EXPECT_EQ(characters,
              (std::vector<std::string>{"char 231 0", "char 1 2", "char 10 2", "char 127 2"}));
}

TEST_F(Win32Driver, AltCombinationsAreSystemKeysWithoutCharacters) {
    play("<alt+a> <alt+left> <f10> <ctrl+alt+f11>");
    EXPECT_EQ(keyboard(takeUpToMarker()),
              (std::vector<std::string>{"sysdown 65 4", "up 65 4", "sysdown 37 4", "up 37 4",
                                        "sysdown 121 0", "up 121 0", "down 122 6", "up 122 6"}));
}

TEST_F(Win32Driver, ChordKeysAreAllDownBeforeAnyIsUp) {
    play("<chord:f+d+space>");
    EXPECT_EQ(
        keyboard(takeUpToMarker()),
        (std::vector<std::string>{"down 70 0", "char 102 0", "down 68 0", "char 100 0", "down 32 0",
                                  "char 32 0", "up 70 0", "up 68 0", "up 32 0"}));
}

TEST_F(Win32Driver, AltF4DeclinedByTheConsoleClosesTheWindow) {
    play("<alt+f4>");
    const auto taken = takeUpToMarker();
    ASSERT_EQ(keyboard(taken).front(), "sysdown 115 4");
    Message altF4{MessageKind::SysKeyDown, 0x73, platform::ModAlt};
    // What the common part does with a system key the console declined.
    EXPECT_TRUE(driver_->defaultProcessing(altF4));
    const auto after = takeUntil([](const Message& m) { return m.kind == MessageKind::Close; });
    EXPECT_EQ(after.back().kind, MessageKind::Close);
}

TEST_F(Win32Driver, OtherSystemKeysDoNotCloseTheWindow) {
    EXPECT_TRUE(
        driver_->defaultProcessing(Message{MessageKind::SysKeyDown, 'A', platform::ModAlt}));
    EXPECT_TRUE(driver_->defaultProcessing(Message{MessageKind::SysKeyDown, 0x73, 0}));  // F4 alone
    for (const Message& m : takeUpToMarker()) EXPECT_NE(m.kind, MessageKind::Close);
    EXPECT_FALSE(driver_->defaultProcessing(Message{MessageKind::KeyUp, 0x79, 0}));
}

TEST_F(Win32Driver, TheCloseButtonAndTheQuitMessage) {
    play("<close>");
    EXPECT_EQ(takeUntil([](const Message& m) { return m.kind == MessageKind::Close; }).back().kind,
              MessageKind::Close);
    play("<quit>");
    EXPECT_EQ(takeUntil([](const Message& m) { return m.kind == MessageKind::Quit; }).back().kind,
              MessageKind::Quit);
}

TEST_F(Win32Driver, AnotherThreadsPostWakesTheWait) {
    std::thread poster([this] {
        driver_->post(Message{MessageKind::Private, 0, 0, 0, 0, 0, 0, 1123});
        driver_->post(Message{MessageKind::Char, 'x'});
    });
    auto taken = takeUntil([](const Message& m) { return m.kind == MessageKind::Char; });
    poster.join();
    ASSERT_GE(taken.size(), 2u);
    EXPECT_EQ(taken[taken.size() - 2].kind, MessageKind::Private);
    EXPECT_EQ(taken[taken.size() - 2].code, 1123);
    EXPECT_EQ(taken.back().key, std::uint32_t{'x'});
}

TEST_F(Win32Driver, PaintRequestsOfTheSystemReachTheConsole) {
    // Showing the window again after hiding it is not possible through the
    // interface; a new window is asked to paint itself whole.
    driver_->destroyWindow();
    ASSERT_TRUE(driver_->createWindow("ORALIS teste", 760, 620, false, 80, 25));
    const auto taken = takeUntil([](const Message& m) { return m.kind == MessageKind::Paint; });
    const Message& paint = taken.back();
    EXPECT_EQ(paint.x, 0);
    EXPECT_EQ(paint.y, 0);
    EXPECT_GT(paint.width, 0);
    EXPECT_GT(paint.height, 0);
}

TEST_F(Win32Driver, TheFontOfTheSettingsHasTheCellTheyAskFor) {
    const platform::FontMetrics font = driver_->fontMetrics();
    EXPECT_EQ(font.height, 22);
    EXPECT_EQ(font.averageCharWidth, 9);
    EXPECT_GT(font.ascent, 0);
    EXPECT_LE(font.ascent, font.height);
    // Without it, the system's fixed-pitch font.
    driver_->deleteFont();
    const platform::FontMetrics fixed = driver_->fontMetrics();
    EXPECT_GT(fixed.averageCharWidth, 0);
    EXPECT_GT(fixed.height, 0);
    EXPECT_NE(fixed.height, 22);
}

TEST_F(Win32Driver, DrawingWithTheCaretShown) {
    driver_->showCaret(0, 17, 9, 2);
    driver_->drawText(0, 0, "Vamos come\xE7\x61r", {255, 255, 255}, {0, 0, 0});
    driver_->scrollUp(22, 24 * 22, 22, {0, 0, 0});
    driver_->takeSnapshot(760, 620);
    driver_->drawSnapshotStretched(10, 10, 380, 310, 760, 620);
    driver_->releaseSnapshot();
    driver_->hideCaret();
    driver_->present();
    // Nothing of this is a message for the console.
    for (const Message& m : takeUpToMarker()) {
        EXPECT_NE(m.kind, MessageKind::Close);
        EXPECT_NE(m.kind, MessageKind::Quit);
    }
}

TEST_F(Win32Driver, AWaveBlockComesBackOnceWithTheDevicesResult) {
    ASSERT_EQ(driver_->waveOpen(11025, 8, 1), 0);
    EXPECT_EQ(driver_->waveOpen(11025, 8, 1), 4);  // one device at a time
    const auto block = silence(1102);
    ASSERT_TRUE(driver_->waveWrite(3, block.data(), block.size()));
    EXPECT_TRUE(driver_->devicePending());
    const auto taken = takeUntil([](const Message& m) { return m.kind == MessageKind::WaveDone; });
    EXPECT_EQ(taken.back().key, 3u);
    EXPECT_EQ(taken.back().code, 0);
    EXPECT_FALSE(driver_->devicePending());
    for (const Message& m : takeUpToMarker()) EXPECT_NE(m.kind, MessageKind::WaveDone);
    driver_->waveClose();
}

TEST_F(Win32Driver, AResetGivesEveryBlockBackAtOnceAndOnlyOnce) {
    ASSERT_EQ(driver_->waveOpen(16000, 16, 1), 0);
    const auto second = silence(32000);  // one second each
    for (int slot = 1; slot <= 4; ++slot)
        ASSERT_TRUE(driver_->waveWrite(slot, second.data(), second.size()));
    driver_->waveReset();
    EXPECT_FALSE(driver_->devicePending());
    std::vector<std::uint32_t> slots;
    for (const Message& m : drain())
        if (m.kind == MessageKind::WaveDone) {
            slots.push_back(m.key);
            EXPECT_EQ(m.code, 0);
        }
    EXPECT_EQ(slots, (std::vector<std::uint32_t>{1, 2, 3, 4}));
    // The device's own messages about them come later and change nothing.
    driver_->waveClose();
    for (const Message& m : takeUpToMarker()) EXPECT_NE(m.kind, MessageKind::WaveDone);
    // Closed, it opens again.
    ASSERT_EQ(driver_->waveOpen(11025, 8, 1), 0);
    driver_->waveClose();
}

TEST_F(Win32Driver, ClosingTheDeviceReturnsWhatItStillPlays) {
    ASSERT_EQ(driver_->waveOpen(11025, 8, 1), 0);
    const auto second = silence(11025);
    ASSERT_TRUE(driver_->waveWrite(1, second.data(), second.size()));
    ASSERT_TRUE(driver_->waveWrite(2, second.data(), second.size()));
    driver_->waveClose();
    EXPECT_FALSE(driver_->devicePending());
    int done = 0;
    for (const Message& m : drain()) done += m.kind == MessageKind::WaveDone;
    EXPECT_EQ(done, 2);
    EXPECT_FALSE(driver_->waveWrite(3, second.data(), second.size()));
}
