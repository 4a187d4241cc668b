#include "game/rain_random.h"

#include <gtest/gtest.h>

#include "game/chuva.h"

TEST(RainRandom, SeedZeroGivesTheHistoricSequence) {
    chuva::RainRandom r(0);
    // seed 1, then 134775814, then 134775814 × 134775813 + 1 (mod 2^32).
    EXPECT_EQ(r.below(100), 0u);
    EXPECT_EQ(r.seed(), 1u);
    EXPECT_EQ(r.below(100), 3u);  // 134775814 × 100 >> 32
    EXPECT_EQ(r.seed(), 134775814u);
    const std::uint32_t next = 134775814u * 134775813u + 1u;
    EXPECT_EQ(r.below(25), static_cast<std::uint32_t>((std::uint64_t{next} * 25) >> 32));
}

TEST(RainRandom, EveryRainLetterFallsAndWNever) {
    chuva::RainRandom r(12345);
    std::string seen;
    for (int i = 0; i < 5000; ++i) {
        char c = chuva::rainLetter(r.below(25) + 1);
        if (seen.find(c) == std::string::npos) seen += c;
    }
    EXPECT_EQ(seen.size(), 25u);
    EXPECT_EQ(seen.find('w'), std::string::npos);
    EXPECT_STREQ(chuva::rainLetterWord('z'), "zulu");
    EXPECT_STREQ(chuva::rainLetterWord('x'), "exrei");
}
