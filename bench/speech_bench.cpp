// Speed of the spoken output: how long the program works before the first
// sound of a line reaches the device, what a whole line costs, and what a
// whole scripted game costs on the headless backend.
//
// Run from the build tree: ./speech_bench (the voice must have been built).
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "engines/ovsapi.h"
#include "platform/platform.h"
#include "speech/modules.h"
#include "speech/ovwin.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point firstBlock;
bool seenBlock = false;

void onBlock() {
    if (!seenBlock) firstBlock = Clock::now();
    seenBlock = true;
}

const char* kTenWords = "Vamos começar a chuva de letras com uma palavra nova";

void startSpeech() {
    static bool started = false;
    if (started) return;
    started = true;
    setenv("ORALIS_BACKEND", "headless", 1);
    unsetenv("ORALIS_KEYS");
    unsetenv("ORALIS_TRANSCRIPT");
    if (chdir(ORALIS_BENCH_DATA) != 0) std::abort();
    platform::start();
    ovwin::startAllModules();
    ovwin::speechStart(0, "");
    platform::setWaveWriteObserver(onBlock);
}

// From the call to the first block queued on the device.
void LineToFirstBlock(benchmark::State& state) {
    startSpeech();
    for (auto _ : state) {
        seenBlock = false;
        const auto start = Clock::now();
        ovwin::speakWriteLine(kTenWords);
        state.SetIterationTime(std::chrono::duration<double>(firstBlock - start).count());
    }
}
BENCHMARK(LineToFirstBlock)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The whole line, everything it plays included (virtual time: no waiting).
void WholeLine(benchmark::State& state) {
    startSpeech();
    for (auto _ : state) ovwin::speakWriteLine(kTenWords);
}
BENCHMARK(WholeLine)->Unit(benchmark::kMicrosecond);

// A whole game of the real program, won with seed 0, on the headless backend.
void WholeScriptedGame(benchmark::State& state) {
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("ORALIS_BACKEND", "headless", 1);
            setenv("ORALIS_SEED", "0", 1);
            setenv("ORALIS_KEYS", "<space> j <esc> <enter> <esc> x s j x S", 1);
            unsetenv("ORALIS_TRANSCRIPT");
            if (chdir(ORALIS_BENCH_DATA) != 0) _exit(120);
            execl(CHUVA_PROGRAM, CHUVA_PROGRAM, static_cast<char*>(nullptr));
            _exit(121);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("game failed");
    }
}
BENCHMARK(WholeScriptedGame)->Unit(benchmark::kMillisecond);

}  // namespace

// The results go to the terminal, through a stream of their own: the
// console takes std::cout over when the speech starts.
int main(int argc, char** argv) {
    std::ostream terminal(std::cout.rdbuf());
    benchmark::Initialize(&argc, argv);
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&terminal);
    reporter.SetErrorStream(&terminal);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
