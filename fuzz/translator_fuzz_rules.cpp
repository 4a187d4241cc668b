// libFuzzer target: the translator's rules loader over arbitrary file
// contents, then translations with those rules. Whatever the lines hold, the
// loader keeps only rules that consume at least one letter, so every
// translation must end; the sanitizers watch the fixed-size fields and the
// word buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "translator_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const bool started = [] {
        ovtradut::startUp();
        ovtradut::loadExceptionsText(tradfuzz::kExceptions);
        return true;
    }();
    (void)started;
    tradfuzz::require(ovtradut::loadRules(tradfuzz::writeTemp("rules_fuzz", bytes)),
                      "a written rules file does not load");
    ovtradut::translateToPhonemes(tradfuzz::kWords);
    ovtradut::translateToPhonemes(std::string(257, 'a') + "\xE1tte");
    // The file's own bytes as text meet the rules they wrote.
    ovtradut::translateToPhonemes(bytes);
    ovtradut::releaseRules();
    tradfuzz::require(ovtradut::ruleCount() == 0, "rules left after release");
    return 0;
}
