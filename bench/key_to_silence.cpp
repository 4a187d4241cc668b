// How fast a key silences speech on the sdl backend: a long sound plays, a
// key arrives from another thread, and the time until the program has
// stopped the device is measured with SDL's own high-resolution counter
// (through std::chrono's steady clock, which SDL's counter uses on Linux).
// The device buffer adds at most its own length (1024 frames at 44100 Hz,
// 23 ms) before the listener hears silence.
//
// Run: SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./key_to_silence
// (or under a real display and sound device).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "platform/platform.h"

int main() {
    setenv("ORALIS_BACKEND", "sdl", 0);
    unsetenv("ORALIS_KEYS");
    if (!platform::start()) return 1;
    ovcrt::startUp();
    ovwav::startUp();
    using Clock = std::chrono::steady_clock;
    std::vector<double> delays;
    std::vector<std::uint8_t> sound(11025 * 5, 128);  // five seconds of 8-bit sound
    for (std::size_t i = 0; i < sound.size(); ++i) sound[i] = static_cast<std::uint8_t>(128 + (i % 50 < 25 ? 40 : -40));
    for (int trial = 0; trial < 20; ++trial) {
        while (ovcrt::keyPressed()) ovcrt::readKey();
        ovwav::playSamples(sound.data(), 11025 * 2, 11025, 1, 8);  // queued, playing
        Clock::time_point pressed;
        std::thread presser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            pressed = Clock::now();
            platform::postMessage(platform::Message{platform::MessageKind::Char, 'x'});
        });
        while (ovwav::wavePlaying()) platform::waitMessage();
        const auto stopped = Clock::now();
        presser.join();
        delays.push_back(std::chrono::duration<double, std::milli>(stopped - pressed).count());
    }
    std::sort(delays.begin(), delays.end());
    std::printf("key to device stopped: median %.2f ms, max %.2f ms over %zu presses\n",
                delays[delays.size() / 2], delays.back(), delays.size());
    platform::exitProcess(0);
}
