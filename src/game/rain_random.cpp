#include "game/rain_random.h"

namespace chuva {

std::uint32_t RainRandom::below(std::uint32_t bound) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * bound) >> 32);
}

}  // namespace chuva
