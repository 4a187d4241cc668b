#include "tools/voice/voice_tables.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

using voice::CharacterTable;
using voice::NamedSoundTable;

CharacterTable characters(const std::string& text) {
    std::istringstream in(text);
    return voice::parseCharacterTable(in);
}

NamedSoundTable named(const std::string& text) {
    std::istringstream in(text);
    return voice::parseNamedSoundTable(in);
}

TEST(SpokenCharacterCodes, AreThePrintableCodesOfTheCodePage) {
    const std::vector<int> codes = voice::spokenCharacterCodes();
    EXPECT_EQ(codes.size(), 217u);  // 33 … 255 less DEL and the five unassigned codes
    EXPECT_EQ(codes.front(), 33);
    EXPECT_EQ(codes.back(), 255);
    for (int absent : {32, 127, 129, 141, 143, 144, 157})
        EXPECT_FALSE(std::binary_search(codes.begin(), codes.end(), absent)) << absent;
    for (int present : {128, 130, 142, 158, 160, 173})
        EXPECT_TRUE(std::binary_search(codes.begin(), codes.end(), present)) << present;
}

TEST(CharacterTable, ReadsCodesAndTheRestOfTheLineAsText) {
    const CharacterTable t = characters(
        "# comment\n"
        "\n"
        "65 á\n"
        "  40\tabre parênteses  \r\n"
        "199 cê cedilha\n");
    EXPECT_TRUE(t.errors.empty());
    EXPECT_EQ(t.names.size(), 3u);
    EXPECT_EQ(t.names.at(65), "á");
    EXPECT_EQ(t.names.at(40), "abre parênteses");
    EXPECT_EQ(t.names.at(199), "cê cedilha");
}

struct BadLine {
    const char* line;
    const char* message;
};

// Readable test names.
void PrintTo(const BadLine& c, std::ostream* out) { *out << c.message; }

class CharacterTableErrors : public testing::TestWithParam<BadLine> {};

TEST_P(CharacterTableErrors, NameTheLineAndTheFault) {
    const CharacterTable t = characters(std::string("65 á\n") + GetParam().line + "\n");
    ASSERT_EQ(t.errors.size(), 1u) << GetParam().line;
    EXPECT_EQ(t.errors[0].rfind("linha 2: ", 0), 0u) << t.errors[0];
    EXPECT_NE(t.errors[0].find(GetParam().message), std::string::npos) << t.errors[0];
}

INSTANTIATE_TEST_SUITE_P(Lines, CharacterTableErrors,
                         testing::Values(BadLine{"66", "falta o texto"},
                                         BadLine{"B bê", "não é um código"},
                                         BadLine{"-5 menos", "não é um código"},
                                         BadLine{"1066 bê", "não é um código"},
                                         BadLine{"32 espaço", "não é de um caractere falado"},
                                         BadLine{"127 apagar", "não é de um caractere falado"},
                                         BadLine{"129 nada", "não é de um caractere falado"},
                                         BadLine{"256 nada", "não é de um caractere falado"},
                                         BadLine{"65 outra vez", "aparece duas vezes"},
                                         BadLine{"66 b\xEA", "não é UTF-8"},    // Latin-1 "bê"
                                         BadLine{"66 b\xC3", "não é UTF-8"}));  // cut-off sequence

TEST(CharacterTable, MissingCodesAreListed) {
    std::string text;
    for (int code : voice::spokenCharacterCodes())
        if (code != 64 && code != 255) text += std::to_string(code) + " nome\n";
    EXPECT_EQ(voice::missingCharacterCodes(characters(text)), (std::vector<int>{64, 255}));
}

TEST(NamedSoundTable, KeepsTheOrderOfTheFile) {
    const NamedSoundTable t = named("_um um\n# between\n_MENOS menos\n_quatroc quatrocentos\n");
    EXPECT_TRUE(t.errors.empty());
    ASSERT_EQ(t.sounds.size(), 3u);
    EXPECT_EQ(t.sounds[0].fileName, "_um");
    EXPECT_EQ(t.sounds[1].fileName, "_MENOS");
    EXPECT_EQ(t.sounds[2].text, "quatrocentos");
}

class NamedSoundErrors : public testing::TestWithParam<BadLine> {};

TEST_P(NamedSoundErrors, NameTheLineAndTheFault) {
    const NamedSoundTable t = named(std::string("_um um\n") + GetParam().line + "\n");
    ASSERT_EQ(t.errors.size(), 1u) << GetParam().line;
    EXPECT_EQ(t.errors[0].rfind("linha 2: ", 0), 0u) << t.errors[0];
    EXPECT_NE(t.errors[0].find(GetParam().message), std::string::npos) << t.errors[0];
}

INSTANTIATE_TEST_SUITE_P(Lines, NamedSoundErrors,
                         testing::Values(BadLine{"_quatroce quatrocentos",
                                                 "não é um nome de som"},  // 9 characters
                                         BadLine{"dois dois", "não é um nome de som"},
                                         BadLine{"_ nada", "não é um nome de som"},
                                         BadLine{"_mil/2 mil", "não é um nome de som"},
                                         BadLine{"_um um outra vez", "aparece duas vezes"},
                                         BadLine{"_dois", "falta o texto"}));

TEST(NamedSoundTable, MissingWordsOfTheNumberReaderAreListed) {
    std::string text;
    for (const std::string& name : voice::requiredNamedSounds())
        if (name != "_dezeset" && name != "_MENOS") text += name + " palavra\n";
    EXPECT_EQ(voice::missingNamedSounds(named(text)),
              (std::vector<std::string>{"_dezeset", "_MENOS"}));
}

// The tables as authored in data/voice parse without a fault and leave
// nothing out; a typo there would silence a character or a number word.
TEST(AuthoredTables, AreCompleteAndWellFormed) {
    std::ifstream charactersFile(ORALIS_VOICE_TABLES "/characters.txt", std::ios::binary);
    std::ifstream numbersFile(ORALIS_VOICE_TABLES "/numbers.txt", std::ios::binary);
    ASSERT_TRUE(charactersFile && numbersFile);
    const CharacterTable c = voice::parseCharacterTable(charactersFile);
    const NamedSoundTable n = voice::parseNamedSoundTable(numbersFile);
    EXPECT_EQ(c.errors, std::vector<std::string>{});
    EXPECT_EQ(voice::missingCharacterCodes(c), std::vector<int>{});
    EXPECT_EQ(n.errors, std::vector<std::string>{});
    EXPECT_EQ(voice::missingNamedSounds(n), std::vector<std::string>{});
    // Upper and lower case letters are named alike.
    for (int upper = 'A'; upper <= 'Z'; ++upper)
        EXPECT_EQ(c.names.at(upper), c.names.at(upper + 32));
    for (int upper = 192; upper <= 222; ++upper) {
        if (upper == 215) continue;  // × and ÷ are not a pair of letters
        EXPECT_EQ(c.names.at(upper), c.names.at(upper + 32)) << upper;
    }
}

}  // namespace
