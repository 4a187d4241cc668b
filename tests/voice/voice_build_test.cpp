#include "tools/voice/voice_build.h"

#include <gtest/gtest.h>

#include <ostream>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "tools/voice/diphone_units.h"
#include "tools/voice/shaping.h"
#include "tools/voice/voice_tables.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::string kTables = ORALIS_VOICE_TABLES;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
}

std::uint16_t le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

struct BuildRun {
    int status;
    std::string out, err;
};

BuildRun build(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = voice::runVoiceBuild(args, out, err);
    return {status, out.str(), err.str()};
}

class VoiceBuildTest : public testing::Test {
protected:
    void SetUp() override {
        // One folder per test and process: several build trees may run their
        // tests at the same time.
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder_ = fs::path(testing::TempDir()) /
                  ("oralis_voice_" + std::to_string(::getpid()) + "_" + name);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path letters() const { return folder_ / "som" / "letras"; }

    std::vector<std::string> withTables(std::vector<std::string> args) const {
        args.insert(args.end(),
                    {"--out", folder_.string(), "--characters", kTables + "/characters.txt",
                     "--numbers", kTables + "/numbers.txt", "--rules", kTables + "/regras.txt",
                     "--exceptions", kTables + "/portug.txt"});
        return args;
    }

    fs::path folder_;
};

// Everything a player can hear from the recordings, checked file by file:
// present, in the format the system reads, with sound in it, within the
// sizes the readers can hold, at an even level.
TEST_F(VoiceBuildTest, FullBuildWritesEveryRecordingInTheSystemFormat) {
    const BuildRun run = build(withTables({}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("218 sons de caracteres e 49 sons com nome"), std::string::npos)
        << run.out;

    // Every file the build must write, with the text it says and the limit of
    // its samples (exclusive).
    std::ifstream charactersFile(kTables + "/characters.txt", std::ios::binary);
    std::ifstream numbersFile(kTables + "/numbers.txt", std::ios::binary);
    std::map<std::string, std::pair<std::string, std::size_t>> expected;
    expected["_1"] = {"(tom)", 63956};
    for (const auto& [code, text] : voice::parseCharacterTable(charactersFile).names)
        expected["_" + std::to_string(code)] = {text, 63956};
    for (const voice::NamedSound& s : voice::parseNamedSoundTable(numbersFile).sounds)
        expected[s.fileName] = {s.text, 30000};
    ASSERT_EQ(expected.size(), 218u + 49u);

    std::vector<std::pair<std::string, Bytes>> seen;  // file -> samples
    for (const auto& [name, what] : expected) {
        const auto& [text, limit] = what;
        SCOPED_TRACE(name + " \"" + text + "\"");
        const Bytes file = readFile(letters() / (name + ".wav"));
        ASSERT_GT(file.size(), 44u);
        EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
        EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(le32(file, 16), 16u);
        EXPECT_EQ(le16(file, 20), 1);  // PCM
        EXPECT_EQ(le16(file, 22), 1);  // mono
        EXPECT_EQ(le32(file, 24), 11025u);
        EXPECT_EQ(le32(file, 28), 11025u);
        EXPECT_EQ(le16(file, 32), 1);
        EXPECT_EQ(le16(file, 34), 8);
        EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
        const std::size_t size = le32(file, 40);
        EXPECT_EQ(size, file.size() - 44);
        EXPECT_EQ(le32(file, 4), size + 36);
        EXPECT_LT(size, limit);

        const Bytes samples(file.begin() + 44, file.end());
        EXPECT_EQ(samples.front(), 128);
        EXPECT_EQ(samples.back(), 128);
        voice::Sound sound;
        sound.rate = 11025;
        for (std::uint8_t s : samples) sound.samples.push_back((s - 128) / 127.0f);
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        // Never at full scale: the limiter keeps a decibel of headroom.
        EXPECT_LE(*high, 128 + 114);
        EXPECT_GE(*low, 128 - 114);
        if (name != "_1") {
            // Speech at the common level, so no sound is louder than the next.
            EXPECT_NEAR(voice::voicedLevelDb(sound), -16.0, 1.5);
            // The shortest name, a single vowel, lasts well over a tenth of a second.
            EXPECT_GT(samples.size(), 1500u);
        }

        // Each text sounds different, so only files of the same text (upper
        // and lower case, "um" as digit and as number word) may be equal.
        for (const auto& [other, otherSamples] : seen) {
            if (otherSamples == samples) {
                EXPECT_EQ(expected.at(other).first, text) << "same sound as " << other;
            }
        }
        seen.emplace_back(name, samples);
    }

    // The diphone voice: every unit of the inventory, in the order the voice
    // searches, inside the sample file, starting and ending at silence so
    // that joined units do not click.
    const fs::path difones = folder_ / "som" / "difones";
    const Bytes index = readFile(difones / "DIFONES.IND");
    const Bytes dif = readFile(difones / "DIFONES.DIF");
    const std::vector<voice::UnitRecipe>& units = voice::diphoneUnits();
    ASSERT_EQ(index.size(), units.size() * 15);
    for (std::size_t r = 0; r < units.size(); ++r) {
        const std::size_t at = r * 15;
        const std::string name(index.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                               index.begin() + static_cast<std::ptrdiff_t>(at) + 1 + index[at]);
        SCOPED_TRACE(name);
        EXPECT_EQ(name, units[r].name);
        if (r > 0) {
            EXPECT_TRUE(voice::indexOrder(units[r - 1].name, name));
        }
        const std::size_t length = le16(index, at + 9), offset = le32(index, at + 11);
        ASSERT_LE(offset + length, dif.size());
        // A unit is at least a consonant's worth and fits an emptied image.
        EXPECT_GT(length, 200u);
        EXPECT_LT(length, 63956u);
        EXPECT_NEAR(dif[offset], 128, 2);
        EXPECT_NEAR(dif[offset + length - 1], 128, 2);
    }
    // The dictionaries, in Windows-1252 and without the notes of their sources.
    for (const char* file : {"regras.rgr", "portug.exc"}) {
        const Bytes text = readFile(difones / file);
        ASSERT_FALSE(text.empty()) << file;
        EXPECT_EQ(std::string(text.begin(), text.end()).find("//"), std::string::npos) << file;
    }
}

struct CommandLineCase {
    std::vector<std::string> args;
    int status;
    const char* message;
};

// Readable test names.
void PrintTo(const CommandLineCase& c, std::ostream* out) { *out << c.message; }

class VoiceBuildCommandLine : public VoiceBuildTest,
                              public testing::WithParamInterface<CommandLineCase> {};

TEST_P(VoiceBuildCommandLine, RefusesWithAReason) {
    std::vector<std::string> args = GetParam().args;
    for (std::string& a : args)
        if (a == "OUT") a = folder_.string();
    const BuildRun run = build(args);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(letters()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VoiceBuildCommandLine,
    testing::Values(
        CommandLineCase{{"--loud"}, 2, "argumento desconhecido"},
        CommandLineCase{{"--out"}, 2, "--out precisa de um valor"},
        CommandLineCase{{"--out", "OUT", "--numbers"}, 2, "--numbers precisa de um valor"},
        CommandLineCase{{"--out", "OUT"}, 1, "não consigo ler"},  // no tables in the folder
        CommandLineCase{{"--out", "OUT", "--characters", kTables + "/numbers.txt", "--numbers",
                         kTables + "/numbers.txt"},
                        1,
                        "não é um código de caractere"}));

TEST_F(VoiceBuildTest, IncompleteTableWritesNothingAndNamesWhatIsMissing) {
    const fs::path characters = folder_ / "characters.txt";
    {
        std::ofstream out(characters);
        for (int code : voice::spokenCharacterCodes())
            if (code != 88) out << code << " nome\n";
    }
    const BuildRun run = build({"--out", folder_.string(), "--characters", characters.string(),
                                "--numbers", kTables + "/numbers.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("faltam 88"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(letters()));
}

}  // namespace
