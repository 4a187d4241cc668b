#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "speech/ovwin.h"
#include "speech_fixture.h"

namespace fs = std::filesystem;

namespace {

// ORALIS.INI in the Windows folder and/or in the folder the program starts in.
class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        start_ = speechtest::windowsFolder().parent_path() / "start";
        fs::create_directories(start_);
        previous_ = fs::current_path();
        fs::current_path(start_);
        ovwin::startUp();  // startFolder is the current folder
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(start_);
        speechtest::writeIni("");
        ovwin::startUp();
        ovwin::speechStart(0, "");
    }
    void startIni(const std::string& text) { std::ofstream(start_ / "ORALIS.INI") << text; }
    void windowsIni(const std::string& text) {
        std::ofstream(speechtest::windowsFolder() / "ORALIS.INI") << text;
    }
    void noWindowsIni() { fs::remove(speechtest::windowsFolder() / "ORALIS.INI"); }
    fs::path start_, previous_;
};

}  // namespace

TEST_F(Settings, TheWindowsFoldersCopyWinsAndStartFolderIsTheFallback) {
    windowsIni("[TRADUTOR]\nVELOCIDADE=2\n");
    startIni("[TRADUTOR]\nVELOCIDADE=4\nSAPI=S\n");
    EXPECT_EQ(ovwin::readSetting("TRADUTOR", "VELOCIDADE"), "2");
    EXPECT_EQ(ovwin::readSetting("TRADUTOR", "SAPI"), "");
    noWindowsIni();
    EXPECT_EQ(ovwin::readSetting("TRADUTOR", "velocidade"), "4");
    EXPECT_EQ(ovwin::readSetting("NADA", "VELOCIDADE"), "");
}

TEST_F(Settings, ProgramFolderMarkers) {
    const std::string start = fs::current_path().string();
    struct Case {
        const char* pgm;  // [ORALIS] PGMORALIS line ("" none)
        const char* value;
        std::string expected;
    };
    const Case cases[] = {
        {"PGMORALIS=c:\\sonare", "@\\som\\letras", "c:\\sonare\\som\\letras"},
        {"PGMORALIS=c:\\sonare", "c:\\x@\\som", "c:\\xc:\\sonare\\som"},
        {"PGMORALIS=c:\\sonare", "@", "c:\\sonare"},
        {"PGMORALIS=c:\\sonare", "@som", "c:\\sonaresom"},
        {"PGMORALIS=c:\\sonare", "a@b", "a@b"},
        {"PGMORALIS=c:\\sonare", "@\\a;@\\b", "c:\\sonare\\a;c:\\sonare\\b"},
        {"", "@\\som", start + "\\som"},
        {"PGMORALIS=", "@\\som", start + "\\som"},
        {"PGMORALIS=@\\x", "@\\som", start + "\\som"},
    };
    for (const auto& c : cases) {
        windowsIni(std::string("[ORALIS]\n") + c.pgm + "\nCHAVE=" + c.value + "\n[SOM]\nCHAVE=" +
                   c.value + "\n");
        EXPECT_EQ(ovwin::readSetting("SOM", "CHAVE"), c.expected) << c.pgm << " " << c.value;
        EXPECT_EQ(ovwin::readSetting("", "CHAVE"), c.expected) << "empty section";
    }
}

TEST_F(Settings, SpeedProfiles) {
    struct Case {
        int asked;
        const char* velocidade;  // [TRADUTOR] VELOCIDADE ("" absent)
        int speed;
    };
    const Case cases[] = {{0, "", 3}, {0, "7", 3}, {0, "5", 5}, {0, "1x", 1}, {2, "4", 2}, {9, "", 3}};
    for (const auto& c : cases) {
        speechtest::writeIni(std::string("VELOCIDADE=") + c.velocidade + "\r\n");
        ovwin::speechStart(c.asked, "");
        EXPECT_EQ(ovwin::settings().speed, c.speed) << c.asked << " " << c.velocidade;
    }
}

TEST_F(Settings, PausesAndTrimmingOfASpeed) {
    struct Case {
        const char* lines;
        int period, comma, colon;
    };
    const Case cases[] = {
        {"", 250, 150, 200},
        {"PAUSAVIRG3=abc\r\nPAUSAPONTO3=400\r\nPAUSADOISPONTOS3=\r\n", 400, 150, 200},
        {"PAUSAVIRG3=80\r\nPAUSAPONTO3=12x\r\n", 250, 80, 200},
    };
    for (const auto& c : cases) {
        speechtest::writeIni(std::string("[SINTETIZADOR]\r\n") + c.lines);
        ovwin::speechStart(3, "palavras");
        EXPECT_EQ(ovwin::settings().pauseAfterPeriod, c.period) << c.lines;
        EXPECT_EQ(ovwin::settings().pauseAfterComma, c.comma) << c.lines;
        EXPECT_EQ(ovwin::settings().pauseAfterColon, c.colon) << c.lines;
        EXPECT_EQ(ovwin::settings().wordsFolder, "palavras\\");
        EXPECT_EQ(ovwin::settings().lettersFolder, speechtest::lettersFolder().string() + "\\");
        EXPECT_FALSE(ovwin::settings().engineActive);
    }
}

TEST_F(Settings, AnEngineThatCannotStartLeavesTheBuiltInVoice) {
    speechtest::writeIni("SAPI=Sim\r\n[SERVFALA]\r\nTIPOSAPI=5\r\nVELOCIDADE=15\r\n");
    ovwin::speechStart(0, "");
    EXPECT_FALSE(ovwin::settings().engineActive);
    EXPECT_EQ(ovwin::settings().engineKind, 5);
}
