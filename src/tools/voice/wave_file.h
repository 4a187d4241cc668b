// The recordings as the system plays them: 8-bit unsigned mono PCM at 11025
// samples per second (128 is silence) behind the canonical 44-byte RIFF
// header, which is all the readers of the system expect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace voice {

inline constexpr int kRecordingRate = 11025;
inline constexpr std::size_t kWaveHeaderSize = 44;

// Full scale (±1) maps to 1 … 255 around 128, rounded to the nearest step;
// anything beyond full scale stays at the end of the range instead of
// wrapping round.
std::vector<std::uint8_t> toUnsigned8(const std::vector<float>& samples);

// The whole file: header and samples.
std::vector<std::uint8_t> waveImage(const std::vector<std::uint8_t>& samples,
                                    int rate = kRecordingRate);

// Writes the image beside the target and renames it into place, so that an
// interrupted build never leaves a cut-off file. Returns false on failure.
bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace voice
