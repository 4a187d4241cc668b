#include "tools/voice/unit_walk.h"

#include "diphone/phoneme_walk.h"

namespace voice {
namespace {

// Lists what the synthesizer's walk looks up, against the names the voice
// holds, without playing anything.
class Recorder final : public ovinter::PhonemeSink {
public:
    explicit Recorder(const HasName& has) : has_(has) {}

    bool name(std::string_view name, int mode, double factor, bool fallback) override {
        const bool found = has_(name);
        walk.lookups.push_back({std::string(name), found, fallback, mode, factor});
        return found;
    }
    void noise() override { ++walk.noiseBursts; }
    void pause(int samples) override { walk.pauseSamples += samples; }
    void wordGap() override {
        ++walk.wordGaps;
        walk.gapsAfter.push_back(walk.lookups.size());
    }

    Walk walk;

private:
    const HasName& has_;
};

}  // namespace

Walk walkPhonemes(std::string_view phonemes, const HasName& has, bool namePunctuation) {
    Recorder recorder(has);
    ovinter::walkPhonemes(phonemes, namePunctuation, recorder);
    return recorder.walk;
}

}  // namespace voice
