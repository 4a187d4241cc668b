// oralis phonemes: the phoneme string the built-in voice would speak for a
// text, for voice authors checking their rules and exceptions. The files are
// those of the configured voice unless given; text in and out is UTF-8.
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

#include "diphone/ovtradut.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "tools/commands.h"

namespace tools {
namespace {

constexpr const char* kUsage =
    "uso: oralis phonemes [--rules regras.rgr] [--exceptions portug.exc] texto\n";

struct PhonemesOptions {
    std::optional<std::string> rules, exceptions;
    std::string text;
};

bool parse(const Args& args, PhonemesOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--rules" || a == "--exceptions") {
            if (i + 1 >= args.size()) return false;
            (a == "--rules" ? o.rules : o.exceptions) = args[++i];
        } else {
            if (!o.text.empty()) o.text += ' ';
            o.text += a;
        }
    }
    return !o.text.empty();
}

// A file named on the command line, as the file system names it.
std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The rules or exceptions: the given file, or the voice's own in the diphone
// folder of ORALIS.INI.
bool load(const std::optional<std::string>& given, const char* voiceFile,
          bool (*loadSystemFile)(const std::string&), void (*loadText)(std::string_view)) {
    if (given) {
        const auto contents = readFile(*given);
        if (!contents) {
            std::cerr << "oralis phonemes: não foi possível ler " << *given << "\n";
            return false;
        }
        loadText(*contents);
        return true;
    }
    std::string folder = platform::readProfileString("TRADUTOR", "DIRDIFONES",
                                                     "c:\\sonare\\som\\difones", "ORALIS.INI", 80);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    const std::string path = folder + voiceFile;
    if (loadSystemFile(path)) return true;
    std::cerr << "oralis phonemes: não foi possível ler " << cp1252::toUtf8(path) << " ("
              << platform::nativePath(path) << ")\n";
    return false;
}

}  // namespace

int phonemesCommand(const Args& args) {
    PhonemesOptions o;
    if (!parse(args, o)) {
        std::cerr << kUsage;
        return 2;
    }
    ovtradut::startUp();
    if (!load(o.rules, "regras.rgr", ovtradut::loadRules, ovtradut::loadRulesText) ||
        !load(o.exceptions, "portug.exc", ovtradut::loadExceptions, ovtradut::loadExceptionsText))
        return 1;
    std::cout << cp1252::toUtf8(ovtradut::translateToPhonemes(cp1252::fromUtf8(o.text))) << "\n";
    return 0;
}

}  // namespace tools
