// Sample-rate conversion by a rational factor with a windowed-sinc low-pass,
// so that nothing above the new Nyquist frequency folds back as a whistle.
#pragma once

#include "tools/voice/sound.h"

namespace voice {

// Converts to `outRate`. The pass band reaches about 92 % of the lower of the
// two Nyquist frequencies; beyond 100 % the stop band is attenuated by more than
// 70 dB. Same input, same output, bit for bit.
Sound resample(const Sound& in, int outRate);

}  // namespace voice
