// chuva: the spoken word game "chuva de letras". The game picks a word from
// pal.txt and announces it; then letters rain, one at a time with a word of
// the spelling alphabet; Enter takes a letter, Esc refuses it (5 points of
// 1000). When the letters taken spell the word, the score is announced.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/rain_random.h"

namespace chuva {

class WordRain {
public:
    explicit WordRain(std::uint32_t seed);

    // The whole program after the modules' start-up: credits, games, farewell.
    // Ends the process through the console; never returns.
    [[noreturn]] void run();

private:
    void prepareWordList();
    void playWordRain();
    void chooseWord();
    bool announceWord();  // false: Enter asked for another word
    void rain();
    void tellResult();
    std::string readWordListLine(std::size_t lineNumber);
    [[noreturn]] void wordListUnreadable();
    static void cueLow();
    static void cueMiddle();
    static void cueHigh();

    RainRandom random_;
    std::string wordListName_;
    std::vector<std::string> wordListLines_;
    bool wordChosen_ = false;
    std::string word_;
    std::string collected_;
    std::int32_t score_ = 0;
    std::int32_t skipCount_ = 0;
    std::int32_t lineCounter_ = 0;
    std::uint8_t lastKey_ = 0;
};

// The word that names each rain letter ("a" … "z" without "w").
const char* rainLetterWord(char letter);
// Rain letter number k (1 … 25).
char rainLetter(std::uint32_t k);

}  // namespace chuva
