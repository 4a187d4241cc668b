// The word-rain game: the program takes no arguments.
#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "engines/ovsapi.h"
#include "game/chuva.h"
#include "platform/platform.h"
#include "speech/ovwin.h"

int main() {
    if (!platform::start()) return 1;
    // Every module starts once, before the game, in the order of dependence;
    // the speech front-end comes last.
    ovcrt::startUp();
    ovwav::startUp();
    ovsapi::startUp();
    ovtradut::startUp();
    ovinter::startUp();
    ovwin::startUp();
    const std::uint32_t seed = platform::scriptedSeed().value_or(platform::clockSeed());
    chuva::WordRain game(seed);
    game.run();
}
