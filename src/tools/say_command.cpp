// oralis say: speaks a text with the configured voice, or writes the sound it
// would have played into a WAVE file (-o), in the route's own format.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "engines/ovsapi.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "speech/modules.h"
#include "speech/ovwin.h"
#include "tools/commands.h"

namespace tools {
namespace {

struct SayOptions {
    std::string engine = "builtin";
    int speed = 0;
    std::string output;
    std::string file;
    std::string text;
};

bool parse(const Args& args, SayOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        std::string number;
        if (a == "--engine") {
            if (!value(o.engine)) return false;
        } else if (a == "--speed") {
            if (!value(number)) return false;
            o.speed = std::atoi(number.c_str());
        } else if (a == "-o") {
            if (!value(o.output)) return false;
        } else if (a == "-f") {
            if (!value(o.file)) return false;
        } else {
            if (!o.text.empty()) o.text += ' ';
            o.text += a;
        }
    }
    return o.engine == "builtin" || o.engine == "veluz" || o.engine == "sapi4" || o.engine == "sapi5";
}

}  // namespace

int sayCommand(const Args& args) {
    SayOptions o;
    if (!parse(args, o) || (o.text.empty() && o.file.empty())) {
        std::cerr << "uso: oralis say [--engine builtin|veluz|sapi4|sapi5] [--speed N] "
                     "[-o saida.wav] [-f arquivo | texto]\n";
        return 2;
    }
    if (!o.file.empty()) {
        std::ifstream in(o.file, std::ios::binary);
        if (!in) {
            std::cerr << "oralis say: não foi possível ler " << o.file << "\n";
            return 1;
        }
        std::stringstream s;
        s << in.rdbuf();
        o.text = s.str();
    }
    if (o.engine != "builtin")
        std::cerr << "oralis say: o motor " << o.engine
                  << " não está disponível nesta versão; fala a voz embutida.\n";

    // The tool has no window: it speaks on the headless console, and the
    // sound goes to the file (or, without -o, to the sound device).
    platform::setEnvironment("ORALIS_BACKEND", "headless");
    platform::setEnvironment("ORALIS_KEYS", std::nullopt);
    if (!platform::start()) return 1;
    ovwin::startAllModules();
    const std::string& out = o.output;
    platform::captureAudioTo(out);

    ovwin::speechStart(o.speed, "");
    ovwin::speak(cp1252::fromUtf8(o.text));
    ovwin::speechEnd();
    if (!platform::finishAudioCapture()) {
        std::cerr << "oralis say: não foi possível gravar " << out << "\n";
        platform::exitProcess(1);
    }
    if (out.empty() && !platform::playCapturedAudio()) platform::exitProcess(1);
    platform::exitProcess(0);
}

}  // namespace tools
