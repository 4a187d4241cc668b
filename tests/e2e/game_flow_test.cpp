// Whole games of the real program, driven by key scripts.
#include <gtest/gtest.h>

#include <fstream>

#include "e2e/game_runner.h"

namespace {

// The game's generator, as the game's rules describe it.
struct Lcg {
    std::uint32_t seed;
    std::uint32_t below(std::uint32_t n) {
        seed = seed * 134775813u + 1u;
        return static_cast<std::uint32_t>((std::uint64_t{seed} * n) >> 32);
    }
};

const char* const kLetterWords[25] = {
    "alfa",   "bravo", "charle", "delta",    "eco",   "fox",    "golfe", "hotel", "india",
    "juliet", "kilo",  "lima",   "maic",     "november", "oscar", "papa", "quebec", "romeu",
    "sierra", "tango", "unifórm", "victor",  "exrei", "yanc",   "zulu"};
const std::string kAlphabet = "abcdefghijklmnopqrstuvxyz";

std::vector<std::string> wordList() {
    std::ifstream in(dataFolder() + "/pal.txt");
    std::vector<std::string> words;
    for (std::string line; std::getline(in, line);) words.push_back(line);
    return words;
}

using Expected = std::vector<std::pair<std::string, std::string>>;  // kind, text

void cues(Expected& e, std::initializer_list<int> hertz) {
    for (int h : hertz) e.push_back({"tone", std::to_string(h) + " 30"});
}
void speak(Expected& e, const std::string& text) { e.push_back({"speak", text}); }
void key(Expected& e, int code) { e.push_back({"key", std::to_string(code)}); }

// Plans one won game for a seed: the keys that take every right letter (after
// refusing the first `refusals` letters) and the events the game must log.
struct Plan {
    std::string keys;
    Expected events;
    std::string word;
    int score = 1000;
};

Plan planWonGame(std::uint32_t seed, int refusals) {
    Plan p;
    Lcg r{seed};
    auto words = wordList();
    Expected& e = p.events;
    for (const char* line : {"letrada", "Ouça a palavra que foi escolhida.",
                             "Na chuva de letras, vá teclando enter,",
                             "Em cada letra correspondente, para escrever a palavra sitada",
                             "Se a letra não servir, tecle Esc.",
                             "Aguarde o carregamento do arquivo das palavras"})
        speak(e, line);
    r.below(100);
    cues(e, {500, 1000, 2000});
    r.below(100);
    std::uint32_t skip = r.below(100);
    if (skip == 0) skip = 1;  // the first choice of a run reads at least line 1
    p.word = words.at(skip - 1);
    cues(e, {500, 1000});
    cues(e, {500, 1000});
    speak(e, p.word);
    cues(e, {500, 1000});
    speak(e, "tecle espaço para repetir");
    cues(e, {500, 1000});
    speak(e, "Enter para outra palavra");
    cues(e, {500, 1000});
    speak(e, "tecle J para jogar");
    key(e, 'j');
    p.keys = "j";
    cues(e, {500, 1000, 2000});
    r.below(100);
    speak(e, "Vamos começar a chuva de letras");
    cues(e, {2000, 1000, 500});
    std::string collected;
    for (;;) {
        cues(e, {2000, 500});
        speak(e, collected);
        if (collected == p.word) break;
        std::uint32_t k = r.below(25);
        speak(e, kLetterWords[k]);
        if (refusals == 0 && kAlphabet[k] == p.word[collected.size()]) {
            p.keys += " <enter>";
            key(e, 13);
            cues(e, {2000});
            collected += kAlphabet[k];
        } else {
            if (refusals > 0) --refusals;
            p.keys += " <esc>";
            key(e, 27);
            cues(e, {2000, 1000, 500});
            p.score -= 5;
        }
    }
    speak(e, collected);
    speak(e, "Final de jogo!");
    speak(e, "Você fez:");
    for (int i = 0; i < 2; ++i) {
        speak(e, std::to_string(p.score));
        speak(e, "Pontos");
        cues(e, {2000, 1000, 500, 1000, 2000});
    }
    for (const char* line : {"ok", "fim de jogo.", "quer jogar novamente?"}) speak(e, line);
    p.keys += " S";
    key(e, 'S');
    speak(e, "Quirandel agradece");
    e.push_back({"exit", "0"});
    return p;
}

Expected logged(const GameRun& run) {
    Expected out;
    for (const auto& e : run.events)
        if (e.kind != "audio" && e.kind != "stop") out.push_back({e.kind, e.text});
    return out;
}

// Where two event lists part, for a readable failure.
std::string firstDifference(const Expected& got, const Expected& want) {
    std::size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    auto show = [](const Expected& e, std::size_t k) {
        return k < e.size() ? e[k].first + " " + e[k].second : std::string("<end>");
    };
    return "event " + std::to_string(i) + ": got \"" + show(got, i) + "\", want \"" + show(want, i) + "\"";
}

}  // namespace

TEST(GameFlow, SeedZeroWonGameLogsEveryStepInOrder) {
    Plan plan = planWonGame(0, 0);
    GameRun run = runGame({plan.keys});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(logged(run), plan.events) << firstDifference(logged(run), plan.events);
    // Every cue lasts 30 ms of virtual time and the clock never goes back.
    for (std::size_t i = 1; i < run.events.size(); ++i)
        EXPECT_GE(run.events[i].ms, run.events[i - 1].ms);
    // The credits are written but not spoken.
    EXPECT_FALSE(run.has("speak", "Chuva de letras"));
    ASSERT_EQ(run.screen.size(), 25u);
}

TEST(GameFlow, TheFirstChoiceNeverGivesAnEmptyWord) {
    // Seed 18 draws a skip count of 0 at the first choice.
    Plan plan = planWonGame(18, 0);
    ASSERT_EQ(plan.word, wordList().front());
    GameRun run = runGame({plan.keys, "18"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(logged(run), plan.events) << firstDifference(logged(run), plan.events);
}

TEST(GameFlow, RefusalsCanTakeTheScoreBelowZero) {
    Plan plan = planWonGame(0, 201);
    ASSERT_LT(plan.score, 0);
    GameRun run = runGame({plan.keys});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(logged(run), plan.events) << firstDifference(logged(run), plan.events);
    EXPECT_TRUE(run.has("speak", std::to_string(plan.score)));
}

TEST(GameFlow, AnotherKeyEndsTheRainWithoutAScore) {
    GameRun run = runGame({"j <enter> x S"});
    EXPECT_EQ(run.exitCode, 0);
    const auto spoken = run.texts("speak");
    const auto end = std::find(spoken.begin(), spoken.end(), "Final de jogo!");
    ASSERT_NE(end, spoken.end());
    EXPECT_EQ(std::next(end)->substr(0), "ok");
    EXPECT_FALSE(run.has("speak", "Você fez:"));
    EXPECT_EQ(run.keys(), (std::vector<int>{'j', 13, 'x', 'S'}));
}

TEST(GameFlow, LowerCaseSReplaysAndUpperCaseSEnds) {
    GameRun run = runGame({"j x s j x S"});
    EXPECT_EQ(run.exitCode, 0);
    const auto spoken = run.texts("speak");
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "letrada"), 2);
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "quer jogar novamente?"), 2);
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "Quirandel agradece"), 1);
    EXPECT_EQ(spoken.back(), "Quirandel agradece");
}

TEST(GameFlow, SpaceRepeatsTheWordAndEnterChoosesAnother) {
    GameRun run = runGame({"<space> <enter> j x S"});
    const auto spoken = run.texts("speak");
    std::vector<std::string> words;
    for (std::size_t i = 1; i < spoken.size(); ++i)
        if (spoken[i] == "tecle espaço para repetir") words.push_back(spoken[i - 1]);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0], words[1]);  // space: the same word again
    const auto plan = planWonGame(0, 0);
    EXPECT_EQ(words[0], plan.word);
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "Vamos começar a chuva de letras"), 1);
}

TEST(GameFlow, TheScreenShowsTheCreditsAndTheLastLines) {
    GameRun run = runGame({"<close>"});
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.screen.size(), 25u);
    EXPECT_EQ(run.screen[9].substr(9, 15), "Chuva de letras");
    EXPECT_EQ(run.screen[10].substr(0, 32), "Um jogo falado do sistema ORALIS");
}

TEST(GameFlow, WithoutASeedEveryRunPlaysOtherWords) {
    std::set<std::string> words;
    for (int i = 0; i < 6; ++i) {
        GameOptions o{"<close>", ""};
        o.environment["ORALIS_TEST_RUN"] = std::to_string(i);
        GameRun run = runGame(o);
        const auto spoken = run.texts("speak");
        for (std::size_t k = 1; k < spoken.size(); ++k)
            if (spoken[k] == "tecle espaço para repetir") words.insert(spoken[k - 1]);
    }
    EXPECT_GE(words.size(), 2u);
}
