// Renders an effect into the game's wave format and writes WAV files.
#pragma once

#include <cstdint>
#include <vector>

#include "effects.h"

namespace tumbleroo::sfx {

inline constexpr int kSampleRate = 22050;
inline constexpr int kChannels = 2;

// The effect mixed and scaled to its peak, one value in [-1, 1] per frame.
std::vector<double> RenderEffect(const Effect& effect);

// A complete PCM WAV file: 22050 Hz, 8-bit unsigned, both channels alike.
std::vector<uint8_t> EncodeWav(const std::vector<double>& samples);

}  // namespace tumbleroo::sfx
