#include "e2e/game_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

fs::path scratch() {
    static std::atomic<int> counter{0};
    fs::path p = fs::temp_directory_path() /
                 ("oralis-game-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(p);
    return p;
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

std::string dataFolder() { return ORALIS_TEST_DATA; }

std::vector<std::string> GameRun::texts(const std::string& kind) const {
    std::vector<std::string> out;
    for (const auto& e : events)
        if (e.kind == kind) out.push_back(e.text);
    return out;
}

std::vector<int> GameRun::keys() const {
    std::vector<int> out;
    for (const auto& t : texts("key")) out.push_back(std::stoi(t));
    return out;
}

bool GameRun::has(const std::string& kind, const std::string& text) const {
    for (const auto& e : events)
        if (e.kind == kind && e.text == text) return true;
    return false;
}

GameRun runGame(const GameOptions& options) {
    const fs::path dir = scratch();
    const fs::path transcript = dir / "transcript.txt";
    const fs::path errors = dir / "stderr.txt";
    const fs::path windows = dir / "windows";
    fs::create_directories(windows);
    // The test's settings come first, so that they win over the shipped ones.
    std::ofstream(windows / "ORALIS.INI")
        << options.ini << "\r\n" << slurp(fs::path(dataFolder()) / "ORALIS.INI");

    pid_t pid = fork();
    if (pid == 0) {
        setenv("ORALIS_BACKEND", "headless", 1);
        setenv("ORALIS_KEYS", options.keys.c_str(), 1);
        setenv("ORALIS_TRANSCRIPT", transcript.c_str(), 1);
        setenv("ORALIS_WINDIR", windows.c_str(), 1);
        if (options.seed.empty()) unsetenv("ORALIS_SEED");
        else setenv("ORALIS_SEED", options.seed.c_str(), 1);
        for (const auto& [k, v] : options.environment) setenv(k.c_str(), v.c_str(), 1);
        const std::string folder = options.folder.empty() ? dataFolder() : options.folder;
        if (chdir(folder.c_str()) != 0) _exit(120);
        if (!freopen(errors.c_str(), "w", stderr)) _exit(121);
        execl(CHUVA_PROGRAM, CHUVA_PROGRAM, static_cast<char*>(nullptr));
        _exit(122);
    }
    GameRun run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.stderrText = slurp(errors);

    std::istringstream lines(slurp(transcript));
    std::string line;
    bool screen = false;
    while (std::getline(lines, line)) {
        if (screen) {
            if (!line.empty() && line[0] == '|') run.screen.push_back(line.substr(1));
            continue;
        }
        if (line == "screen") {
            screen = true;
            continue;
        }
        Event e;
        std::size_t space = line.find(' ');
        e.ms = std::stoull(line.substr(0, space));
        std::size_t kindEnd = line.find(' ', space + 1);
        e.kind = line.substr(space + 1, kindEnd == std::string::npos ? std::string::npos
                                                                     : kindEnd - space - 1);
        if (kindEnd != std::string::npos) e.text = line.substr(kindEnd + 1);
        run.events.push_back(e);
    }
    fs::remove_all(dir);
    return run;
}
