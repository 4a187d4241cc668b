// The headless backend: a virtual window (a queue and nothing to see), a
// virtual clock that jumps instead of sleeping, and a virtual sound device on
// which a block ends after its playing time on that clock. Tests and batch
// runs use it; a whole game runs in milliseconds.
#include <algorithm>
#include <cstdio>
#include <deque>
#include <iostream>
#include <mutex>

#include "platform/driver.h"

namespace platform {
namespace {

class HeadlessDriver final : public Driver {
public:
    const char* name() const override { return "headless"; }
    bool start() override { return true; }
    void shutdown() override {}
    bool virtualTime() const override { return true; }

    bool createWindow(const std::string&, int, int height, bool, int, int) override {
        window_ = true;
        bottom_ = height;
        post(Message{MessageKind::SetFocus});
        return true;
    }
    void destroyWindow() override { window_ = false; }
    void setTitle(const std::string&) override {}
    bool windowIsActive() override { return window_; }
    int windowBottom() override { return bottom_; }
    SystemMetrics systemMetrics() override { return SystemMetrics{}; }

    // The virtual font has the cell the settings ask for, so that pixel
    // positions map back to cells exactly.
    bool createFont(const std::string&, int width, int height, int) override {
        metrics_.averageCharWidth = width > 0 ? width : 8;
        metrics_.height = height > 0 ? height : 16;
        metrics_.ascent = metrics_.height * 4 / 5;
        return true;
    }
    void deleteFont() override { metrics_ = FontMetrics{}; }
    FontMetrics fontMetrics() override { return metrics_; }

    void drawText(int, int, const std::string&, Rgb, Rgb) override {}
    void scrollUp(int, int, int, Rgb) override {}
    void present() override {}
    void beep() override {}
    void showCaret(int, int, int, int) override {}
    void hideCaret() override {}
    void takeSnapshot(int, int) override {}
    void drawSnapshotStretched(int, int, int, int, int, int) override {}
    void releaseSnapshot() override {}

    void post(const Message& message) override {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(message);
    }
    bool peek(Message& message) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (queue_.empty()) return false;
        message = queue_.front();
        queue_.pop_front();
        return true;
    }
    bool wait(std::optional<std::uint64_t> deadline) override {
        std::optional<std::uint64_t> next = deadline;
        if (!blocks_.empty()) {
            std::uint64_t end = blockEndMs(blocks_.front());
            if (!next || end < *next) next = end;
        }
        if (!next) return false;
        // A block that ends now (or has ended) comes back at once.
        advanceTo(std::max(now_, *next));
        return true;
    }
    bool devicePending() override { return !blocks_.empty(); }

    void deliver(const ScriptAction& action) override {
        switch (action.kind) {
            case ScriptAction::Kind::Keys:
                for (const auto& s : action.strokes) {
                    down(s);
                    up(s);
                }
                break;
            case ScriptAction::Kind::Chord:
                for (const auto& s : action.strokes) down(s);
                for (const auto& s : action.strokes) up(s);
                break;
            case ScriptAction::Kind::Close: post(Message{MessageKind::Close}); break;
            case ScriptAction::Kind::Quit: post(Message{MessageKind::Quit}); break;
            case ScriptAction::Kind::Wait: break;
        }
    }

    void sleep(std::uint32_t ms) override { advanceTo(now_ + ms); }
    std::uint64_t now() override { return now_; }

    void playToneLoop(const std::uint8_t*, std::size_t) override {}
    void stopTone() override {}

    int waveOpen(int rate, int bits, int channels) override {
        if (open_) return 4;
        if (rate <= 0 || (bits != 8 && bits != 16) || channels < 1 || channels > 2) return 32;
        open_ = true;
        bytesPerSecond_ = static_cast<std::uint64_t>(rate) * channels * (bits / 8);
        return 0;
    }
    bool waveWrite(int slot, const std::uint8_t*, std::size_t size) override {
        if (!open_) return false;
        // Blocks play one after another: each starts when the one before ends.
        std::uint64_t startUs = blocks_.empty() ? now_ * 1000 : blocks_.back().endUs;
        if (startUs < now_ * 1000) startUs = now_ * 1000;
        blocks_.push_back(Block{slot, startUs + std::uint64_t{size} * 1000000 / bytesPerSecond_});
        return true;
    }
    void waveReset() override {
        for (const auto& b : blocks_) post(Message{MessageKind::WaveDone, static_cast<std::uint32_t>(b.slot)});
        blocks_.clear();
    }
    void waveClose() override {
        waveReset();
        open_ = false;
    }

    void messageBox(const std::string&, const std::string&) override {}

private:
    struct Block {
        int slot;
        std::uint64_t endUs;
    };
    static std::uint64_t blockEndMs(const Block& b) { return (b.endUs + 999) / 1000; }

    void advanceTo(std::uint64_t ms) {
        now_ = ms;
        while (!blocks_.empty() && blockEndMs(blocks_.front()) <= now_) {
            post(Message{MessageKind::WaveDone, static_cast<std::uint32_t>(blocks_.front().slot)});
            blocks_.pop_front();
        }
    }
    void down(const KeyStroke& s) {
        post(Message{s.systemKey ? MessageKind::SysKeyDown : MessageKind::KeyDown, s.virtualKey,
                     s.modifiers});
        if (s.character) post(Message{MessageKind::Char, *s.character, s.modifiers});
    }
    void up(const KeyStroke& s) { post(Message{MessageKind::KeyUp, s.virtualKey, s.modifiers}); }

    std::mutex mutex_;
    std::deque<Message> queue_;
    std::uint64_t now_ = 0;
    bool window_ = false;
    int bottom_ = 0;
    FontMetrics metrics_;
    bool open_ = false;
    std::uint64_t bytesPerSecond_ = 11025;
    std::deque<Block> blocks_;
};

}  // namespace

std::unique_ptr<Driver> makeHeadlessDriver() { return std::make_unique<HeadlessDriver>(); }

}  // namespace platform
