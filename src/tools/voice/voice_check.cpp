#include "tools/voice/voice_check.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "diphone/ovtradut.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "tools/voice/unit_walk.h"

namespace voice {
namespace {

constexpr const char* kUsage =
    "uso: oralis voice check [lista-de-palavras] [--rules regras.rgr] [--exceptions portug.exc]"
    " [--show N]\n";
constexpr const char* kDefaultList = "/usr/share/dict/brazilian";
constexpr std::size_t kRecordSize = 15;
constexpr std::size_t kLongestName = 8;

struct CheckOptions {
    std::string list = kDefaultList;
    std::optional<std::string> rules, exceptions;
    std::size_t show = 40;
    bool trace = false;  // each word, its phonemes and the names looked up
};

std::optional<CheckOptions> parse(const std::vector<std::string>& args, std::ostream& err) {
    CheckOptions o;
    bool listGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--trace") {
            o.trace = true;
        } else if (a == "--rules" || a == "--exceptions" || a == "--show") {
            if (i + 1 >= args.size()) {
                err << "oralis voice check: " << a << " precisa de um valor\n" << kUsage;
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (a == "--rules")
                o.rules = value;
            else if (a == "--exceptions")
                o.exceptions = value;
            else
                o.show = static_cast<std::size_t>(std::max(0, std::atoi(value.c_str())));
        } else if (!listGiven && !a.starts_with("--")) {
            o.list = a;
            listGiven = true;
        } else {
            err << "oralis voice check: argumento desconhecido: \"" << a << "\"\n" << kUsage;
            return std::nullopt;
        }
    }
    return o;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string withBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string upper(std::string_view name) {
    std::string n(name);
    for (char& c : n)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return n;
}

// The configured voice: its index names and the letters folder.
struct VoiceFiles {
    std::set<std::string> names;
    std::string lettersFolder;
    std::string diphoneFolder;
    std::string stem;
};

std::optional<VoiceFiles> openVoice(std::ostream& err) {
    VoiceFiles v;
    v.lettersFolder = withBackslash(platform::readProfileString(
        "TRADUTOR", "dirLetras", "c:\\sonare\\som\\letras", "ORALIS.INI", 80));
    v.diphoneFolder = withBackslash(platform::readProfileString(
        "TRADUTOR", "DIRDIFONES", "c:\\sonare\\som\\difones", "ORALIS.INI", 80));
    int speed = std::atoi(
        platform::readProfileString("TRADUTOR", "VELOCIDADE", "3", "ORALIS.INI", 80).c_str());
    if (speed < 1 || speed > 5) speed = 3;
    v.stem = platform::readProfileString("SINTETIZADOR", "DIFONES" + std::to_string(speed), "",
                                         "ORALIS.INI", 80)
                 .substr(0, kLongestName);
    const std::string index = platform::nativePath(v.diphoneFolder + v.stem + ".IND");
    const auto bytes = readFile(index);
    if (!bytes) {
        err << "oralis voice check: não consigo ler " << index << "\n";
        return std::nullopt;
    }
    for (std::size_t at = 0; at + kRecordSize <= bytes->size(); at += kRecordSize) {
        const auto length =
            std::min<std::size_t>(static_cast<unsigned char>((*bytes)[at]), kLongestName);
        v.names.insert(bytes->substr(at + 1, length));
    }
    return v;
}

bool loadDictionary(const std::optional<std::string>& given, const std::string& voicePath,
                    void (*loadText)(std::string_view), std::ostream& err) {
    const std::string path = given ? *given : platform::nativePath(voicePath);
    const auto contents = readFile(path);
    if (!contents) {
        err << "oralis voice check: não consigo ler " << path << "\n";
        return false;
    }
    loadText(*contents);
    return true;
}

}  // namespace

int runVoiceCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    const auto options = parse(args, err);
    if (!options) return 2;
    const auto voiceFiles = openVoice(err);
    if (!voiceFiles) return 1;
    ovtradut::startUp();
    if (!loadDictionary(options->rules, voiceFiles->diphoneFolder + "regras.rgr",
                        ovtradut::loadRulesText, err) ||
        !loadDictionary(options->exceptions, voiceFiles->diphoneFolder + "portug.exc",
                        ovtradut::loadExceptionsText, err))
        return 1;
    const auto list = readFile(options->list);
    if (!list) {
        err << "oralis voice check: não consigo ler " << options->list << "\n";
        return 1;
    }

    std::unordered_map<std::string, bool> soundFiles;
    const HasName has = [&](std::string_view name) {
        if (name.starts_with("_")) {
            const std::string key(name);
            auto it = soundFiles.find(key);
            if (it == soundFiles.end()) {
                std::error_code ec;
                const bool exists = std::filesystem::is_regular_file(
                    platform::nativePath(voiceFiles->lettersFolder + key + ".wav"), ec);
                it = soundFiles.emplace(key, exists).first;
            }
            return it->second;
        }
        return name.size() <= kLongestName && voiceFiles->names.contains(upper(name));
    };

    std::map<std::string, long> missing;  // upper-case name → words that need it
    long words = 0, wordsMissing = 0, wordsWithNoise = 0;
    std::size_t start = 0;
    const std::string& text = *list;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(start, end - start);
        start = end + 1;
        if (!word.empty() && word.back() == '\r') word.pop_back();
        if (word.empty()) continue;
        ++words;
        const std::string phonemes = ovtradut::translateToPhonemes(cp1252::fromUtf8(word));
        const Walk walk = walkPhonemes(phonemes, has);
        std::set<std::string> lacking;
        for (const NameLookup& l : walk.lookups)
            if (!l.found) lacking.insert(upper(l.name));
        if (!lacking.empty()) ++wordsMissing;
        if (walk.noiseBursts > 0) ++wordsWithNoise;
        for (const std::string& name : lacking) ++missing[name];
        if (options->trace) {
            out << word << "\t" << cp1252::toUtf8(phonemes) << "\t";
            std::size_t gap = 0;
            for (std::size_t k = 0; k < walk.lookups.size(); ++k) {
                for (; gap < walk.gapsAfter.size() && walk.gapsAfter[gap] == k; ++gap) out << " |";
                const NameLookup& l = walk.lookups[k];
                out << " " << cp1252::toUtf8(l.name) << (l.found ? "" : "?") << "*" << l.factor
                    << (l.mode == 2 ? "'" : "");
            }
            out << "\n";
        }
    }

    std::vector<std::pair<std::string, long>> byCount(missing.begin(), missing.end());
    std::stable_sort(byCount.begin(), byCount.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    const auto share = [words](long n) {
        return words == 0 ? 0.0 : 100.0 * static_cast<double>(n) / static_cast<double>(words);
    };
    out << "voz " << voiceFiles->stem << ": " << voiceFiles->names.size() << " unidades\n";
    out << "palavras: " << words << "\n";
    out << "palavras sem nenhuma unidade faltando: " << (words - wordsMissing) << " ("
        << share(words - wordsMissing) << " %)\n";
    out << "palavras que caem em alguma substituição: " << wordsMissing << " ("
        << share(wordsMissing) << " %)\n";
    out << "palavras com ruído no lugar de um som: " << wordsWithNoise << " ("
        << share(wordsWithNoise) << " %)\n";
    out << "nomes que faltam: " << byCount.size() << "\n";
    for (std::size_t i = 0; i < byCount.size() && i < options->show; ++i)
        out << "  " << cp1252::toUtf8(byCount[i].first) << "\t" << byCount[i].second << "\n";
    return 0;
}

}  // namespace voice
