// The built-in route: the text is cut into zeros, numbers, runs of words and
// symbols, each spoken in its own way with recorded sounds and the voice.
#include <cstring>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "platform/platform.h"
#include "speech/ovlenum.h"
#include "speech/ovwin_state.h"

namespace ovwin {

using detail::win;

namespace {

constexpr std::size_t kLongestWordRun = 999;
constexpr std::size_t kLongestNumber = 6;  // longer numbers are spelled out
constexpr int kPauseStep = 50;

bool isNumberStart(std::uint8_t c) { return c >= '1' && c <= '9'; }
bool isNumberRun(std::uint8_t c) { return (c >= '0' && c <= '9') || c == '-'; }
bool isLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128; }
bool isWordRun(std::uint8_t c) { return c == ' ' || isLetter(c); }
bool isDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

std::uint8_t at(std::string_view text, std::size_t i) { return static_cast<std::uint8_t>(text[i]); }

void waitWhileSpeaking() {
    while (speechBusy()) platform::waitMessage();
}

// Words go to the translator and the diphone voice.
void speakWords(std::string_view run) {
    ovinter::speakPhonemes(ovtradut::translateToPhonemes(run), false);
}

}  // namespace

std::string upperLatin1(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<std::uint8_t>(ch);
        if ((c >= 'a' && c <= 'z') || c >= 224) ch = static_cast<char>(c - 32);
    }
    return out;
}

void fillWaveHeader(std::uint8_t* image, std::uint32_t dataSize, std::uint32_t rate,
                    std::uint16_t bits, std::uint16_t channels) {
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) image[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    auto put16 = [&](int at, std::uint16_t v) {
        image[at] = static_cast<std::uint8_t>(v);
        image[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    std::memcpy(image, "RIFF\xFF\xFF\xFF\xFFWAVEfmt ", 16);
    put32(16, 16);
    put16(20, 1);
    put16(32, 1);  // the block alignment stays 1, as in the template
    std::memcpy(image + 36, "data", 4);
    put32(4, dataSize + 36);
    put32(40, dataSize);
    put16(22, channels);
    put32(24, rate);
    put32(28, rate * channels * (bits / 8u));
    put16(34, bits);
}

void playImageAndWait(std::uint8_t* image, std::size_t size) {
    waitForEngine();
    ovwav::playWaveBuffer(image, size);
    waitWhileSpeaking();
}

void playLetterSound(std::uint8_t character) {
    waitForEngine();
    ovwav::playWaveFile(ovinter::voiceLettersFolder() + "_" + std::to_string(character) + ".wav");
}

void playNamedSound(std::string_view name) {
    waitForEngine();
    const auto& s = win().settings;
    const std::string& folder = !name.empty() && name[0] == '_' ? s.lettersFolder : s.wordsFolder;
    ovwav::playWaveFile(folder + std::string(name) + ".wav");
}

void spellOut(std::string_view text) {
    for (char c : text) {
        if (ovcrt::keyPressed()) return;
        playLetterSound(static_cast<std::uint8_t>(c));
    }
}

void pauseUnlessKey(int milliseconds) {
    for (int step = 0; step < milliseconds / kPauseStep; ++step)
        if (!ovcrt::keyPressed()) ovcrt::delay(kPauseStep);
}

void punctuationPause(std::string_view text) {
    const auto& s = win();
    const std::uint8_t mark = at(text, 0);
    if (ovcrt::keyPressed()) return;
    waitWhileSpeaking();
    if (s.punctuationSpoken) playLetterSound(mark);
    const bool blankFollows = text.size() > 1 && text[1] == ' ';
    switch (mark) {
        case '(':
        case ')':
        case ':':
        case ';': pauseUnlessKey(s.settings.pauseAfterColon); break;
        case ',':
        case '-':
            if (blankFollows) pauseUnlessKey(s.settings.pauseAfterComma);
            else if (!s.punctuationSpoken) playLetterSound(mark);
            break;
        case '.':
            if (blankFollows) pauseUnlessKey(s.settings.pauseAfterPeriod);
            else if (!s.punctuationSpoken) playLetterSound(mark);
            break;
        default: break;
    }
}

void playRepeatClick() {
    auto& s = win();
    waitForEngine();
    const bool skipping = ovwav::waveSkipPeriods;
    ovwav::waveSkipPeriods = false;
    fillWaveHeader(s.clickImage.data(), 256, 11025, 8, 1);
    ovwav::playWaveBuffer(s.clickImage.data(), s.clickImage.size());
    waitWhileSpeaking();
    ovwav::waveSkipPeriods = skipping;
}

void speakRecorded(std::string_view input) {
    auto& s = win();
    const std::string text = std::string(input) + " ";
    s.stopRequested = false;
    std::uint8_t lastSymbol = ' ';
    int repeats = 0;
    std::size_t pos = 0;
    while (!s.stopRequested && pos < text.size()) {
        if (ovcrt::keyPressed()) {
            speechStop();
            break;
        }
        while (pos < text.size() && text[pos] == '0') {
            playNamedSound("_zero");
            ++pos;
        }
        if (pos >= text.size()) break;
        const std::uint8_t c = at(text, pos);

        if (isNumberStart(c)) {
            std::size_t end = pos;
            while (end < text.size() && isNumberRun(at(text, end))) ++end;
            const std::string number = text.substr(pos, end - pos);
            pos = end;
            if (number.find('-') != std::string::npos || number.size() > kLongestNumber)
                spellOut(number);
            else
                ovlenum::speakNumberWords(ovlenum::numberToWords(static_cast<std::uint32_t>(std::stoul(number))), 0);
            continue;
        }

        if (isWordRun(c)) {
            std::size_t end = pos;
            while (end < text.size() && isWordRun(at(text, end))) ++end;
            const std::string run = text.substr(pos, end - pos);
            pos = end;
            if (upperLatin1(run) == "WWW") spellOut(run);
            else speakWords(std::string_view(run).substr(0, kLongestWordRun));
            // A hyphenated word is spoken as two runs with nothing between.
            if (pos + 1 < text.size() && text[pos] == '-' && isLetter(at(text, pos + 1))) ++pos;
            continue;
        }

        // A symbol. From its fifth repetition in a row on, a click is played
        // and the symbol counts as a blank.
        std::uint8_t symbol = c;
        if (c == lastSymbol) {
            if (++repeats > 3) {
                playRepeatClick();
                symbol = ' ';
            }
        } else {
            repeats = 0;
            lastSymbol = c;
        }
        const std::string_view rest = std::string_view(text).substr(pos);
        if (symbol == '-') {
            const std::uint8_t next = rest.size() >= 3 ? at(rest, 1) : ' ';
            if (next == ' ' || next == '-') punctuationPause(rest);
            else if (isDigit(next)) playNamedSound("_MENOS");
            else playLetterSound('-');
        } else if (symbol == ':' && rest.substr(0, 3) == "://") {
            spellOut(":");
        } else {
            switch (symbol) {
                case '(':
                case ')':
                case ',':
                case '.':
                case ':':
                case ';': punctuationPause(rest); break;
                case ' ':
                case '\t': break;
                default:
                    if (!ovcrt::keyPressed()) playLetterSound(symbol);
                    break;
            }
        }
        ++pos;
    }
}

}  // namespace ovwin
