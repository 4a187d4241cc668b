// The word-rain game: the program takes no arguments.
#include "game/chuva.h"
#include "platform/platform.h"
#include "speech/modules.h"

int main() {
    if (!platform::start()) return 1;
    ovwin::startAllModules();
    const std::uint32_t seed = platform::scriptedSeed().value_or(platform::clockSeed());
    chuva::WordRain game(seed);
    game.run();
}
