// The load of the diphone voice at speech start-up: the rules, the
// exceptions (the voice's own, and a table filled to its 15000 entries) and
// the index, as loadDiphoneVoice does them. Target: under 20 ms.
//
// Run from the build tree: ./voice_load_bench (the voice must have been built).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "platform/platform.h"

namespace {

void startPlatform() {
    static bool started = false;
    if (started) return;
    started = true;
    setenv("ORALIS_BACKEND", "headless", 1);
    if (chdir(ORALIS_BENCH_DATA) != 0) std::abort();
    platform::start();
    ovtradut::startUp();
    ovinter::startUp();
    ovinter::setVoiceName("DIFONES");
}

// The whole load: folders, index, sample file, rules and exceptions.
void LoadDiphoneVoice(benchmark::State& state) {
    startPlatform();
    std::size_t units = 0;
    for (auto _ : state) {
        if (ovinter::loadDiphoneVoice() != 0) {
            state.SkipWithError("the voice did not load: build it first");
            break;
        }
        units = ovinter::diphoneCount();
        ovinter::releaseDiphoneVoice();
    }
    state.counters["units"] = static_cast<double>(units);
    state.counters["exceptions"] = static_cast<double>(ovtradut::exceptionCount());
}
BENCHMARK(LoadDiphoneVoice)->Unit(benchmark::kMillisecond);

// The same dictionaries with the exceptions table full: the voice's own
// entries, then made-up words up to 15000.
void LoadFullExceptionsTable(benchmark::State& state) {
    startPlatform();
    const std::string difones = std::string(ORALIS_BENCH_DATA) + "/som/difones/";
    const std::string full = std::filesystem::temp_directory_path() / "oralis_bench_portug.exc";
    {
        std::ifstream own(difones + "portug.exc", std::ios::binary);
        std::ofstream out(full, std::ios::binary);
        std::size_t lines = 0;
        for (std::string line; std::getline(own, line) && lines < 15000; ++lines)
            out << line << "\n";
        for (unsigned n = 0; lines < 15000; ++lines, n = n * 1103515245u + 12345u) {
            std::string word;
            for (unsigned k = n | 1u; word.size() < 9; k /= 7)
                word += static_cast<char>('a' + k % 26);
            out << word << "=" << word << "\n";
        }
    }
    for (auto _ : state) {
        ovtradut::loadRules(difones + "regras.rgr");
        ovtradut::loadExceptions(full);
        std::ifstream index(difones + "DIFONES.IND", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(index)),
                          std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
        ovtradut::releaseRules();
    }
    state.counters["exceptions"] = static_cast<double>(ovtradut::exceptionCount());
    std::filesystem::remove(full);
}
BENCHMARK(LoadFullExceptionsTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
