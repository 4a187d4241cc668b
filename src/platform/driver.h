// The backend interface of the platform layer (one implementation per target).
//
// The common part (src/platform/common) implements platform.h on top of one
// Driver: it owns the scripted run (key script, transcript, audio capture),
// the text canvas behind the transcript's screen, the paint bookkeeping and
// the portable services. A driver only does what needs the real system:
// the window and its pixels, its event queue, time, and the sound devices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// One key as the key script presses it: a key-down, its character (if the
// system would make one), then the key-up.
struct KeyStroke {
    std::uint32_t virtualKey = 0;
    std::uint8_t modifiers = 0;
    std::optional<std::uint8_t> character;  // Windows-1252 code of the character message
    bool systemKey = false;                  // reported as a system key (Alt without Ctrl, F10)
};

// One scripted action.
struct ScriptAction {
    enum class Kind : std::uint8_t { Keys, Chord, Close, Quit, Wait } kind = Kind::Keys;
    std::vector<KeyStroke> strokes;  // Keys: one stroke; Chord: all pressed, then all released
    std::uint32_t waitMs = 0;        // Wait
};

class Driver {
public:
    virtual ~Driver() = default;

    virtual const char* name() const = 0;
    // Starts the backend; false (with a message on stderr) when it cannot.
    virtual bool start() = 0;
    // Releases the window, the sound devices and the system (at exit).
    virtual void shutdown() = 0;
    // True when time is virtual (no sleeping; the clock jumps).
    virtual bool virtualTime() const = 0;

    // Window.
    virtual bool createWindow(const std::string& title, int outerWidth, int outerHeight,
                              bool maximized, int columns, int rows) = 0;
    virtual void destroyWindow() = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual bool windowIsActive() = 0;
    virtual int windowBottom() = 0;
    virtual SystemMetrics systemMetrics() = 0;
    virtual bool createFont(const std::string& face, int width, int height, int weight) = 0;
    virtual void deleteFont() = 0;
    virtual FontMetrics fontMetrics() = 0;
    virtual void drawText(int x, int y, const std::string& text, Rgb foreground,
                          Rgb background) = 0;
    virtual void scrollUp(int top, int height, int by, Rgb fill) = 0;
    // Shows what was drawn (the common part calls it after each change).
    virtual void present() = 0;
    virtual void beep() = 0;
    virtual void showCaret(int x, int y, int width, int height) = 0;
    virtual void hideCaret() = 0;
    virtual void takeSnapshot(int width, int height) = 0;
    virtual void drawSnapshotStretched(int sourceX, int sourceY, int sourceWidth,
                                       int sourceHeight, int width, int height) = 0;
    virtual void releaseSnapshot() = 0;

    // Queue. post() is safe from any thread and wakes wait().
    virtual void post(const Message& message) = 0;
    virtual bool peek(Message& message) = 0;
    // Waits until a message is queued, a device event is due, or the clock
    // reaches `deadlineMs` (when given). On virtual time it moves the clock to
    // the earliest of those and never blocks; it returns false when there was
    // nothing to wait for (no device event and no deadline).
    virtual bool wait(std::optional<std::uint64_t> deadlineMs) = 0;
    // Something of the driver's own will still produce a message by itself
    // (a wave block that has not come back).
    virtual bool devicePending() = 0;
    // Puts the scripted key on the system's queue as real input.
    virtual void deliver(const ScriptAction& action) = 0;

    // Time.
    virtual void sleep(std::uint32_t ms) = 0;
    virtual std::uint64_t now() = 0;

    // Sound.
    virtual void playToneLoop(const std::uint8_t* image, std::size_t size) = 0;
    virtual void stopTone() = 0;
    virtual int waveOpen(int samplesPerSecond, int bitsPerSample, int channels) = 0;
    virtual bool waveWrite(int slot, const std::uint8_t* data, std::size_t size) = 0;
    virtual void waveReset() = 0;
    virtual void waveClose() = 0;

    virtual void messageBox(const std::string& title, const std::string& text) = 0;

    // What the system does with a message that the window procedure declined
    // (its default window procedure). False when the system has nothing of
    // its own to do; the common part then does what Windows would.
    virtual bool defaultProcessing(const Message&) { return false; }
};

std::unique_ptr<Driver> makeHeadlessDriver();
std::unique_ptr<Driver> makeSdlDriver();    // null when the build has no SDL
std::unique_ptr<Driver> makeWin32Driver();  // null when the build is not for Windows

// Plays PCM sound on the system's sound device without a window and returns
// when it has sounded (false when there is no device).
bool playSoundOnDevice(int rate, int bits, int channels, const std::uint8_t* data, std::size_t size);

}  // namespace platform
