// Plays a finished sound on the system's wave mapper without a window, for
// the command-line tool: the call returns when the sound has been heard.
#include <windows.h>
// After windows.h:
#include <mmsystem.h>

#include <cstdio>
#include <vector>

#include "platform/driver.h"

namespace platform {

bool playSoundOnDevice(int rate, int bits, int channels, const std::uint8_t* data,
                       std::size_t size) {
    if (size == 0) return true;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = static_cast<WORD>(bits);
    format.nBlockAlign = static_cast<WORD>(channels * (bits / 8));
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
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
