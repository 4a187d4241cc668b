#include "tools/voice/diphone_voice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/cp1252.h"
#include "tools/voice/diphone_units.h"
#include "tools/voice/resampler.h"
#include "tools/voice/shaping.h"
#include "tools/voice/wave_file.h"

namespace voice {
namespace {

// Short raised-cosine fades at both ends of a unit. The cuts already lie at
// the start of a pitch period, where the wave crosses zero; the fades only
// catch what is left of a step.
constexpr std::size_t kFadeIn = 11;   // 1 ms
constexpr std::size_t kFadeOut = 22;  // 2 ms
// The longest run an emptied synthesis image takes.
constexpr std::size_t kLongestUnit = 63955;

void fade(std::vector<float>& s) {
    const auto gain = [](std::size_t i, std::size_t length) {
        return static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) /
                                                       static_cast<double>(length)));
    };
    const std::size_t in = std::min(kFadeIn, s.size() / 2);
    for (std::size_t i = 0; i < in; ++i) s[i] *= gain(i, in);
    const std::size_t out = std::min(kFadeOut, s.size() / 2);
    for (std::size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= gain(i, out);
}

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

}  // namespace

std::filesystem::path diphoneFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / "som" / "difones";
}

EspeakSettings unitSettings() {
    EspeakSettings settings;
    settings.range = 0;  // flat pitch
    // Faster than the recordings: a unit is spoken stressed, and the
    // synthesizer only ever shortens it.
    settings.wordsPerMinute = 230;
    return settings;
}

DiphoneBuild buildDiphoneUnits(int jobs) {
    DiphoneBuild build;
    const std::vector<UnitRecipe>& recipes = diphoneUnits();
    std::vector<std::string> carriers;
    carriers.reserve(recipes.size());
    for (const UnitRecipe& recipe : recipes) carriers.push_back(recipe.carrier);
    const std::vector<MarkedSynthesis> spoken = synthesizeMarked(carriers, unitSettings(), jobs);

    std::vector<std::size_t> periods;
    for (std::size_t u = 0; u < recipes.size(); ++u) {
        const UnitRecipe& recipe = recipes[u];
        const MarkedSynthesis& speech = spoken[u];
        if (!speech.error.empty()) {
            build.error = recipe.name + " (" + recipe.carrier + "): " + speech.error;
            return build;
        }
        Sound sound = resample(speech.sound, kRecordingRate);
        evenLoudness(sound);
        std::vector<std::size_t> markSamples;
        std::vector<std::string> markNames;
        for (const PhonemeMark& mark : speech.marks) {
            markSamples.push_back(mark.sample);
            markNames.push_back(mark.name);
        }
        const Cut cut = cutUnit(recipe, sound.samples, markSamples, markNames, speech.sound.rate);
        if (cut.end <= cut.begin + kFadeIn + kFadeOut) {
            build.error = recipe.name + " (" + recipe.carrier + "): a unidade saiu vazia";
            return build;
        }
        if (cut.end - cut.begin >= kLongestUnit) {
            build.error = recipe.name + ": longa demais";
            return build;
        }
        std::vector<float> unit(sound.samples.begin() + static_cast<std::ptrdiff_t>(cut.begin),
                                sound.samples.begin() + static_cast<std::ptrdiff_t>(cut.end));
        if (const std::size_t p = measuredPeriod(sound.samples, cut.begin + unit.size() / 2))
            periods.push_back(p);
        fade(unit);
        build.units.push_back({recipe.name, toUnsigned8(unit)});
    }
    if (!periods.empty()) {
        std::nth_element(periods.begin(),
                         periods.begin() + static_cast<std::ptrdiff_t>(periods.size() / 2),
                         periods.end());
        build.period = periods[periods.size() / 2];
    }
    return build;
}

DiphoneFiles diphoneFiles(const std::vector<DiphoneUnitSound>& units) {
    std::vector<const DiphoneUnitSound*> sorted;
    for (const DiphoneUnitSound& u : units) sorted.push_back(&u);
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* a, const auto* b) { return indexOrder(a->name, b->name); });
    DiphoneFiles files;
    for (const DiphoneUnitSound* u : sorted) {
        const auto offset = static_cast<std::uint32_t>(files.samples.size());
        files.index.push_back(static_cast<std::uint8_t>(u->name.size()));
        for (std::size_t i = 0; i < 8; ++i)
            files.index.push_back(i < u->name.size() ? static_cast<std::uint8_t>(u->name[i]) : 0);
        put16(files.index, static_cast<std::uint32_t>(u->samples.size()));
        put16(files.index, offset & 0xFFFF);
        put16(files.index, offset >> 16);
        files.samples.insert(files.samples.end(), u->samples.begin(), u->samples.end());
    }
    return files;
}

DictionaryText dictionaryText(std::string_view source) {
    DictionaryText text;
    std::size_t start = 0;
    int lineNumber = 0;
    while (start < source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view line = source.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.starts_with("//")) continue;
        const std::string converted = cp1252::fromUtf8(line, '\0');
        if (converted.find('\0') != std::string::npos) {
            text.errors.push_back("linha " + std::to_string(lineNumber) +
                                  ": caractere fora do Windows-1252");
            continue;
        }
        text.windows1252 += converted;
        text.windows1252 += '\n';
        ++text.lines;
    }
    return text;
}

}  // namespace voice
