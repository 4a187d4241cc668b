#include "platform/sdl/sdl_font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace platform::sdl {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// Windows font weights are OpenType weights.
int fontconfigWeight(int windowsWeight) {
    if (windowsWeight <= 0) return FC_WEIGHT_REGULAR;
    return FcWeightFromOpenType(windowsWeight);
}

Pattern bestMatch(const std::string& family, int fcWeight) {
    Pattern pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, fcWeight);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return nullptr;
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    return Pattern(FcFontMatch(nullptr, pattern.get(), &result));
}

bool isFixedPitch(const FcPattern* match) {
    int spacing = FC_PROPORTIONAL;
    if (FcPatternGetInteger(match, FC_SPACING, 0, &spacing) != FcResultMatch) return false;
    return spacing == FC_MONO || spacing == FC_CHARCELL;
}

std::optional<FontFile> fileOf(const FcPattern* match, int fcWeight) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) != FcResultMatch || path == nullptr)
        return std::nullopt;
    FontFile file;
    file.path = reinterpret_cast<const char*>(path);
    FcPatternGetInteger(match, FC_INDEX, 0, &file.index);
    int matchedWeight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
    file.embolden = fcWeight >= FC_WEIGHT_DEMIBOLD && matchedWeight < FC_WEIGHT_DEMIBOLD;
    return file;
}

}  // namespace

std::optional<FontFile> findFixedPitchFont(const std::string& face, int weight) {
    const int fcWeight = fontconfigWeight(weight);
    if (!face.empty()) {
        Pattern match = bestMatch(face, fcWeight);
        if (match && isFixedPitch(match.get())) return fileOf(match.get(), fcWeight);
    }
    Pattern match = bestMatch("monospace", fcWeight);
    if (!match) return std::nullopt;
    return fileOf(match.get(), fcWeight);
}

}  // namespace platform::sdl
