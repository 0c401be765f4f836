// The 60 Hz beat the real window presents frames on, as a pure step so it
// can be checked without waiting on a clock.
#pragma once

#include <chrono>

namespace tumbleroo {

inline constexpr std::chrono::nanoseconds kFramePeriod{1'000'000'000 / 60};
// Further behind the clock than this and the beat stops trying to catch up.
inline constexpr int kMaxFramesBehind = 3;

// The moment to present the next frame, one period after the last tick. A
// game that fell well behind (a long load, a dragged window) starts a fresh
// beat now instead of racing through the frames it missed.
template <typename TimePoint>
TimePoint NextFrameTick(TimePoint lastTick, TimePoint now) {
    const TimePoint next = lastTick + kFramePeriod;
    return now > next + kMaxFramesBehind * kFramePeriod ? now : next;
}

}  // namespace tumbleroo
