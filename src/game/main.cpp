// The word-rain game: the program takes no arguments.
#include <cstdio>

#include "console/ovcrt.h"
#include "game/chuva.h"
#include "platform/platform.h"
#include "speech/ovwin.h"

int main() {
    if (!platform::start()) return 1;
    // Every module starts once, before the game, in the order of dependence.
    ovcrt::startUp();
    ovwin::startUp();
    const std::uint32_t seed = platform::scriptedSeed().value_or(platform::clockSeed());
    chuva::WordRain game(seed);
    game.run();
}
