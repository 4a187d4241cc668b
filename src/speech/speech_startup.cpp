// Speech start-up: the speed profile and its synthesizer settings, the
// diphone voice, the folders of the recordings and the external engine.
#include <random>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "engines/ovsapi.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "speech/ovwin_state.h"

namespace ovwin {

using detail::win;

namespace {

// Yes when not empty and the first character, upper-cased, is not "N".
bool readYes(std::string_view section, const std::string& key) {
    const std::string v = readSetting(section, key);
    return !v.empty() && v[0] != 'N' && v[0] != 'n';
}

// The number read, whatever follows it (0 when none).
int readNumber(std::string_view section, const std::string& key) {
    return ovcrt::readInteger(readSetting(section, key));
}

// The number when the whole value is one; else the fallback.
int readNumberOr(std::string_view section, const std::string& key, int fallback) {
    bool complete = false;
    const int n = ovcrt::readInteger(readSetting(section, key), &complete);
    return complete ? n : fallback;
}

std::string withBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

void startUp() {
    auto& s = win();
    s = detail::WinState{};
    platform::comInitialize();
    // The click that replaces a symbol repeated more than four times: a
    // short burst of noise, then silence.
    std::minstd_rand noise(platform::clockSeed());
    for (std::size_t i = 0; i < 256; ++i)
        s.clickImage[44 + i] = static_cast<std::uint8_t>(i < 64 ? 128 + noise() % 60 : 128);
    std::string folder = platform::currentFolder();
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    s.startFolder = folder;
}

const SpeechSettings& settings() { return win().settings; }

void applySynthSettings(int trimLength, int minimumKept, int wordGap, bool skipPeriods,
                        bool rateBoost) {
    ovinter::setDiphoneSettings(trimLength, minimumKept, wordGap);
    ovwav::waveSkipPeriods = skipPeriods;
    ovwav::waveRateBoost = rateBoost;
}

void readSpeedSettings(int speed) {
    auto& s = win().settings;
    s.speed = speed;
    const std::string n = std::to_string(speed).substr(0, 2);
    ovinter::setVoiceName(readSetting("SINTETIZADOR", "DIFONES" + n).substr(0, 8));
    applySynthSettings(readNumber("SINTETIZADOR", "CORTEFON" + n),
                       readNumberOr("SINTETIZADOR", "SOBRAFON" + n, 0),
                       readNumberOr("SINTETIZADOR", "INTERPAL" + n, 0),
                       readYes("SINTETIZADOR", "CORTAFALA" + n),
                       readYes("SINTETIZADOR", "RAPIDINHO" + n));
    s.pauseAfterPeriod = readNumberOr("SINTETIZADOR", "PAUSAPONTO" + n, 250);
    s.pauseAfterComma = readNumberOr("SINTETIZADOR", "PAUSAVIRG" + n, 150);
    s.pauseAfterColon = readNumberOr("SINTETIZADOR", "PAUSADOISPONTOS" + n, 200);
}

void speechStart(int speed, const std::string& wordsFolder) {
    auto& s = win();
    if (speed < 1) speed = readNumber("TRADUTOR", "VELOCIDADE");
    if (speed < 1 || speed > 5) speed = 3;
    readSpeedSettings(speed);

    if (const int code = ovinter::loadDiphoneVoice(); code != 0) {
        ovcrt::writeLine(cp1252::fromUtf8("Erro de inicialização: ") + std::to_string(code));
        ovcrt::writeLine("Banco de dados de voz: " + ovinter::voiceName());
        ovinter::releaseDiphoneVoice();
        ovcrt::readStandardLine();
        ovcrt::closeConsole();
    }

    s.settings.wordsFolder = withBackslash(wordsFolder);
    s.settings.lettersFolder = withBackslash(platform::readProfileString(
        "TRADUTOR", "DIRLETRAS", "c:\\sonare\\som\\letras\\", "ORALIS.INI", 255));
    s.settings.engineActive = false;

    if (readYes("TRADUTOR", "SAPI")) {
        const int voice = readNumber("SERVFALA", "VOZ");
        int engineSpeed = readNumber("SERVFALA", "VELOCIDADE");
        const int pitch = readNumber("SERVFALA", "TOM");
        const int kind = readNumber("SERVFALA", "TIPOSAPI");
        if (kind != 4 && engineSpeed > 10) engineSpeed = 0;
        s.settings.engineActive = ovsapi::engineStart(voice, engineSpeed, pitch, kind, s.engineOutputFile);
        s.settings.engineKind = kind;
    }
}

void speechEnd() {
    auto& s = win();
    if (!s.speechBuffer.empty()) speak("");
    while (speechBusy()) platform::waitMessage();
    speechStop();
    if (s.settings.engineActive) {
        ovsapi::engineEnd();
        s.settings.engineActive = false;
    }
    ovinter::releaseDiphoneVoice();
}

}  // namespace ovwin
