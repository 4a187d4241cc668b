// The voice database: what the load needs, where it looks, and the look-ups
// in the index and in character sound files.
#include <gtest/gtest.h>

#include <sstream>

#include "diphone/ovinter.h"
#include "platform/platform.h"
#include "synthesis_fixture.h"

using namespace synthtest;

namespace {

class VoiceDatabase : public ::testing::Test {
protected:
    void SetUp() override { ovinter::releaseDiphoneVoice(); }
    void TearDown() override {
        ovinter::releaseDiphoneVoice();
        ovinter::setVoiceName("DIFONES2");
        writeStandardIni();
    }
};

// A complete voice in `folder`/letras and `folder`/difones, named by the INI.
void writeCompleteVoice(const fs::path& folder, const std::vector<Unit>& units) {
    fs::create_directories(folder / "letras");
    fs::create_directories(folder / "difones");
    writeVoice(folder / "difones", units);
    writeDictionaries(folder / "difones");
    writeIni((folder / "letras").string(), (folder / "difones").string());
}

}  // namespace

TEST_F(VoiceDatabase, TheLoadReportsTheFirstPartThatIsMissing) {
    struct Case {
        const char* missing;
        int code;
    };
    const Case cases[] = {
        {"", 0},
        {"letras", 1},
        {"difones", 1},
        {"difones/DIFONES2.IND", 1},
        {"difones/DIFONES2.DIF", 1},
        {"difones/regras.rgr", 2},
        {"difones/portug.exc", 2},
    };
    const fs::path workFolder = root() / "work";
    fs::create_directories(workFolder);
    ASSERT_TRUE(platform::setCurrentFolder(workFolder.string()));
    const std::string before = platform::currentFolder();
    int n = 0;
    for (const auto& c : cases) {
        const fs::path folder = root() / ("load" + std::to_string(n++));
        writeCompleteVoice(folder, {{"$A", 10}});
        if (*c.missing) fs::remove_all(folder / c.missing);
        EXPECT_EQ(ovinter::loadDiphoneVoice(), c.code) << "missing " << c.missing;
        EXPECT_EQ(platform::currentFolder(), before) << "missing " << c.missing;
        EXPECT_EQ(ovinter::voiceLoaded(), c.code == 0);
        ovinter::releaseDiphoneVoice();
        EXPECT_FALSE(ovinter::voiceLoaded());
        EXPECT_EQ(ovinter::diphoneCount(), 0u);
    }
}

TEST_F(VoiceDatabase, TheDefaultFoldersLieInTheDataFolderAndTheVoiceNameChoosesTheFiles) {
    const fs::path letters = dataFolder() / "som" / "letras";
    const fs::path diphones = dataFolder() / "som" / "difones";
    fs::create_directories(letters);
    fs::create_directories(diphones);
    writeVoice(diphones, {{"$A", 10}, {"$KA", 20}});
    writeVoice(diphones, {{"$E", 30}}, "DIFONES3");
    writeDictionaries(diphones);
    writeIni("", "");

    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
    EXPECT_EQ(ovinter::voiceLettersFolder(), "c:\\sonare\\som\\letras\\");
    EXPECT_EQ(ovinter::voiceDiphoneFolder(), "c:\\sonare\\som\\difones\\");
    EXPECT_EQ(ovinter::diphoneCount(), 2u);
    EXPECT_TRUE(ovinter::findDiphone("$KA"));
    ovinter::releaseDiphoneVoice();

    ovinter::setVoiceName("DIFONES3");
    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
    EXPECT_TRUE(ovinter::findDiphone("$E"));
    EXPECT_FALSE(ovinter::findDiphone("$KA"));
    ovinter::releaseDiphoneVoice();

    ovinter::setVoiceName("DIFONES4");
    EXPECT_EQ(ovinter::loadDiphoneVoice(), 1);
}

TEST_F(VoiceDatabase, FolderValuesEndWithABackslashAndAreCutTo79Characters) {
    fs::create_directories(lettersFolder());
    writeVoice(diphoneFolder(), {{"$A", 10}});
    // A value that already ends with a backslash keeps a single one.
    writeIni(lettersFolder().string() + "\\", diphoneFolder().string());
    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
    EXPECT_EQ(ovinter::voiceLettersFolder(), lettersFolder().string() + "\\");
    EXPECT_EQ(ovinter::voiceDiphoneFolder(), diphoneFolder().string() + "\\");
    ovinter::releaseDiphoneVoice();

    // A folder whose path has exactly 79 characters, named by a longer value:
    // only the first 79 characters count.
    const std::string base = (root() / "long").string();
    ASSERT_LT(base.size(), 78u);
    const std::string folder = base + std::string(79 - base.size(), 'x');
    ASSERT_EQ(folder.size(), 79u);
    fs::create_directories(folder);
    writeVoice(folder, {{"$A", 10}});
    writeDictionaries(folder);
    writeIni(lettersFolder().string(), folder + "yyyy");
    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
    EXPECT_EQ(ovinter::voiceDiphoneFolder(), folder + "\\");
}

TEST_F(VoiceDatabase, NamesAreFoundByBisectionWithoutRegardToCase) {
    const std::vector<Unit> units = {{"$A", 11},    {"$ACIRC", 12},  {"$AY", 13}, {"$K", 14},
                                     {"$KA", 15},   {"$KAS", 16},    {"$NN", 17}, {"$S", 18},
                                     {"$TCHA", 19}, {"$ABCDEFG", 20}};
    fs::create_directories(lettersFolder());
    writeVoice(diphoneFolder(), units);
    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
    ASSERT_EQ(ovinter::diphoneCount(), units.size());
    for (const auto& u : units) {
        const auto entry = ovinter::findDiphone(u.name);
        ASSERT_TRUE(entry) << u.name;
        EXPECT_EQ(entry->name, u.name);
        EXPECT_EQ(entry->length, u.length);
    }
    struct Case {
        const char* name;
        const char* found;  // nullptr: not found
    };
    const Case cases[] = {
        {"$ka", "$KA"},
        {"$kA", "$KA"},
        {"$aCIRC", "$ACIRC"},
        {"$tcha", "$TCHA"},
        {"$", nullptr},
        {"", nullptr},
        {"$KAS ", nullptr},
        {"$KAX", nullptr},
        {"$AA", nullptr},
        {"$B", nullptr},
        {"$Z", nullptr},
        {"A", nullptr},
        {"$abcdefg", "$ABCDEFG"},
        // Names of 9 characters or more are never found, whatever they begin with.
        {"$ABCDEFGH", nullptr},
        {"$ABCDEFGHIJKLM", nullptr},
    };
    for (const auto& c : cases) {
        const auto entry = ovinter::findDiphone(c.name);
        if (c.found) {
            ASSERT_TRUE(entry) << c.name;
            EXPECT_EQ(entry->name, c.found);
        } else {
            EXPECT_FALSE(entry) << c.name;
        }
    }
}

TEST_F(VoiceDatabase, TheIndexHoldsWholeRecordsOnly) {
    fs::create_directories(lettersFolder());
    writeDictionaries(diphoneFolder());
    const std::string two =
        indexRecord("$A", 2, 10, 0) + indexRecord("$K", 2, 5, 10) + std::string(1, '\x02');
    ASSERT_EQ(two.size(), 31u);
    writeFile(diphoneFolder() / "DIFONES2.IND", two);
    writeFile(diphoneFolder() / "DIFONES2.DIF", std::string(15, '\x10'));
    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
    EXPECT_EQ(ovinter::diphoneCount(), 2u);
    EXPECT_TRUE(ovinter::findDiphone("$K"));
    ovinter::releaseDiphoneVoice();

    writeFile(diphoneFolder() / "DIFONES2.IND", "");
    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
    EXPECT_EQ(ovinter::diphoneCount(), 0u);
    for (const char* name : {"$A", "$K", "", "$"}) EXPECT_FALSE(ovinter::findDiphone(name));
}

TEST_F(VoiceDatabase, ARecordClaimingALongerNameMatchesNothingAndHidesNoNeighbour) {
    fs::create_directories(lettersFolder());
    writeDictionaries(diphoneFolder());
    // The middle record says its name has 200 characters; only the 8 bytes
    // of its field may be read, and it must not pass for "$KA".
    writeFile(diphoneFolder() / "DIFONES2.IND",
              indexRecord("$A", 2, 1, 0) + indexRecord("$KA", 200, 2, 0) +
                  indexRecord("$KA\x01", 9, 3, 0) + indexRecord("$S", 2, 4, 0));
    writeFile(diphoneFolder() / "DIFONES2.DIF", std::string(8, '\x10'));
    ASSERT_EQ(ovinter::loadDiphoneVoice(), 0);
    EXPECT_FALSE(ovinter::findDiphone("$KA"));
    EXPECT_FALSE(ovinter::findDiphone(std::string("$KA\x01", 4)));
    EXPECT_FALSE(ovinter::findDiphone(std::string("$KA\0\0\0\0\0", 8)));
    ASSERT_TRUE(ovinter::findDiphone("$A"));
    ASSERT_TRUE(ovinter::findDiphone("$S"));
    EXPECT_EQ(ovinter::findDiphone("$S")->length, 4);
}

TEST(DataChunk, OnlyTheFramingOfACharacterSoundIsRead) {
    const std::string list = chunk("LIST", "INFOabcdefgh");
    std::string otherCase = waveFile(6, 0x33);
    otherCase.replace(0, 4, "riff");
    otherCase.replace(12, 4, "FMT ");
    otherCase.replace(36, 4, "DaTa");

    std::string fmtSecond = "RIFF";
    put32(fmtSecond, 0);
    fmtSecond += "WAVE" + list + chunk("fmt ", std::string(16, '\0')) + "data";
    put32(fmtSecond, 4);
    fmtSecond += "\x33\x33\x33\x33";

    std::string noRiff = waveFile(4, 0x33);
    noRiff.replace(0, 4, "RIFX");

    const std::string whole = waveFile(4, 0x33);
    struct Case {
        const char* what;
        std::string bytes;
        std::uint32_t length;
    };
    const Case cases[] = {
        {"canonical", waveFile(5, 0x33), 5},
        {"identifiers in any case", otherCase, 6},
        {"a LIST chunk between fmt and data", waveFile(7, 0x33, list), 7},
        {"a chunk of odd length, no pad byte", waveFile(3, 0x33, chunk("junk", "abc")), 3},
        {"data that claims more than the file holds", waveFile(2, 0x33, "", 90000), 90000},
        {"the first chunk is not fmt", fmtSecond, 0},
        {"not RIFF", noRiff, 0},
        {"no data chunk", whole.substr(0, 36), 0},
        {"a cut data header", whole.substr(0, 40), 0},
        {"a fmt chunk longer than the file", whole.substr(0, 30), 0},
        {"a chunk longer than the file before data",
         waveFile(2, 0x33, chunk("LIST", "").substr(0, 4) + std::string("\xFF\xFF\x00\x00", 4)), 0},
        {"empty", "", 0},
        {"only RIFF", "RIFF", 0},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.bytes);
        EXPECT_EQ(ovinter::findDataChunk(in), c.length) << c.what;
        // A usable file is left at its first sample.
        if (c.length != 0) {
            EXPECT_EQ(in.get(), 0x33) << c.what;
        }
    }
}
