#include "tools/voice/voice_tables.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace voice {
namespace {

// Longest file name the number reader forms: "_" and seven letters.
constexpr std::size_t kMaxNamedSoundLength = 8;

// A table line split into its key and its text, or why it cannot be.
struct Entry {
    std::string key;
    std::string text;
};

std::string trimBlanks(const std::string& s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    std::size_t begin = 0, end = s.size();
    while (begin < end && blank(s[begin])) ++begin;
    while (end > begin && blank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

bool isValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        if (b < 0x80)
            extra = 0;
        else if (b >= 0xC2 && b <= 0xDF)
            extra = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            extra = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            extra = 3;
        else
            return false;
        if (i + extra >= s.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

// Reads the entries of a table, skipping blank and comment lines. Lines that
// are not "<key> <text>" become errors.
std::vector<std::pair<int, Entry>> readEntries(std::istream& in, std::vector<std::string>& errors) {
    std::vector<std::pair<int, Entry>> entries;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string content = trimBlanks(line);
        if (content.empty() || content[0] == '#') continue;
        const std::string where = "linha " + std::to_string(number) + ": ";
        if (!isValidUtf8(content)) {
            errors.push_back(where + "não é UTF-8");
            continue;
        }
        const std::size_t gap = content.find_first_of(" \t");
        if (gap == std::string::npos) {
            errors.push_back(where + "falta o texto depois de \"" + content + "\"");
            continue;
        }
        entries.push_back({number, {content.substr(0, gap), trimBlanks(content.substr(gap))}});
    }
    return entries;
}

bool allDigits(const std::string& s) {
    return !s.empty() && s.size() <= 3 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isNamedSoundName(const std::string& s) {
    return s.size() >= 2 && s.size() <= kMaxNamedSoundLength && s[0] == '_' &&
           std::all_of(s.begin() + 1, s.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

bool isAssignedWindows1252(int code) {
    if (code < 0 || code > 255) return false;
    return code != 129 && code != 141 && code != 143 && code != 144 && code != 157;
}

std::vector<int> spokenCharacterCodes() {
    std::vector<int> codes;
    for (int code = 33; code <= 255; ++code)
        if (code != 127 && isAssignedWindows1252(code)) codes.push_back(code);
    return codes;
}

CharacterTable parseCharacterTable(std::istream& in) {
    CharacterTable table;
    const std::vector<int> spoken = spokenCharacterCodes();
    for (const auto& [number, entry] : readEntries(in, table.errors)) {
        const std::string where = "linha " + std::to_string(number) + ": ";
        if (!allDigits(entry.key)) {
            table.errors.push_back(where + "\"" + entry.key + "\" não é um código de caractere");
            continue;
        }
        const int code = std::stoi(entry.key);
        if (!std::binary_search(spoken.begin(), spoken.end(), code)) {
            table.errors.push_back(where + "o código " + entry.key +
                                   " não é de um caractere falado");
            continue;
        }
        if (!table.names.emplace(code, entry.text).second)
            table.errors.push_back(where + "o código " + entry.key + " aparece duas vezes");
    }
    return table;
}

std::vector<int> missingCharacterCodes(const CharacterTable& table) {
    std::vector<int> missing;
    for (int code : spokenCharacterCodes())
        if (!table.names.contains(code)) missing.push_back(code);
    return missing;
}

NamedSoundTable parseNamedSoundTable(std::istream& in) {
    NamedSoundTable table;
    std::set<std::string> seen;
    for (const auto& [number, entry] : readEntries(in, table.errors)) {
        const std::string where = "linha " + std::to_string(number) + ": ";
        if (!isNamedSoundName(entry.key)) {
            table.errors.push_back(where + "\"" + entry.key +
                                   "\" não é um nome de som (\"_\" e até 7 letras ou algarismos)");
            continue;
        }
        if (!seen.insert(entry.key).second) {
            table.errors.push_back(where + entry.key + " aparece duas vezes");
            continue;
        }
        table.sounds.push_back({entry.key, entry.text});
    }
    return table;
}

const std::vector<std::string>& requiredNamedSounds() {
    static const std::vector<std::string> names = {
        "_zero",    "_um",      "_dois",    "_tres",    "_quatro",  "_cinco",   "_seis",
        "_sete",    "_oito",    "_nove",    "_dez",     "_onze",    "_doze",    "_treze",
        "_quatorz", "_quinze",  "_dezesse", "_dezeset", "_dezoito", "_dezenov", "_vinte",
        "_trinta",  "_quarent", "_cinquen", "_sessent", "_setenta", "_oitenta", "_noventa",
        "_cem",     "_cento",   "_duzento", "_trezent", "_quatroc", "_quinhen", "_seiscen",
        "_setecen", "_oitocen", "_novecen", "_e",       "_mil",     "_milhao",  "_milhoes",
        "_bilhao",  "_bilhoes", "_trilhao", "_trilhoe", "_uma",     "_duas",    "_MENOS"};
    return names;
}

std::vector<std::string> missingNamedSounds(const NamedSoundTable& table) {
    std::vector<std::string> missing;
    for (const std::string& name : requiredNamedSounds()) {
        const bool present = std::any_of(table.sounds.begin(), table.sounds.end(),
                                         [&](const NamedSound& s) { return s.fileName == name; });
        if (!present) missing.push_back(name);
    }
    return missing;
}

}  // namespace voice
