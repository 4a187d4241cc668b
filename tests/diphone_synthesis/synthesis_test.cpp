// What speakPhonemes assembles: the units of a phoneme string, the pieces
// and names they become, the fallbacks for names the voice lacks, trimming,
// word gaps, punctuation pauses and the play-out of full images.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "platform/platform.h"
#include "synthesis_fixture.h"

using namespace synthtest;

namespace {

// Lengths are all different, so that a wrong cut shows.
const std::vector<Unit> kStandardVoice = {
    {"$A", 300},  {"$ACIRC", 230}, {"$AWTIL", 240}, {"$AY", 260}, {"$B", 150},
    {"$E", 210},  {"$ECIRC", 220}, {"$I", 250},     {"$K", 120},  {"$KA", 500},
    {"$LA", 340}, {"$MA", 520},    {"$NHA", 330},   {"$NN", 90},  {"$P", 110},
    {"$R", 130},  {"$RA", 450},    {"$RR", 140},    {"$S", 200},  {"$Y", 70},
};

std::vector<Unit> without(std::vector<Unit> units, const std::vector<std::string>& names) {
    std::erase_if(units, [&](const Unit& u) {
        return std::find(names.begin(), names.end(), u.name) != names.end();
    });
    return units;
}

void loadVoice(const std::vector<Unit>& units) {
    ovinter::releaseDiphoneVoice();
    writeVoice(diphoneFolder(), units);
    writeStandardIni();
    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
}

// Lines "<ms> audio <rate> <bits> <channels> <bytes>" of the transcript
// written since the last call: the blocks handed to the sound device.
std::vector<std::string> deviceBlocks() {
    static std::streamoff seen = 0;
    std::ifstream in(root() / "transcript.txt", std::ios::binary);
    in.seekg(seen);
    std::vector<std::string> blocks;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string ms, kind, rest;
        fields >> ms >> kind;
        std::getline(fields, rest);
        if (kind == "audio") blocks.push_back(rest.substr(1));
    }
    in.clear();
    in.seekg(0, std::ios::end);
    seen = in.tellg();
    return blocks;
}

class Synthesis : public ::testing::Test {
protected:
    void SetUp() override {
        while (ovcrt::keyPressed()) ovcrt::readKey();
        for (int code : {33, 44, 100, 115})
            writeCharacterSound(code, 300 + static_cast<std::size_t>(code));
        loadVoice(kStandardVoice);
        ovinter::setDiphoneSettings(0, 0, 0);
    }
    void TearDown() override { ovinter::setDiphoneSettings(400, 0, 100); }

    struct Case {
        std::string phonemes;
        std::string images;
    };
    static void expectSpoken(const std::vector<Case>& cases, bool namePunctuation = false) {
        for (const auto& c : cases)
            EXPECT_EQ(spoken(c.phonemes, namePunctuation), c.images) << c.phonemes;
    }
};

}  // namespace

TEST_F(Synthesis, UnitsSplitIntoPiecesThatNameDiphones) {
    expectSpoken({
        {"", ""},
        {"[]", ""},
        {"[ka]", "KA:500"},
        {"[KA]", "KA:500"},
        {"[kas]", "KA:500 S:200"},
        {"[pra]", "P:110 RA:450"},  // a leading consonant pair splits
        {"[bla]", "B:150 LA:340"},
        {"[nha]", "NHA:330"},  // dj nh rr ks tch stay together
        {"[kar]", "KA:500 R:130"},
        {"[karr]", "KA:500 RR:140"},
        {"[may]", "MA:312 AY:260"},               // the part before a glide at 0.6
        {"[as]", "A:210 S:200"},                  // the part before a final s at 0.7
        {"[ma~w]", "~:300 ACIRC:138 AWTIL:240"},  // ma^ at 0.6: no $MACIRC, no $M
        {"[ /_d]", "_100:400"},
        {"[_s]", "_115:415"},  // a character sound is not split as a plural
        // The joins of "/" make one unit of the rule outputs.
        {"[k/a]", "KA:500"},
        {"[ka s]", "KA:500 S:200"},
    });
}

TEST_F(Synthesis, MissingNamesFallBackToTheirParts) {
    expectSpoken({
        // A circumflex vowel after a consonant: the consonant at 0.9, then the vowel.
        {"[ke^]", "K:108 ECIRC:220"},
        // A nasal vowel: the circumflex form (stressed, at 0.9), then $nn at 0.9.
        {"[ka~]", "K:97 ACIRC:207 NN:81"},
        // i and u have no circumflex form: the plain vowel stands for it.
        {"[ki~]", "K:97 I:225 NN:81"},
        // A missing single phoneme is a burst of noise; longer names are silent.
        {"[m]", "~:300"},
        {"[ /_\x05]", "~:300"},
        {"[fo]", "~:600"},  // $f and $o, both missing
        // Other names without a fallback are skipped.
        {"[ /_q]", ""},
        {"[tch]", ""},
    });
    loadVoice(without(kStandardVoice, {"$KA"}));
    expectSpoken({{"[ka]", "K:108 A:300"}, {"[kas]", "K:108 A:300 S:200"}});
    loadVoice(without(kStandardVoice, {"$KA", "$K"}));
    expectSpoken({{"[ka]", "~:300 A:300"}});
}

TEST_F(Synthesis, TheNoiseBurstStaysAroundTheSilenceLevel) {
    takeImages();
    ovinter::speakPhonemes("[m]", false);
    const auto images = takeImages();
    ASSERT_EQ(images.size(), 1u);
    ASSERT_EQ(images[0].size(), 44u + 300u);
    bool varies = false;
    for (std::size_t i = 44; i < images[0].size(); ++i) {
        EXPECT_GE(images[0][i], 88);
        EXPECT_LE(images[0][i], 167);
        varies |= images[0][i] != images[0][44];
    }
    EXPECT_TRUE(varies);
}

TEST_F(Synthesis, UnstressedDiphonesLoseTheirEnd) {
    ovinter::setDiphoneSettings(400, 0, 0);
    expectSpoken({
        {"[ka]", "KA:100"},
        {"[kA]", "KA:500"},  // the stressed vowel's piece is whole
        {"[kA ra]", "KA:500 RA:50"},
        {"[ra kA]", "RA:50 KA:500"},
        {"[ra][ra]", "RA:100"},     // each word starts unstressed again
        {"[kAs]", "KA:500 S:200"},  // names of one phoneme are never cut
        {"[may]", "MA:72"},         // trimmed first, then the factor; $AY is cut away
        {"[ay]", ""},
    });
    ovinter::setDiphoneSettings(400, 300, 0);
    expectSpoken({{"[ka]", "KA:300"}, {"[ay]", "AY:260"}});
    // A negative trim never reads beyond the diphone's own samples.
    ovinter::setDiphoneSettings(-1000, 0, 0);
    expectSpoken({{"[ka]", "KA:500"}});
}

TEST_F(Synthesis, WordsAndCutUnitsAreFollowedByAGap) {
    struct GapCase {
        int gap;
        std::string phonemes, images;
    };
    const GapCase cases[] = {
        {150, "[ka][s]", "KA:500 .:100 S:200"},
        {99, "[ka][s]", "KA:500 S:200"},
        {250, "[ka][s][ka]", "KA:500 .:200 S:200 .:200 KA:500"},
        {100, "[ka]", "KA:500"},          // none after the last unit
        {100, "[ka s]", "KA:500 S:200"},  // none after a blank
        // "/" cuts a unit of more than 8 characters, with a gap.
        // (The last "ss" is a plural: its first s at 0.7.)
        {100, "[sssssssss/ka]", "S:1740 .:100 KA:500"},
        {100, "[ssssssss/ka]", "S:1600 KA:500"},  // 8 characters: joined
        {100, "[ss/ka]", "S:400 KA:500"},
        {-500, "[ka][s]", "KA:500 S:200"},
    };
    for (const auto& c : cases) {
        ovinter::setDiphoneSettings(0, 0, c.gap);
        EXPECT_EQ(spoken(c.phonemes), c.images) << c.phonemes << " gap " << c.gap;
    }
}

TEST_F(Synthesis, PunctuationUnitsArePausesUnlessMarksAreNamed) {
    expectSpoken({
        {"[ /_,]", ".:4000"},
        {"[ /_.]", ".:8000"},
        {"[ /_;]", ".:6000"},
        {"[ /_:]", ".:8000"},
        {"[ /_!]", "_33:333"},
        {"[ka][ /_,][ka]", "KA:500 .:4000 KA:500"},
    });
    expectSpoken({{"[ /_,]", "_44:344"}, {"[ /_.]", ""}}, true);
}

TEST_F(Synthesis, DamagedPhonemeStringsAreReadWithinTheirBounds) {
    expectSpoken({
        // A unit keeps 40 characters: 38 s whole, then the plural "ss".
        {"[" + std::string(50, 's') + "]", "S:7940"},
        // "_" and its character go in together or not at all. Inside a
        // unit "_d" is no character sound: "s_" is skipped and "$d" missing.
        {"[" + std::string(39, 's') + "_d]", "S:7740"},
        {"[" + std::string(38, 's') + "_d]", "S:7400 ~:300"},
        // A "_" that ends the string has no character.
        {"[ka_", "KA:500"},
        {"_", ""},
        {"[_rr]", "RR:140"},
        // A lone tilde: "$TIL" falls back to "$CIRC" (none) and "$nn".
        {"~y", "NN:81 Y:70"},
        {"[[[", ""},
        {"]]] ", ""},
        {"//", ""},
    });
}

TEST_F(Synthesis, FullImagesArePlayedBeforeTheNextPiece) {
    loadVoice({{"$A", 30000}, {"$E", 33956}, {"$I", 33955}, {"$O", 65535}, {"$U", 20000}});
    writeCharacterSound('#', 70000);
    expectSpoken({
        {"[a a]", "A:60000"},
        {"[a i]", "A:30000 I:33955"},    // 63999 bytes in all
        {"[a e]", "A:30000 | E:33956"},  // 64000 would be full
        {"[a a a]", "A:60000 | A:30000"},
        // Longer than an empty image: spread over two.
        {"[o]", "O:63956 | O:1579"},
        {"[u o]", "U:20000 | O:63956 | O:1579"},
        {"[ /_#]", "_35:63956 | _35:6044"},
    });
    ovinter::setDiphoneSettings(0, 0, 5000);
    expectSpoken({{"[a][a]", "A:30000 .:5000 | A:30000"}});

    takeImages();
    ovinter::speakPhonemes("[a a a a a u u]", false);
    for (const auto& image : takeImages()) {
        ASSERT_LE(image.size(), ovinter::kImageSize);
        std::uint32_t dataSize = 0, rate = 0;
        for (int i = 3; i >= 0; --i) {
            dataSize = dataSize << 8 | image[40 + i];
            rate = rate << 8 | image[24 + i];
        }
        EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
        EXPECT_EQ(dataSize, image.size() - 44);
        EXPECT_EQ(rate, 11025u);
        EXPECT_EQ(image[22], 1);  // mono
        EXPECT_EQ(image[34], 8);  // bits
    }
}

TEST_F(Synthesis, ADamagedVoiceGivesSilenceOrWhatTheFileHolds) {
    // .DIF: 300 samples of $S, then 200 of $KA.
    const std::string dif = std::string(300, static_cast<char>(sampleOf("S"))) +
                            std::string(200, static_cast<char>(sampleOf("KA")));
    struct DamageCase {
        const char* what;
        std::string kaRecord;
        std::string images;
    };
    const DamageCase cases[] = {
        {"a run past the end is cut", indexRecord("$KA", 3, 500, 300), "KA:200"},
        {"a run starting past the end", indexRecord("$KA", 3, 500, 10000), ""},
        {"a negative offset", indexRecord("$KA", 3, 500, -5), ""},
        {"the greatest offset", indexRecord("$KA", 3, 500, 0x7FFFFFFF), ""},
    };
    for (const auto& c : cases) {
        ovinter::releaseDiphoneVoice();
        writeFile(diphoneFolder() / "DIFONES2.IND", c.kaRecord + indexRecord("$S", 2, 300, 0));
        writeFile(diphoneFolder() / "DIFONES2.DIF", dif);
        ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
        EXPECT_EQ(spoken("[ka s]"), (*c.images.c_str() ? c.images + " " : "") + "S:300") << c.what;
    }

    // A character sound whose data chunk claims more than the file holds.
    writeFile(lettersFolder() / "_35.wav", waveFile(1000, sampleOf("_35"), "", 5000));
    // One whose first chunk is not the format is no sound.
    std::string listFirst = waveFile(10, sampleOf("_36"));
    listFirst.replace(12, 4, "LIST");
    writeFile(lettersFolder() / "_36.wav", listFirst);
    expectSpoken({{"[ /_#]", "_35:1000"}, {"[ /_$]", ""}});
}

TEST_F(Synthesis, TheImagesReachTheSoundDevice) {
    deviceBlocks();
    spoken("[ka s]");
    EXPECT_EQ(deviceBlocks(), std::vector<std::string>{"11025 8 1 700"});
}

TEST_F(Synthesis, AKeyPressedDuringSpeechSilencesTheRest) {
    loadVoice({{"$A", 30000}});
    // The key comes while the first image plays: the images after it are
    // still assembled but never reach the device, and the key stays queued.
    static int imagesSeen = 0;
    imagesSeen = 0;
    ovinter::setImageListener([](std::span<const std::uint8_t>) {
        if (++imagesSeen == 2)
            platform::postMessage(platform::Message{platform::MessageKind::Char, 'x'});
    });
    deviceBlocks();
    const auto start = platform::nowMs();
    ovinter::speakPhonemes("[a a a a a a a a]", false);
    const auto elapsed = platform::nowMs() - start;
    EXPECT_EQ(imagesSeen, 4);
    EXPECT_EQ(deviceBlocks(), std::vector<std::string>{"11025 8 1 60000"});
    // Little more than the first image's 5.4 s.
    EXPECT_LT(elapsed, 6000u);
    ASSERT_TRUE(ovcrt::keyPressed());
    EXPECT_EQ(ovcrt::readKey(), 'x');
    takeImages();
}

TEST_F(Synthesis, NothingIsSpokenWithoutALoadedVoice) {
    ovinter::releaseDiphoneVoice();
    EXPECT_EQ(spoken("[ka s]"), "");
}
