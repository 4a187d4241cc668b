// A mono sound in the builder's working form: floating-point samples, full
// scale at ±1, at a stated rate.
#pragma once

#include <vector>

namespace voice {

struct Sound {
    int rate = 0;
    std::vector<float> samples;
};

}  // namespace voice
