#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "console_fixture.h"

namespace {

// ORALIS.INI in a folder of its own, which plays the Windows folder.
class DisplaySettings : public ConsoleTest {
protected:
    void TearDown() override {
        unsetenv("ORALIS_WINDIR");
        std::filesystem::remove_all(folder_);
    }
    void load(const std::string& video, const std::string& braille = "") {
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "ORALIS.INI") << "[VIDEO]\r\n" << video << "[BRAILLE]\r\n" << braille;
        setenv("ORALIS_WINDIR", folder_.c_str(), 1);
        ovcrt::loadDisplaySettings();
    }
    std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / ("oralis-ini-" + std::to_string(getpid()));
};

using Map = std::array<std::uint8_t, 16>;
constexpr Map kIdentity{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

}  // namespace

TEST(ColourTable, ListsSetTheEntriesOneByOneAndStopAtTheFirstFault) {
    struct Case {
        const char* value;
        Map expected;
    };
    const Case cases[] = {
        {"0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15", kIdentity},
        {"4,1", {4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        // The blank after the comma makes the second entry read as "1,".
        {"0, 1, 2", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"7, 9, 9", {7, 9, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"$F,0x0E,260", {15, 14, 4, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"3x,5", {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0,99", {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ovcrt::parseColourTable(c.value, kIdentity), c.expected) << c.value;
}

TEST(ColourTable, IntegersAreReadAsThePlatformReadsThem) {
    struct Case {
        const char* text;
        std::int32_t value;
        bool complete;
    };
    const Case cases[] = {{"15", 15, true},   {"  7", 7, true},  {"-3", -3, true},
                          {"$1F", 31, true},  {"0x10", 16, true}, {"12ab", 12, false},
                          {"abc", 0, false},  {"", 0, false},    {"+4", 4, true},
                          {"99999999999", static_cast<std::int32_t>(99999999999ULL & 0xFFFFFFFF), true}};
    for (const auto& c : cases) {
        bool complete = !c.complete;
        EXPECT_EQ(ovcrt::readInteger(c.text, &complete), c.value) << c.text;
        EXPECT_EQ(complete, c.complete) << c.text;
    }
}

TEST_F(DisplaySettings, DefaultsWhenTheKeysAreMissing) {
    load("");
    EXPECT_EQ(ovcrt::textAttr(), 0x0F);
    EXPECT_EQ(ovcrt::colourMap(), kIdentity);
    EXPECT_EQ(ovcrt::magnification(), 2);
    EXPECT_FALSE(ovcrt::scrollByCopying());
    EXPECT_TRUE(ovcrt::openMaximized());
    EXPECT_EQ(ovcrt::brailleMode(), 0);
    // The default font is 9 × 22: the headless font takes the cell asked for.
    EXPECT_EQ(platform::fontMetrics().averageCharWidth, 9);
    EXPECT_EQ(platform::fontMetrics().height, 22);
}

TEST_F(DisplaySettings, ColoursScrollingAndMagnification) {
    load("CORFUNDO=1\r\nCORLETRA=14\r\nLENTO=sim\r\nAMPLIF=4\r\nTABCORES=4,1\r\n");
    EXPECT_EQ(ovcrt::textAttr(), 0x1E);
    EXPECT_TRUE(ovcrt::scrollByCopying());
    EXPECT_EQ(ovcrt::magnification(), 4);
    EXPECT_EQ(ovcrt::colourMap()[0], 4);
    EXPECT_EQ(ovcrt::colourMap()[1], 1);
    EXPECT_EQ(ovcrt::colourMap()[2], 2);
}

TEST_F(DisplaySettings, EmptyValuesKeepWhatTheProgramHadBefore) {
    load("CORFUNDO=\r\nCORLETRA=\r\nLENTO=\r\nAMPLIF=\r\nTABCORES=\r\nCANTOTELA=\r\nLARGURALETRA=\r\n",
         "MODO=\r\n");
    EXPECT_EQ(ovcrt::textAttr(), 0x07);
    EXPECT_EQ(ovcrt::magnification(), 2);
    EXPECT_EQ(ovcrt::colourMap(), kIdentity);
    EXPECT_FALSE(ovcrt::openMaximized());
    EXPECT_EQ(ovcrt::brailleMode(), 0);
    EXPECT_EQ(platform::fontMetrics().averageCharWidth, 8);  // 0: the system chooses
}

TEST_F(DisplaySettings, MagnificationFactorComesFromTheFirstCharacter) {
    const struct {
        const char* value;
        int factor;
    } cases[] = {{"1", 1}, {"4", 4}, {"7", 7}, {"9", 1}, {"47", 4},
                 // 0 would divide by zero: no enlargement instead.
                 {"0", 1}, {"8", 1}};
    for (const auto& c : cases) {
        load(std::string("AMPLIF=") + c.value + "\r\n");
        EXPECT_EQ(ovcrt::magnification(), c.factor) << c.value;
    }
}

TEST_F(DisplaySettings, CornerOfTheScreenIsDecidedByTheSecondCharacter) {
    const struct {
        const char* value;
        bool maximized;
    } cases[] = {{"SIM", true}, {"S", true}, {"N", true}, {"N\xC3O", true}, {"NS", false},
                 {"ns", false}};
    for (const auto& c : cases) {
        load(std::string("CANTOTELA=") + c.value + "\r\n");
        EXPECT_EQ(ovcrt::openMaximized(), c.maximized) << c.value;
    }
}

TEST_F(DisplaySettings, BrailleModeFromTheFirstCharacter) {
    const struct {
        const char* value;
        int mode;
    } cases[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"6", 2}};
    for (const auto& c : cases) {
        load("", std::string("MODO=") + c.value + "\r\n");
        EXPECT_EQ(ovcrt::brailleMode(), c.mode) << c.value;
    }
}
