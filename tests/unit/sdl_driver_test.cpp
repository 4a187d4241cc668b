// The SDL driver run for real on SDL's dummy video and audio drivers: scripted keys through SDL's
// queue, wake-ups from other threads, and the wave-out device's blocks coming back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/common/key_script.h"
#include "platform/driver.h"

using platform::Message;
using platform::MessageKind;

namespace {

class SdlDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The dummy video driver draws in memory without loading a GL
        // library, which the leak checker would blame when it is unloaded.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        driver_ = platform::makeSdlDriver();
        if (!driver_) GTEST_SKIP() << "built without SDL";
        ASSERT_TRUE(driver_->start());
        ASSERT_TRUE(driver_->createWindow("teste", 320, 200, false, 32, 10));
    }
    void TearDown() override {
        if (driver_) driver_->shutdown();
    }

    // The messages that arrive within `ms`, window and mouse chatter left out.
    std::vector<Message> collect(std::uint64_t ms, std::size_t enough = SIZE_MAX) {
        std::vector<Message> out;
        const std::uint64_t end = driver_->now() + ms;
        while (out.size() < enough && driver_->now() < end) {
            Message m;
            while (driver_->peek(m))
                if (m.kind != MessageKind::SetFocus && m.kind != MessageKind::KillFocus &&
                    m.kind != MessageKind::MouseMove)
                    out.push_back(m);
            if (out.size() < enough) driver_->wait(end);
        }
        return out;
    }

    void deliver(const char* script) {
        std::string error;
        auto actions = platform::parseKeyScript(script, error);
        ASSERT_TRUE(actions) << error;
        for (const auto& action : *actions) driver_->deliver(action);
    }

    std::unique_ptr<platform::Driver> driver_;
};

struct Expected {
    MessageKind kind;
    std::uint32_t key;
    std::uint8_t modifiers;
};

void expectMessages(const std::vector<Message>& got, const std::vector<Expected>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].kind, want[i].kind) << "message " << i;
        EXPECT_EQ(got[i].key, want[i].key) << "message " << i;
        EXPECT_EQ(got[i].modifiers, want[i].modifiers) << "message " << i;
    }
}

}  // namespace

TEST_F(SdlDriverTest, ScriptedKeysArriveAsTheSystemsMessages) {
    using K = MessageKind;
    const std::uint8_t ctrl = platform::ModCtrl, alt = platform::ModAlt;
    deliver("j <ctrl+a> <alt+f4> <enter> ç <chord:f+d>");
    const std::vector<Expected> want = {
        // j
        {K::KeyDown, 'J', 0},
        {K::Char, 'j', 0},
        {K::KeyUp, 'J', 0},
        // Ctrl+A: its control character, no letter
        {K::KeyDown, 'A', ctrl},
        {K::Char, 1, ctrl},
        {K::KeyUp, 'A', ctrl},
        // Alt+F4: a system key, no character
        {K::SysKeyDown, 0x73, alt},
        {K::KeyUp, 0x73, alt},
        // Enter
        {K::KeyDown, 0x0D, 0},
        {K::Char, 13, 0},
        {K::KeyUp, 0x0D, 0},
        // ç, on its ABNT2 key
        {K::KeyDown, 0xBA, 0},
        {K::Char, 0xE7, 0},
        {K::KeyUp, 0xBA, 0},
        // f and d pressed together
        {K::KeyDown, 'F', 0},
        {K::Char, 'f', 0},
        {K::KeyDown, 'D', 0},
        {K::Char, 'd', 0},
        {K::KeyUp, 'F', 0},
        {K::KeyUp, 'D', 0},
    };
    expectMessages(collect(200, want.size()), want);
}

TEST_F(SdlDriverTest, CloseAndQuitComeAfterTheKeysBeforeThem) {
    deliver("x <close> <quit>");
    auto got = collect(200, 5);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[3].kind, MessageKind::Close);
    EXPECT_EQ(got[4].kind, MessageKind::Quit);
}

TEST_F(SdlDriverTest, AMessagePostedByAnotherThreadEndsTheWait) {
    std::thread poster([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Message m;
        m.kind = MessageKind::Private;
        m.code = 1123;
        driver_->post(m);
    });
    auto got = collect(1000, 1);
    poster.join();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].kind, MessageKind::Private);
    EXPECT_EQ(got[0].code, 1123);
}

TEST_F(SdlDriverTest, WaveOutOpensOnceAndRefusesOddFormats) {
    EXPECT_EQ(driver_->waveOpen(22050, 12, 1), 32);
    EXPECT_EQ(driver_->waveOpen(22050, 16, 3), 32);
    EXPECT_EQ(driver_->waveOpen(22050, 16, 1), 0);
    EXPECT_EQ(driver_->waveOpen(11025, 8, 1), 4);
    driver_->waveClose();
    EXPECT_EQ(driver_->waveOpen(11025, 8, 1), 0);
    driver_->waveClose();
}

TEST_F(SdlDriverTest, WaveBlocksComeBackInOrderAfterPlaying) {
    ASSERT_EQ(driver_->waveOpen(22050, 16, 1), 0);
    std::vector<std::uint8_t> block(22050 / 50 * 2, 0);  // 20 ms
    const std::uint64_t start = driver_->now();
    for (int slot = 0; slot < 4; ++slot)
        ASSERT_TRUE(driver_->waveWrite(slot, block.data(), block.size()));
    EXPECT_TRUE(driver_->devicePending());
    auto got = collect(3000, 4);
    ASSERT_EQ(got.size(), 4u);
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(got[slot].kind, MessageKind::WaveDone);
        EXPECT_EQ(got[slot].key, static_cast<std::uint32_t>(slot));
    }
    // 80 ms of sound cannot come back sooner than the device plays it.
    EXPECT_GE(driver_->now() - start, 50u);
    EXPECT_FALSE(driver_->devicePending());
    driver_->waveClose();
}

TEST_F(SdlDriverTest, ResetReturnsEveryQueuedBlockAtOnce) {
    ASSERT_EQ(driver_->waveOpen(11025, 8, 1), 0);
    std::vector<std::uint8_t> block(11025, 128);  // one second each
    for (int slot = 0; slot < 3; ++slot) driver_->waveWrite(slot, block.data(), block.size());
    driver_->waveReset();
    EXPECT_FALSE(driver_->devicePending());
    auto got = collect(100);
    ASSERT_EQ(got.size(), 3u);
    for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(got[slot].key, static_cast<std::uint32_t>(slot));
    // Closing with blocks still queued returns them too.
    driver_->waveWrite(7, block.data(), block.size());
    driver_->waveClose();
    got = collect(100);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].key, 7u);
}

TEST_F(SdlDriverTest, TheToneLoopKeepsItsOwnCopyOfTheSamples) {
    {
        std::vector<std::uint8_t> image(44 + 200, 200);
        image[40] = 200;  // data size, little-endian
        for (int i = 41; i < 44; ++i) image[i] = 0;
        driver_->playToneLoop(image.data(), image.size());
    }  // the caller frees its image while the loop plays
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    driver_->stopTone();
}
