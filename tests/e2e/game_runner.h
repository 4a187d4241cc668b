// Runs the real game program on the headless backend with a key script and
// reads what it logged in its transcript.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct Event {
    std::uint64_t ms = 0;
    std::string kind;  // speak, tone, key, audio, stop, exit
    std::string text;  // what follows the kind (UTF-8)
};

struct GameRun {
    int exitCode = -1;
    std::vector<Event> events;
    std::vector<std::string> screen;  // 25 rows of 80 characters (UTF-8)
    std::string stderrText;

    std::vector<std::string> texts(const std::string& kind) const;
    std::vector<int> keys() const;
    bool has(const std::string& kind, const std::string& text) const;
};

struct GameOptions {
    GameOptions(std::string k, std::string s = "0", std::string f = {})
        : keys(std::move(k)), seed(std::move(s)), folder(std::move(f)) {}
    std::string keys;
    std::string seed = "0";
    std::string folder;  // where the game runs (pal.txt); the build's data folder by default
    std::string ini;     // settings put before the shipped ORALIS.INI, in a folder of its own
    std::map<std::string, std::string> environment;
};

GameRun runGame(const GameOptions& options);

// The build's data folder, with pal.txt.
std::string dataFolder();
