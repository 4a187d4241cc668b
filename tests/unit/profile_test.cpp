#include "platform/common/profile.h"

#include <gtest/gtest.h>

TEST(Profile, FindsValuesAsTheWindowsReaderDoes) {
    const char* ini =
        "; comment\r\n"
        "[video]\r\n"
        "  TabCores = 4,1  \r\n"
        "CORLETRA=\r\n"
        "FONTE=\"Courier New\"\r\n"
        "LENTO=S\r\n"
        "LENTO=N\r\n"
        "[BRAILLE]\n"
        "MODO=2\n";
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"VIDEO", "TABCORES", "4,1"},     {"VIDEO", "corletra", ""},
        {"VIDEO", "FONTE", "Courier New"}, {"VIDEO", "LENTO", "S"},
        {"BRAILLE", "MODO", "2"},          {"VIDEO", "MODO", std::nullopt},
        {"SOM", "LENTO", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::findProfileValue(ini, c.section, c.key), c.value) << c.key;
}
