#include "platform/sdl/sdl_driver.h"

#include <SDL_ttf.h>

#include <cstdio>

#include "platform/cp1252.h"

namespace platform::sdl {
namespace {

// Without a display SDL falls back to video drivers that show nothing; a
// window nobody sees must not pass for one, unless such a driver was asked for.
bool showsOnScreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked && SDL_strcasecmp(asked, driver) == 0) return true;
    for (const char* invisible : {"offscreen", "dummy", "evdev"})
        if (SDL_strcasecmp(driver, invisible) == 0) return false;
    return true;
}

}  // namespace

SdlDriver::SdlDriver()
    : sound_([this](int slot) {
          Message done;
          done.kind = MessageKind::WaveDone;
          done.key = static_cast<std::uint32_t>(slot);
          done.code = 0;
          post(done);
      }) {}

SdlDriver::~SdlDriver() { shutdown(); }

bool SdlDriver::start() {
    // The common part handles SIGINT and SIGTERM itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Closing the window is a Close message, not also a quit event.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    const bool videoStarted = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    if (!videoStarted || !showsOnScreen()) {
        std::fprintf(stderr,
                     "ORALIS: não foi possível abrir a janela (SDL: %s). Defina DISPLAY ou use "
                     "ORALIS_BACKEND=headless.\n",
                     videoStarted ? "nenhuma tela disponível" : SDL_GetError());
        SDL_Quit();
        return false;
    }
    started_ = true;
    startTicks_ = SDL_GetTicks64();
    // Without sound the program still runs; the wave-out device then reports
    // that there is no device.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        std::fprintf(stderr, "ORALIS: sem dispositivo de som (SDL: %s).\n", SDL_GetError());
    if (TTF_Init() == 0)
        ttfStarted_ = true;
    else
        std::fprintf(stderr, "ORALIS: não foi possível usar as fontes (SDL_ttf: %s).\n",
                     TTF_GetError());

    const Uint32 first = SDL_RegisterEvents(2);
    wakeEvent_ = first != static_cast<Uint32>(-1) ? first : Uint32{SDL_USEREVENT};
    scriptedCharacterEvent_ = wakeEvent_ + 1;
    SDL_StartTextInput();
    return true;
}

void SdlDriver::shutdown() {
    sound_.close();
    destroyWindow();
    chosenFont_.close();
    fallbackFont_.close();
    fallbackTried_ = false;
    if (ttfStarted_) TTF_Quit();
    ttfStarted_ = false;
    if (started_) SDL_Quit();
    started_ = false;
}

void SdlDriver::sleep(std::uint32_t ms) { SDL_Delay(ms); }

std::uint64_t SdlDriver::now() { return SDL_GetTicks64() - startTicks_; }

void SdlDriver::beep() { sound_.beep(); }

void SdlDriver::playToneLoop(const std::uint8_t* image, std::size_t size) {
    sound_.playLoop(image, size);
}

void SdlDriver::stopTone() { sound_.stopLoop(); }

int SdlDriver::waveOpen(int samplesPerSecond, int bitsPerSample, int channels) {
    return sound_.waveOpen(samplesPerSecond, bitsPerSample, channels);
}

bool SdlDriver::waveWrite(int slot, const std::uint8_t* data, std::size_t size) {
    return sound_.waveWrite(slot, data, size);
}

void SdlDriver::waveReset() { sound_.waveReset(); }

void SdlDriver::waveClose() { sound_.waveClose(); }

bool SdlDriver::devicePending() { return sound_.wavePending(); }

void SdlDriver::messageBox(const std::string& title, const std::string& text) {
    if (!started_) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, cp1252::toUtf8(title).c_str(),
                             cp1252::toUtf8(text).c_str(), window_);
}

}  // namespace platform::sdl

namespace platform {

std::unique_ptr<Driver> makeSdlDriver() { return std::make_unique<sdl::SdlDriver>(); }

}  // namespace platform
