#include "tools/voice/sound_library.h"

#include "tools/voice/recording.h"
#include "tools/voice/wave_file.h"

namespace voice {
namespace {

// Writes one file, checking its size against the limit of its kind.
bool writeSound(const std::filesystem::path& path, const std::vector<std::uint8_t>& samples,
                std::size_t limit, WriteResult& result) {
    if (samples.size() >= limit) {
        result.error = path.filename().string() + ": " + std::to_string(samples.size()) +
                       " bytes de amostras; o limite é menos de " + std::to_string(limit);
        return false;
    }
    if (!writeFileAtomically(path.string(), waveImage(samples))) {
        result.error = "não consigo gravar " + path.string();
        return false;
    }
    ++result.files;
    result.sampleBytes += samples.size();
    return true;
}

bool recordInto(const std::filesystem::path& path, const std::string& text, std::size_t limit,
                const EspeakSettings& settings, WriteResult& result) {
    const Recording recording = recordSpeech(text, settings);
    if (!recording.error.empty()) {
        result.error = path.filename().string() + " (\"" + text + "\"): " + recording.error;
        return false;
    }
    return writeSound(path, recording.samples, limit, result);
}

}  // namespace

std::filesystem::path lettersFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / "som" / "letras";
}

WriteResult writeCharacterSounds(const std::map<int, std::string>& names,
                                 const std::filesystem::path& folder,
                                 const EspeakSettings& settings) {
    WriteResult result;
    const auto fileOf = [&](int code) { return folder / ("_" + std::to_string(code) + ".wav"); };
    if (!writeSound(fileOf(kPlaceholderCode), placeholderTone(), kCharacterSoundLimit, result))
        return result;
    for (const auto& [code, text] : names)
        if (!recordInto(fileOf(code), text, kCharacterSoundLimit, settings, result)) break;
    return result;
}

WriteResult writeNamedSounds(const std::vector<NamedSound>& sounds,
                             const std::filesystem::path& folder, const EspeakSettings& settings) {
    WriteResult result;
    for (const NamedSound& sound : sounds)
        if (!recordInto(folder / (sound.fileName + ".wav"), sound.text, kNamedSoundLimit, settings,
                        result))
            break;
    return result;
}

}  // namespace voice
