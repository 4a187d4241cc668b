// Keys as a player presses them, through the real program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "e2e/game_runner.h"

namespace {

using Keys = std::vector<int>;

std::vector<std::string> tones(const GameRun& run, const std::string& duration) {
    std::vector<std::string> out;
    for (const auto& t : run.texts("tone"))
        if (t.size() > duration.size() && t.substr(t.size() - duration.size() - 1) == " " + duration)
            out.push_back(t.substr(0, t.find(' ')));
    return out;
}

}  // namespace

TEST(Keys, FunctionKeysWithCtrlAndShift) {
    // Each two-byte key: its 0 starts (or ends) one step, its code the next.
    GameRun run = runGame({"<ctrl+f1> s <shift+ins> s <ctrl+ins> s <f12> S"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.keys(), (Keys{0, 94, 's', 0, 254, 's', 0, 255, 's', 0, 70, 'S'}));
}

TEST(Keys, AltLettersQueueNothingButAltArrowsAndCtrlAltLettersDo) {
    GameRun run = runGame({"<alt+a> <alt+7> <f10> <alt+left> s <ctrl+alt+a> s <ctrl+alt+1> S"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.keys(), (Keys{0, 75, 's', 0, 30, 's', 0, 120, 'S'}));
}

TEST(Keys, AltF4ClosesTheWindow) {
    GameRun run = runGame({"j <alt+f4>"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.keys(), Keys{'j'});
}

TEST(Keys, EndsOfTheProgram) {
    struct Case {
        const char* script;
        int exitCode;
    };
    const Case cases[] = {
        {"j <ctrl+break>", 255},  // Ctrl+Break ends at once
        {"j <quit>", 255},        // so does a quit message
        {"j <close>", 0},         // the close button, wherever the game stands
        {"j", 0},                 // a used-up script closes the window
    };
    for (const auto& c : cases) {
        GameRun run = runGame({c.script});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.script;
        ASSERT_FALSE(run.events.empty()) << c.script;
        EXPECT_EQ(run.events.back().kind, "exit") << c.script;
        EXPECT_EQ(run.events.back().text, std::to_string(c.exitCode)) << c.script;
        EXPECT_FALSE(run.has("speak", "Quirandel agradece")) << c.script;
        EXPECT_EQ(run.screen.size(), 25u) << c.script;
    }
}

TEST(Keys, TheQueueKeepsSixtyFourKeysTypedWhileTheGameIsBusy) {
    // 70 keys arrive 1 ms apart during the first cues, before the game
    // reads any: 64 are kept. Each "s" plays a step of a game, 3 a game.
    std::string script;
    for (int i = 0; i < 70; ++i) script += "<wait:1> s ";
    GameRun run = runGame({script});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.keys().size(), 64u);
}

TEST(Keys, BrailleModeTwoFromTheSettingsWithItsTones) {
    GameOptions o{"<chord:j+l> <chord:f+d> <chord:s+j+k+l> <chord:f> <ctrl+alt+f12> S"};
    o.ini = "[BRAILLE]\r\nMODO=2\r\n";
    GameRun run = runGame(o);
    EXPECT_EQ(run.exitCode, 0);
    // Capital sign then b: "B"; number sign then a: "1"; then an ordinary S.
    EXPECT_EQ(run.keys(), (Keys{'B', '1', 'S'}));
    EXPECT_EQ(tones(run, "200"), (std::vector<std::string>{"800", "400", "100"}));
}

TEST(Keys, BrailleModeOneSwitchedOnAndOffFromTheKeyboard) {
    GameRun run = runGame(
        {"<ctrl+alt+f11> <chord:f+d> <chord:space+f+d> <ctrl+alt+f11> <ctrl+alt+f11> "
         "<ctrl+alt+f12> <ctrl+alt+f12> a"});
    EXPECT_EQ(run.exitCode, 0);
    // "b", then space with the dots of b: code 2; the replay question gets
    // the "a" typed once the chord keyboard is off again.
    EXPECT_EQ(run.keys(), (Keys{'b', 2, 'a'}));
    // Mode 1: 800 then 1600 Hz; mode 2: 800 then 400; mode 1 again; off: 100
    // (a second F12 is silent).
    EXPECT_EQ(tones(run, "200"),
              (std::vector<std::string>{"800", "1600", "800", "400", "800", "1600", "100"}));
}

TEST(Keys, SigtermEndsLikeCtrlBreak) {
    namespace fs = std::filesystem;
    const fs::path fifo = fs::temp_directory_path() / ("oralis-fifo-" + std::to_string(getpid()));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Many announcements: the game blocks on the full pipe until we read.
    std::string script;
    for (int i = 0; i < 3000; ++i) script += "<space> ";
    pid_t pid = fork();
    if (pid == 0) {
        setenv("ORALIS_BACKEND", "headless", 1);
        setenv("ORALIS_KEYS", script.c_str(), 1);
        setenv("ORALIS_SEED", "0", 1);
        setenv("ORALIS_TRANSCRIPT", fifo.c_str(), 1);
        if (chdir(dataFolder().c_str()) != 0) _exit(120);
        execl(CHUVA_PROGRAM, CHUVA_PROGRAM, static_cast<char*>(nullptr));
        _exit(122);
    }
    int fd = open(fifo.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    char buffer[4096];
    ASSERT_GT(read(fd, buffer, sizeof buffer), 0);  // the game runs
    kill(pid, SIGTERM);
    std::string tail;
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        tail.append(buffer, static_cast<std::size_t>(n));
        if (tail.size() > 8192) tail.erase(0, tail.size() - 8192);
    }
    close(fd);
    int status = 0;
    waitpid(pid, &status, 0);
    fs::remove(fifo);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
    EXPECT_NE(tail.find(" exit 255\n"), std::string::npos);
}
