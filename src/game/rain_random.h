// The game's pseudo-random generator: a 32-bit linear congruential generator.
// Each draw first sets seed := seed × 134775813 + 1 (mod 2^32); a draw below
// n is then the upper 32 bits of the 64-bit product seed × n. Started from
// seed 0 it gives the game's historic sequence, draw for draw.
#pragma once

#include <cstdint>

namespace chuva {

class RainRandom {
public:
    explicit RainRandom(std::uint32_t seed = 0) : seed_(seed) {}
    // A uniform integer in 0 … bound − 1.
    std::uint32_t below(std::uint32_t bound);
    std::uint32_t seed() const { return seed_; }

private:
    std::uint32_t seed_;
};

}  // namespace chuva
