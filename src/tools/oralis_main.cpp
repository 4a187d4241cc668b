// oralis: the command-line tool of the speech system, for users and voice
// authors. Texts on the command line and in files are UTF-8.
#include <iostream>

#include "tools/commands.h"
#include "tools/voice/voice_build.h"
#include "tools/voice/voice_check.h"

namespace {

constexpr const char* kUsage =
    "uso:\n"
    "  oralis say [--engine builtin|veluz|sapi4|sapi5] [--speed N] [-o saida.wav] [-f arquivo | texto]\n"
    "  oralis numbers N\n"
    "  oralis phonemes [--rules regras.rgr] [--exceptions portug.exc] texto\n"
    "  oralis voice build [--out pasta-de-dados]\n"
    "  oralis voice check [lista-de-palavras]\n";

}  // namespace

int main(int argc, char** argv) {
    tools::Args args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "say") return tools::sayCommand(args);
    if (command == "numbers") return tools::numbersCommand(args);
    if (command == "phonemes") return tools::phonemesCommand(args);
    if (command == "voice" && !args.empty() && args[0] == "build") {
        args.erase(args.begin());
        return voice::runVoiceBuild(args, std::cout, std::cerr);
    }
    if (command == "voice" && !args.empty() && args[0] == "check") {
        args.erase(args.begin());
        return voice::runVoiceCheck(args, std::cout, std::cerr);
    }
    std::cerr << "oralis: comando desconhecido: " << command << "\n" << kUsage;
    return 2;
}
