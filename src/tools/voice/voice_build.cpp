#include "tools/voice/voice_build.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/common/folders.h"
#include "tools/voice/sound_library.h"
#include "tools/voice/voice_tables.h"

namespace voice {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "uso: oralis voice build [--out pasta-de-dados] [--characters arquivo] [--numbers arquivo]\n";

struct BuildOptions {
    fs::path dataFolder;
    fs::path characters;
    fs::path numbers;
};

std::optional<BuildOptions> parseOptions(const std::vector<std::string>& args, std::ostream& err) {
    std::optional<fs::path> out, characters, numbers;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        std::optional<fs::path>* target = option == "--out"          ? &out
                                          : option == "--characters" ? &characters
                                          : option == "--numbers"    ? &numbers
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
    if (!tablesOk) return 1;

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
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out << "oralis voice build: " << letters.files << " sons de caracteres e " << words.files
        << " sons com nome (" << (letters.sampleBytes + words.sampleBytes) / 1024
        << " KiB de amostras) em " << folder.string() << ", "
        << static_cast<int>(seconds * 10) / 10.0 << " s\n";
    return 0;
}

}  // namespace voice
