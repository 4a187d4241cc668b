// The state of the wave playback module, shared by its own files only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/ovwav.h"

namespace ovwav::detail {

struct AudioState {
    bool deviceOpen = false;
    WaveFormat format;
    // The device slots, allocated once; slot n is slots[n - 1].
    std::array<std::vector<std::uint8_t>, kSlotCount> slots;
    std::array<std::size_t, kSlotCount> slotLengths{};
    int nextSlot = 0;  // the slot used last
    int pending = 0;
    std::vector<std::uint8_t> work;  // file data is read into it
};

AudioState& audio();

}  // namespace ovwav::detail
