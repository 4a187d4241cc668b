#include "tools/voice/voice_build.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/common/folders.h"
#include "tools/voice/diphone_voice.h"
#include "tools/voice/sound_library.h"
#include "tools/voice/voice_tables.h"
#include "tools/voice/wave_file.h"

namespace voice {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "uso: oralis voice build [--out pasta-de-dados] [--characters arquivo] [--numbers arquivo]\n"
    "                        [--rules arquivo] [--exceptions arquivo]\n";

// espeak-ng processes speaking the diphone units at once: the machines that
// build the voice have two cores.
constexpr int kUnitJobs = 2;

struct BuildOptions {
    fs::path dataFolder;
    fs::path characters;
    fs::path numbers;
    fs::path rules;
    fs::path exceptions;
};

std::optional<BuildOptions> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
    std::optional<fs::path> out, characters, numbers, rules, exceptions;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        std::optional<fs::path>* target = option == "--out"          ? &out
                                          : option == "--characters" ? &characters
                                          : option == "--numbers"    ? &numbers
                                          : option == "--rules"      ? &rules
                                          : option == "--exceptions" ? &exceptions
                                                                     : nullptr;
        if (target == nullptr) {
            err << "oralis voice build: argumento desconhecido: \"" << option << "\"\n" << kUsage;
            return std::nullopt;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            err << "oralis voice build: " << option << " precisa de um valor\n" << kUsage;
            return std::nullopt;
        }
        *target = fs::path(args[++i]);
    }
    BuildOptions options;
    options.dataFolder = out ? *out : fs::path(platform::posixDataFolder());
    options.characters = characters ? *characters : options.dataFolder / "voice" / "characters.txt";
    options.numbers = numbers ? *numbers : options.dataFolder / "voice" / "numbers.txt";
    options.rules = rules ? *rules : options.dataFolder / "voice" / "regras.txt";
    options.exceptions = exceptions ? *exceptions : options.dataFolder / "voice" / "portug.txt";
    return options;
}

// Opens a table or says why it cannot, with the path in the message.
bool openTable(const fs::path& path, std::ifstream& file, std::ostream& err) {
    file.open(path, std::ios::binary);
    if (!file) err << "oralis voice build: não consigo ler " << path.string() << "\n";
    return static_cast<bool>(file);
}

bool reportErrors(const fs::path& path, const std::vector<std::string>& errors, std::ostream& err) {
    for (const std::string& e : errors) err << path.string() << ": " << e << "\n";
    return errors.empty();
}

template <typename Item>
bool reportMissing(const fs::path& path, const std::vector<Item>& missing, std::ostream& err) {
    if (missing.empty()) return true;
    err << path.string() << ": faltam";
    for (const Item& item : missing) err << " " << item;
    err << "\n";
    return false;
}

bool createFolder(const fs::path& folder, std::ostream& err) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        err << "oralis voice build: não consigo criar " << folder.string() << ": " << ec.message()
            << "\n";
    return !ec;
}

bool writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::ostream& err) {
    if (writeFileAtomically(path.string(), bytes)) return true;
    err << "oralis voice build: não consigo gravar " << path.string() << "\n";
    return false;
}

// A dictionary source as the translator's file, or nothing when it cannot be
// read or holds a character the code page lacks (the reasons go to `err`).
std::optional<std::string> readDictionary(const fs::path& source, std::ostream& err) {
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        err << "oralis voice build: não consigo ler " << source.string() << "\n";
        return std::nullopt;
    }
    const std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const DictionaryText text = dictionaryText(utf8);
    if (!reportErrors(source, text.errors, err)) return std::nullopt;
    return text.windows1252;
}

bool writeText(const fs::path& path, const std::string& text, std::ostream& err) {
    return writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()), err);
}

}  // namespace

int runVoiceBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    const std::optional<BuildOptions> options = parseOptions(args, err);
    if (!options) return 2;

    std::ifstream charactersFile, numbersFile;
    if (!openTable(options->characters, charactersFile, err)) return 1;
    if (!openTable(options->numbers, numbersFile, err)) return 1;
    const CharacterTable characters = parseCharacterTable(charactersFile);
    const NamedSoundTable named = parseNamedSoundTable(numbersFile);
    bool tablesOk = reportErrors(options->characters, characters.errors, err);
    tablesOk =
        reportMissing(options->characters, missingCharacterCodes(characters), err) && tablesOk;
    tablesOk = reportErrors(options->numbers, named.errors, err) && tablesOk;
    tablesOk = reportMissing(options->numbers, missingNamedSounds(named), err) && tablesOk;
    // The dictionaries are read before anything is written, so that a
    // faulty one leaves the data folder as it was.
    const std::optional<std::string> rules = readDictionary(options->rules, err);
    const std::optional<std::string> exceptions = readDictionary(options->exceptions, err);
    if (!tablesOk || !rules || !exceptions) return 1;

    const fs::path folder = lettersFolder(options->dataFolder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        err << "oralis voice build: não consigo criar " << folder.string() << ": " << ec.message()
            << "\n";
        return 1;
    }

    const auto start = std::chrono::steady_clock::now();
    const WriteResult letters = writeCharacterSounds(characters.names, folder);
    if (!letters.error.empty()) {
        err << "oralis voice build: " << letters.error << "\n";
        return 1;
    }
    const WriteResult words = writeNamedSounds(named.sounds, folder);
    if (!words.error.empty()) {
        err << "oralis voice build: " << words.error << "\n";
        return 1;
    }
    const auto lettersSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out << "oralis voice build: " << letters.files << " sons de caracteres e " << words.files
        << " sons com nome (" << (letters.sampleBytes + words.sampleBytes) / 1024
        << " KiB de amostras) em " << folder.string() << ", "
        << static_cast<int>(lettersSeconds * 10) / 10.0 << " s\n";

    // The diphone voice and its dictionaries.
    const fs::path difones = diphoneFolder(options->dataFolder);
    if (!createFolder(difones, err)) return 1;
    if (!writeText(difones / "regras.rgr", *rules, err)) return 1;
    if (!writeText(difones / "portug.exc", *exceptions, err)) return 1;
    const auto unitsStart = std::chrono::steady_clock::now();
    const DiphoneBuild units = buildDiphoneUnits(kUnitJobs);
    if (!units.error.empty()) {
        err << "oralis voice build: " << units.error << "\n";
        return 1;
    }
    const DiphoneFiles files = diphoneFiles(units.units);
    const std::string stem = kDiphoneVoiceStem;
    if (!writeBytes(difones / (stem + ".DIF"), files.samples, err)) return 1;
    if (!writeBytes(difones / (stem + ".IND"), files.index, err)) return 1;
    const auto unitsSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - unitsStart).count();
    out << "oralis voice build: " << units.units.size() << " unidades de difones ("
        << files.samples.size() / 1024 << " KiB, período " << units.period << " amostras) em "
        << difones.string() << ", " << static_cast<int>(unitsSeconds * 10) / 10.0 << " s\n";
    return 0;
}

}  // namespace voice
