// Plays a finished sound on the sound device without a window, for the
// command-line tool: the whole sound is queued and the call returns when it
// has been heard.
#include <SDL.h>

#include <cstdio>

#include "platform/driver.h"

namespace platform {

bool playSoundOnDevice(int rate, int bits, int channels, const std::uint8_t* data, std::size_t size) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "ORALIS: sem som (SDL: %s)\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = bits == 16 ? AUDIO_S16LSB : AUDIO_U8;
    want.channels = static_cast<Uint8>(channels);
    want.samples = 512;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device == 0) {
        std::fprintf(stderr, "ORALIS: sem som (SDL: %s)\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_QueueAudio(device, data, static_cast<Uint32>(size));
    SDL_PauseAudioDevice(device, 0);
    while (SDL_GetQueuedAudioSize(device) > 0) SDL_Delay(10);
    SDL_Delay(60);  // the device's own buffer
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return true;
}

}  // namespace platform
