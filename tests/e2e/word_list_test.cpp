// The word list as the game reads it, and what happens when it cannot.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "e2e/game_runner.h"

namespace fs = std::filesystem;

namespace {

fs::path folderWith(const std::string& name, const std::string& palTxt, bool asFolder = false) {
    fs::path dir = fs::temp_directory_path() / ("oralis-words-" + std::to_string(getpid()) + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (asFolder) fs::create_directories(dir / "pal.txt");
    else if (!palTxt.empty()) std::ofstream(dir / "pal.txt", std::ios::binary) << palTxt;
    return dir;
}

std::string firstWord(const GameRun& run) {
    const auto spoken = run.texts("speak");
    for (std::size_t i = 1; i < spoken.size(); ++i)
        if (spoken[i] == "tecle espaço para repetir") return spoken[i - 1];
    return "<none>";
}

}  // namespace

TEST(WordList, AMissingOrUnreadableListIsToldAndEndsWithCode1) {
    for (bool asFolder : {false, true}) {
        fs::path dir = folderWith(asFolder ? "dir" : "missing", "", asFolder);
        GameRun run = runGame({"j", "0", dir.string()});
        EXPECT_EQ(run.exitCode, 1);
        const std::string said = run.texts("speak").back();
        EXPECT_NE(said.find("pal.txt"), std::string::npos) << said;
        EXPECT_NE(said.find(dir.string()), std::string::npos) << said;
        EXPECT_NE(run.stderrText.find("pal.txt"), std::string::npos);
        EXPECT_NE(run.stderrText.find(dir.string()), std::string::npos);
        fs::remove_all(dir);
    }
}

TEST(WordList, LinesEndAtCrLfLfOrCrAndAreTakenAsTheyStand) {
    // Seed 21 draws line 3, seed 24 line 5, seed 27 line 8.
    std::string list = "um\r\ndois\nTr\xEAs\r quatro \r\n\r\nseis\rsete\nOITO";
    fs::path dir = folderWith("lines", list);
    struct Case {
        const char* seed;
        const char* word;
    };
    for (const Case& c : {Case{"21", "Três"}, Case{"24", ""}, Case{"27", "OITO"}}) {
        GameRun run = runGame({"<close>", c.seed, dir.string()});
        EXPECT_EQ(firstWord(run), c.word) << c.seed;
    }
    fs::remove_all(dir);
}

TEST(WordList, PastTheEndTheWordIsEmptyAndTheRainEndsAtOnce) {
    fs::path dir = folderWith("short", "casa\n");
    GameRun run = runGame({"j S", "0", dir.string()});  // seed 0 draws line 86
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(firstWord(run), "");
    EXPECT_TRUE(run.has("speak", "Você fez:"));
    EXPECT_TRUE(run.has("speak", "1000"));
    fs::remove_all(dir);
}

TEST(WordList, TheFirstHundredWordsCanBeSpelledFromTheRain) {
    std::ifstream in(dataFolder() + "/pal.txt");
    int lines = 0;
    for (std::string word; std::getline(in, word) && lines < 100; ++lines) {
        EXPECT_GE(word.size(), 3u) << word;
        EXPECT_LE(word.size(), 10u) << word;
        for (char c : word) EXPECT_TRUE(c >= 'a' && c <= 'z' && c != 'w') << word;
    }
    EXPECT_EQ(lines, 100);
}
