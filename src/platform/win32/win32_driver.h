// The Win32 backend: the console window of class "OvWinCrt" drawn with GDI,
// its messages translated into the portable ones, the wave-out device of the
// system's wave mapper and the simple sound player for tones.
#pragma once

#include <windows.h>
// After windows.h:
#include <mmsystem.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/driver.h"

namespace platform::win32 {

class Win32Driver final : public Driver {
public:
    Win32Driver();
    ~Win32Driver() override;

    const char* name() const override { return "win32"; }
    bool start() override;
    void shutdown() override;
    bool virtualTime() const override { return false; }

    bool createWindow(const std::string& title, int outerWidth, int outerHeight, bool maximized,
                      int columns, int rows) override;
    void destroyWindow() override;
    void setTitle(const std::string& title) override;
    bool windowIsActive() override;
    int windowBottom() override;
    SystemMetrics systemMetrics() override;
    bool createFont(const std::string& face, int width, int height, int weight) override;
    void deleteFont() override;
    FontMetrics fontMetrics() override;
    void drawText(int x, int y, const std::string& text, Rgb foreground, Rgb background) override;
    void scrollUp(int top, int height, int by, Rgb fill) override;
    void present() override;
    void beep() override;
    void showCaret(int x, int y, int width, int height) override;
    void hideCaret() override;
    void takeSnapshot(int width, int height) override;
    void drawSnapshotStretched(int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                               int width, int height) override;
    void releaseSnapshot() override;

    void post(const Message& message) override;
    bool peek(Message& message) override;
    bool wait(std::optional<std::uint64_t> deadlineMs) override;
    bool devicePending() override;
    void deliver(const ScriptAction& action) override;

    void sleep(std::uint32_t ms) override;
    std::uint64_t now() override;

    void playToneLoop(const std::uint8_t* image, std::size_t size) override;
    void stopTone() override;
    int waveOpen(int samplesPerSecond, int bitsPerSample, int channels) override;
    bool waveWrite(int slot, const std::uint8_t* data, std::size_t size) override;
    void waveReset() override;
    void waveClose() override;

    void messageBox(const std::string& title, const std::string& text) override;
    bool defaultProcessing(const Message& message) override;

    // The window procedure of the class (win32_driver.cpp).
    LRESULT windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // win32_driver.cpp: the queue.
    void append(const Message& message);
    bool takeQueued(Message& message);
    void handleThreadMessage(const MSG& message);
    void appendKey(MessageKind kind, WPARAM virtualKey, LPARAM keyData);
    void appendCharacter(WPARAM unit, LPARAM keyData);
    void postNative(UINT message, WPARAM wParam, LPARAM lParam);
    void postStroke(const KeyStroke& stroke, bool keyUp);
    void moveLatePosts();

    // win32_window.cpp: drawing.
    HFONT activeFont() const;
    void fillMinMaxInfo(MINMAXINFO& info);
    void endOfProgram();

    // win32_sound.cpp: the wave-out device. A block written to the device
    // holds its header and a copy of its samples, which stay where they are
    // until the device has given the block back.
    struct Block {
        WAVEHDR header{};
        std::vector<std::uint8_t> samples;
    };
    void blockDone(WAVEHDR* header);
    void reapFinishedBlocks();

    DWORD thread_ = 0;
    HINSTANCE instance_ = nullptr;
    bool classRegistered_ = false;
    std::atomic<HWND> window_{nullptr};
    int columns_ = 80, rows_ = 25;
    HFONT font_ = nullptr;
    bool caretShown_ = false;
    HDC snapshotDc_ = nullptr;
    HBITMAP snapshotBitmap_ = nullptr;
    HGDIOBJ snapshotPrevious_ = nullptr;

    LARGE_INTEGER clockStart_{};
    LARGE_INTEGER clockFrequency_{};

    std::deque<Message> queue_;  // messages translated, not yet taken (main thread)
    std::mutex postedMutex_;
    std::deque<Message> posted_;  // posted from any thread, behind the wake-up message

    HWAVEOUT wave_ = nullptr;
    std::vector<std::unique_ptr<Block>> blocks_;     // written to the device, not yet back
    std::vector<std::unique_ptr<Block>> abandoned_;  // kept by a device that would not close
    std::vector<std::uint8_t> toneImage_;            // the player's copy of the tone
    bool tonePlaying_ = false;
};

}  // namespace platform::win32
