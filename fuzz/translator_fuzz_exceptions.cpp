// libFuzzer target: the translator's exceptions loader over arbitrary file
// contents, then translations that look words up in it. The file's own bytes
// are translated too, so that its keys are found and their respellings, with
// stripped s and m letters put back, land in the word buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "translator_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ovtradut::startUp();
    ovtradut::loadRulesText(tradfuzz::kRules);
    tradfuzz::require(ovtradut::loadExceptions(tradfuzz::writeTemp("exceptions_fuzz", bytes)),
                      "a written exceptions file does not load");
    tradfuzz::require(ovtradut::exceptionCount() <= ovtradut::kMaxExceptions,
                      "more entries than the table holds");
    ovtradut::translateToPhonemes(tradfuzz::kWords);
    ovtradut::translateToPhonemes(bytes);
    // Every key again, with suffixes that the lookup strips.
    std::string text(bytes);
    for (char& c : text)
        if (c == '=' || c == '|' || c == '\n' || c == '\r') c = ' ';
    ovtradut::translateToPhonemes(text + "sssmm");
    return 0;
}
