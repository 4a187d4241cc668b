// The sound of a run written to a WAVE file while it plays, in the format of
// its first block, silences included. A block is written once it has sounded
// whole (or has been cut short), so that the memory used stays that of the
// few blocks the device holds, whatever the length of the run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "platform/common/audio_capture.h"

namespace platform {

class WaveStream {
public:
    ~WaveStream();
    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    // A block queued at `nowMs`; it starts when the blocks before it end.
    void block(double nowMs, PcmFormat format, const std::uint8_t* data, std::size_t size);
    // Playback stopped at `nowMs`: what had not sounded yet is gone.
    void reset(double nowMs);
    // Writes what is left and the sizes in the header. False on a write error.
    bool close();

private:
    struct Pending {
        double startMs, endMs;
        PcmFormat format;
        std::vector<std::uint8_t> data;
    };
    void writeFinished(double nowMs);
    void write(const Pending& block);

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool haveFormat_ = false;
    PcmFormat format_;
    std::uint64_t framesWritten_ = 0;
    double deviceEndMs_ = 0;
    std::deque<Pending> pending_;
};

}  // namespace platform
