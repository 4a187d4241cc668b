// libFuzzer target: translateToPhonemes over arbitrary Windows-1252 text with
// a fixed rule set and exceptions. The phoneme string must parse back as
// groups "[unit/unit/...]", each of at most 256 units (the word buffer), and
// a text with anything but blanks must give at least one group.
#include <cstddef>
#include <cstdint>
#include <string>

#include "translator_fuzz.h"

namespace {

// Checks the syntax of a phoneme string made with the fixed rules, whose
// outputs hold no "[", "]", "/", "_" or blank: inside a group, " /_" and a
// literal character make a default unit, and any other "/" joins two units.
void checkGroups(const std::string& phonemes) {
    std::size_t i = 0;
    while (i < phonemes.size()) {
        tradfuzz::require(phonemes[i] == '[', "a group does not open with [");
        ++i;
        int units = 1;
        for (;;) {
            tradfuzz::require(i < phonemes.size(), "a group is not closed");
            const char c = phonemes[i];
            if (c == ']') break;
            if (c == '_') {
                tradfuzz::require(i + 1 < phonemes.size(), "a default unit lacks its character");
                i += 2;
                continue;
            }
            // A slash joins two units, except the one of a default unit " /_c".
            if (c == '/' && (i + 1 >= phonemes.size() || phonemes[i + 1] != '_')) ++units;
            ++i;
        }
        tradfuzz::require(units <= static_cast<int>(ovtradut::kWordCapacity),
                          "a group longer than the word buffer");
        ++i;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool loaded = [] {
        ovtradut::startUp();
        ovtradut::loadRulesText(tradfuzz::kRules);
        ovtradut::loadExceptionsText(tradfuzz::kExceptions);
        return true;
    }();
    (void)loaded;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string phonemes = ovtradut::translateToPhonemes(text);
    checkGroups(phonemes);
    const std::string prepared = ovtradut::prepareText(text);
    const bool blank = prepared.find_first_not_of(' ') == std::string::npos;
    tradfuzz::require(blank == phonemes.empty(),
                      "words without phonemes, or phonemes without words");
    return 0;
}
