// Plays a finished sound on the system's wave mapper without a window, for
// the command-line tool: the call returns when the sound has been heard.
#include <windows.h>
// After windows.h:
#include <mmsystem.h>

#include <cstdio>
#include <vector>

#include "platform/driver.h"
#include "platform/win32/pcm_format.h"

namespace platform {

bool playSoundOnDevice(int rate, int bits, int channels, const std::uint8_t* data,
                       std::size_t size) {
    if (size == 0) return true;
    WAVEFORMATEX format = win32::pcmFormat(rate, bits, channels);
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!done) return false;
    HWAVEOUT device = nullptr;
    const MMRESULT opened = waveOutOpen(&device, WAVE_MAPPER, &format,
                                        reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        std::fprintf(stderr, "ORALIS: sem som (wave-out: erro %u)\n", opened);
        CloseHandle(done);
        return false;
    }
    std::vector<std::uint8_t> samples(data, data + size);
    WAVEHDR header{};
    header.lpData = reinterpret_cast<LPSTR>(samples.data());
    header.dwBufferLength = static_cast<DWORD>(samples.size());
    bool played = waveOutPrepareHeader(device, &header, sizeof header) == MMSYSERR_NOERROR;
    if (played) {
        played = waveOutWrite(device, &header, sizeof header) == MMSYSERR_NOERROR;
        // The event is set when the device opens and when the block is back.
        while (played && !(header.dwFlags & WHDR_DONE)) WaitForSingleObject(done, 100);
        waveOutUnprepareHeader(device, &header, sizeof header);
    }
    waveOutClose(device);
    CloseHandle(done);
    return played;
}

}  // namespace platform
