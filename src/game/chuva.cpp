#include "game/chuva.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "console/ovcrt.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "speech/ovwin.h"

namespace chuva {
namespace {

// The texts of the game are written here in UTF-8 and said in Windows-1252.
std::string w(const char* utf8) { return cp1252::fromUtf8(utf8); }

void say(const char* utf8) { ovwin::speakWriteLine(w(utf8)); }

constexpr const char* kLetterWords[25] = {
    "alfa",  "bravo", "charle", "delta",   "eco",     "fox",    "golfe",  "hotel",   "india",
    "juliet", "kilo", "lima",   "maic",    "november", "oscar", "papa",   "quebec",  "romeu",
    "sierra", "tango", "unifórm", "victor", "exrei",  "yanc",   "zulu"};

constexpr const char* kRainAlphabet = "abcdefghijklmnopqrstuvxyz";

constexpr std::uint8_t kEnter = 13, kEsc = 27, kSpace = 32;

void tone(std::uint16_t hertz) {
    ovcrt::sound(hertz);
    ovcrt::delay(30);
    ovcrt::noSound();
}

// Splits the word list into lines ending at CR LF, a lone LF or a lone CR;
// nothing is trimmed.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

const char* rainLetterWord(char letter) {
    for (int i = 0; i < 25; ++i)
        if (kRainAlphabet[i] == letter) return kLetterWords[i];
    return "";
}

char rainLetter(std::uint32_t k) { return kRainAlphabet[(k - 1) % 25]; }

WordRain::WordRain(std::uint32_t seed) : random_(seed) {}

void WordRain::cueLow() { tone(500); }
void WordRain::cueMiddle() { tone(1000); }
void WordRain::cueHigh() { tone(2000); }

void WordRain::run() {
    ovcrt::clearScreen();
    ovwin::speechStart(0, "");
    ovcrt::gotoXY(10, 10);
    // The credits are written, not spoken.
    ovcrt::writeLine(w("Chuva de letras"));
    ovcrt::writeLine(w("Um jogo falado do sistema ORALIS"));
    ovcrt::writeLine(w("Tecle as letras certas e forme a palavra."));

    do {
        say("letrada");
        say("Ouça a palavra que foi escolhida.");
        say("Na chuva de letras, vá teclando enter,");
        say("Em cada letra correspondente, para escrever a palavra sitada");
        say("Se a letra não servir, tecle Esc.");
        prepareWordList();
        random_.below(100);  // a draw that only moves the generator on
        playWordRain();
        say("ok");
        say("fim de jogo.");
        say("quer jogar novamente?");
        lastKey_ = ovcrt::readKey();
    } while (lastKey_ == 's');

    say("Quirandel agradece");
    ovwin::speechEnd();
    ovcrt::closeConsole();
}

void WordRain::prepareWordList() {
    say("Aguarde o carregamento do arquivo das palavras");
    wordListName_ = "pal.txt";
}

void WordRain::playWordRain() {
    do {
        chooseWord();
    } while (!announceWord());

    cueLow();
    cueMiddle();
    cueHigh();
    score_ = 1000;
    random_.below(100);  // a draw that only moves the generator on
    ovcrt::clearScreen();
    collected_.clear();
    say("Vamos começar a chuva de letras");
    cueHigh();
    cueMiddle();
    cueLow();
    rain();
    tellResult();
}

void WordRain::chooseWord() {
    cueLow();
    cueMiddle();
    cueHigh();
    random_.below(100);  // a draw that only moves the generator on
    skipCount_ = static_cast<std::int32_t>(random_.below(100));
    lineCounter_ = 0;

    // The list is read again from its start at every choice.
    std::error_code ec;
    std::ifstream file(wordListName_, std::ios::binary);
    if (!file.is_open() || std::filesystem::is_directory(wordListName_, ec)) wordListUnreadable();
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) wordListUnreadable();
    wordListLines_ = splitLines(text);

    cueLow();
    cueMiddle();
    // A skip count of 0 keeps the word of the choice before; at the first
    // choice of the run there is none, so the first line is read.
    std::int32_t lines = skipCount_;
    if (lines == 0 && !wordChosen_) lines = 1;
    while (lineCounter_ < lines) {
        word_ = readWordListLine(static_cast<std::size_t>(lineCounter_));
        ++lineCounter_;
    }
    wordChosen_ = true;
}

std::string WordRain::readWordListLine(std::size_t index) {
    return index < wordListLines_.size() ? wordListLines_[index] : std::string();
}

void WordRain::wordListUnreadable() {
    std::string folder = cp1252::fromUtf8(platform::currentFolder());
    std::string message = w("Não foi possível ler o arquivo das palavras, ") + wordListName_ +
                          w(", na pasta ") + folder + ".";
    ovwin::speakWriteLine(message);
    platform::messageBox(w("Chuva de letras"), message);
    platform::exitProcess(1);
}

bool WordRain::announceWord() {
    for (;;) {
        cueLow();
        cueMiddle();
        ovwin::speakWriteLine(word_);
        cueLow();
        cueMiddle();
        say("tecle espaço para repetir");
        cueLow();
        cueMiddle();
        say("Enter para outra palavra");
        cueLow();
        cueMiddle();
        say("tecle J para jogar");
        lastKey_ = ovcrt::readKey();
        if (lastKey_ == kSpace) continue;
        return lastKey_ != kEnter;
    }
}

void WordRain::rain() {
    for (;;) {
        cueHigh();
        cueLow();
        ovwin::speakWriteLine(collected_);
        if (collected_ == word_) return;
        char letter = rainLetter(random_.below(25) + 1);
        say(rainLetterWord(letter));
        lastKey_ = ovcrt::readKey();
        if (lastKey_ == kEnter) {
            cueHigh();
            collected_ += letter;
        } else if (lastKey_ == kEsc) {
            cueHigh();
            cueMiddle();
            cueLow();
            score_ -= 5;
        } else {
            return;
        }
    }
}

void WordRain::tellResult() {
    ovwin::speakWriteLine(collected_);
    say("Final de jogo!");
    if (collected_ != word_) return;
    const std::string score = std::to_string(score_);
    say("Você fez:");
    for (int i = 0; i < 2; ++i) {
        ovwin::speakWriteLine(score);
        say("Pontos");
        cueHigh();
        cueMiddle();
        cueLow();
        cueMiddle();
        cueHigh();
    }
}

}  // namespace chuva
