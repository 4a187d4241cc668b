// The wave-out description of a PCM format, shared by the console's device
// and the command-line tool's player.
#pragma once

#include <windows.h>
// After windows.h:
#include <mmsystem.h>

namespace platform::win32 {

inline WAVEFORMATEX pcmFormat(int samplesPerSecond, int bitsPerSample, int channels) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = static_cast<DWORD>(samplesPerSecond);
    format.wBitsPerSample = static_cast<WORD>(bitsPerSample);
    format.nBlockAlign = static_cast<WORD>(channels * (bitsPerSample / 8));
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    format.cbSize = 0;
    return format;
}

}  // namespace platform::win32
