// The SDL2 backend: a real window drawn with SDL's renderer, its event queue
// translated into the messages Windows would deliver, and SDL audio.
#pragma once

#include <SDL.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/driver.h"
#include "platform/sdl/sdl_font.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_sound.h"

namespace platform::sdl {

class SdlDriver final : public Driver {
public:
    SdlDriver();
    ~SdlDriver() override;

    const char* name() const override { return "sdl"; }
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

private:
    // sdl_events.cpp: the queue and the translation of SDL events.
    void append(const Message& message);
    void pumpEvents();
    void translate(const SDL_Event& event);
    void translateKeyDown(const SDL_KeyboardEvent& key);
    void translateWindowEvent(const SDL_WindowEvent& window);
    SDL_Event keyEvent(Uint32 type, const PhysicalKey& physical, std::uint8_t modifiers);
    void pushStrokeDown(const KeyStroke& stroke);
    void pushStrokeUp(const KeyStroke& stroke);
    void pushClose();

    // sdl_window.cpp
    GridFont& activeFont();
    void destroyTextures();
    void fillRect(const SDL_Rect& rect, Rgb colour);
    SDL_Texture* makeTargetTexture(int width, int height);

    bool started_ = false;
    bool ttfStarted_ = false;
    Uint64 startTicks_ = 0;

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* canvas_ = nullptr;    // everything is drawn here; present() shows it
    SDL_Texture* scratch_ = nullptr;   // the moving rows of a scroll pass through it
    SDL_Texture* snapshot_ = nullptr;  // the magnifier's still picture
    int width_ = 0, height_ = 0;
    std::optional<SDL_Rect> caret_;

    GridFont chosenFont_;
    GridFont fallbackFont_;  // the system's fixed-pitch font, when none was chosen
    bool fallbackTried_ = false;

    SoundOutput sound_;

    std::mutex queueMutex_;
    std::deque<Message> queue_;
    Uint32 wakeEvent_ = 0;               // pushed by post() to end SDL's wait
    Uint32 scriptedCharacterEvent_ = 0;  // fixes the character of the next scripted key
    std::atomic<bool> wakePending_{false};

    // Modifiers of the latest key event: text input carries none of its own.
    std::uint8_t textModifiers_ = 0;
    // The character the key script wants after the next key-down (empty inner
    // value: none), when the translation would not make that one.
    std::optional<std::optional<std::uint8_t>> scriptedCharacter_;
};

}  // namespace platform::sdl
