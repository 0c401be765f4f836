// Number helpers shared by the whole game: the one rounding rule (halves go
// to the even neighbour), the seeded random generator, and the on/off flag.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace tumbleroo {

// On/off flags are 16-bit values: on = -1 (all bits set), off = 0.
using Flag = int16_t;
inline constexpr Flag kOn = -1;
inline constexpr Flag kOff = 0;
inline Flag ToFlag(bool b) { return b ? kOn : kOff; }
inline bool IsOn(Flag f) { return f == kOn; }

// Rounds to the nearest whole number, an exact half to the even neighbour
// (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -0.5 -> 0).
// Adding and taking away 2^52 leaves no fraction bits, so the hardware's
// default rounding (halves to even) does the work without a library call;
// values that large are whole numbers already.
inline int64_t RoundHalfEven(double v) {
    constexpr double kNoFractionBits = 4503599627370496.0;  // 2^52
    if (!(std::fabs(v) < kNoFractionBits)) return static_cast<int64_t>(v);
    const double r = v >= 0 ? (v + kNoFractionBits) - kNoFractionBits
                            : (v - kNoFractionBits) + kNoFractionBits;
    return static_cast<int64_t>(r);
}
inline int32_t Round32(double v) { return static_cast<int32_t>(RoundHalfEven(v)); }
// Wraps to 16 bits the way a 16-bit store keeps the low bits.
inline int16_t To16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF)); }

// Decimal text with a leading "-" for negatives and a leading blank
// otherwise: 0 -> " 0", 12 -> " 12", -1 -> "-1".
inline std::string NumberText(int64_t v) {
    if (v < 0) return "-" + std::to_string(-v);
    return " " + std::to_string(v);
}

// The game's one random source: a SplitMix64 sequence, so a seed gives the
// same run on every machine and library.
class Random {
public:
    explicit Random(uint64_t seed = 1) { Seed(seed); }
    void Seed(uint64_t seed) { state_ = seed; }
    // Uniform in [0, 1).
    double Next() {
        state_ += 0x9E3779B97F4A7C15ull;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
    }

private:
    uint64_t state_ = 1;
};

}  // namespace tumbleroo
