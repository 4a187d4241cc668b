#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "console/ovcrt.h"
#include "platform/cp1252.h"
#include "speech/ovlenum.h"
#include "speech_fixture.h"

using speechtest::lengthOf;
using speechtest::playedSince;

TEST(NumberWords, BrazilianPortugueseWords) {
    struct Case {
        std::uint32_t value;
        const char* words;  // UTF-8
    };
    const Case cases[] = {
        {0, "zero"},
        {1, "um"},
        {21, "vinte e um"},
        {100, "cem"},
        {101, "cento e um"},
        {110, "cento e dez"},
        {999, "novecentos e noventa e nove"},
        {1000, "mil "},
        {1001, "mil e um"},
        {1230, "mil e duzentos e trinta"},
        {2000, "dois mil "},
        {21000, "vinte e um mil "},
        {2500000, "dois milhões e quinhentos mil "},
        {1002003, "um milhão dois mil e tres"},
        {1000000, "um milhão "},
        {4294967295u, "quatro bilhões duzentos e noventa e quatro milhões novecentos e sessenta e "
                      "sete mil e duzentos e noventa e cinco"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp1252::toUtf8(ovlenum::numberToWords(c.value)), c.words) << c.value;
}

TEST(NumberWords, FileNames) {
    struct Case {
        const char* word;  // UTF-8
        const char* file;
    };
    const Case cases[] = {{"dezessete", "_dezeset"}, {"dezesseis", "_dezesse"},
                          {"milhão", "_milhao"},     {"milhões", "_milhoes"},
                          {"trilhões", "_trilhoe"},  {"quatrocentos", "_quatroc"},
                          {"e", "_e"}};
    for (const auto& c : cases)
        EXPECT_EQ(ovlenum::wordFileName(cp1252::fromUtf8(c.word)), c.file) << c.word;
}

TEST(NumberWords, RecordingsAreJoinedIntoOneSoundAndSplitPast30000Bytes) {
    while (ovcrt::keyPressed()) ovcrt::readKey();
    playedSince();
    ovlenum::speakNumberWords(cp1252::fromUtf8("um milhão "), 0);
    EXPECT_EQ(playedSince(),
              std::vector<std::string>{"+" + std::to_string(lengthOf("_um") + lengthOf("_milhao"))});

    // Feminine: only the last word changes.
    ovlenum::speakNumberWords("vinte e um", 1);
    EXPECT_EQ(playedSince(), std::vector<std::string>{"+" + std::to_string(lengthOf("_vinte") +
                                                                           lengthOf("_e") +
                                                                           lengthOf("_uma"))});
    ovlenum::speakNumberWords("um mil", 1);
    EXPECT_EQ(playedSince(),
              std::vector<std::string>{"+" + std::to_string(lengthOf("_um") + lengthOf("_mil"))});

    // Eleven words of 2900 bytes do not fit in one image of 30000.
    speechtest::writeRecording("_sete", 2900);
    ovlenum::speakNumberWords("sete sete sete sete sete sete sete sete sete sete sete", 0);
    const auto played = playedSince();
    speechtest::writeRecording("_sete", lengthOf("_sete"));
    ASSERT_EQ(played.size(), 2u);
    const std::size_t sete = 2900;
    const std::size_t perImage = 30000 / sete;
    EXPECT_EQ(played[0], "+" + std::to_string(perImage * sete));
    ASSERT_EQ(perImage, 10u);
    EXPECT_EQ(played[1], "_sete");  // the eleventh word alone
}

TEST(NumberWords, BrokenAndOversizedRecordingsAreSkippedOrCut) {
    namespace fs = std::filesystem;
    const fs::path folder = speechtest::lettersFolder();
    // A file shorter than its header, a missing one, and one over 30000 bytes.
    std::ofstream(folder / "_oito.wav", std::ios::binary) << "RIFF";
    fs::remove(folder / "_nove.wav");
    speechtest::writeRecording("_dez", 40000);
    playedSince();
    ovlenum::speakNumberWords("oito nove dez", 0);
    EXPECT_EQ(playedSince(), std::vector<std::string>{"+30000"});
    speechtest::writeRecording("_oito", lengthOf("_oito"));
    speechtest::writeRecording("_nove", lengthOf("_nove"));
    speechtest::writeRecording("_dez", lengthOf("_dez"));
}
