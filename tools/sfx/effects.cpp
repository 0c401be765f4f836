// The parameters of the six sound effects.
//
// Pitches are given in Hz with their note names. Every voice rises softly
// (a few milliseconds at least) and fades to silence before it ends, so
// nothing clicks; the loud, buzzy waves keep few harmonics.
#include "effects.h"

namespace tumbleroo::sfx {

namespace {

// Note pitches in Hz (equal temperament, A4 = 440).
constexpr double kE4 = 329.63;
constexpr double kF4 = 349.23;
constexpr double kFs4 = 369.99;
constexpr double kG4 = 392.00;
constexpr double kD4 = 293.66;
constexpr double kG5 = 783.99;
constexpr double kB5 = 987.77;
constexpr double kC6 = 1046.50;
constexpr double kE6 = 1318.51;
constexpr double kG6 = 1567.98;
constexpr double kA6 = 1760.00;
constexpr double kE7 = 2637.02;
constexpr double kG7 = 3135.96;

// Each voice reads: start, length, wave, harmonics, pitch from, pitch to,
// vibrato rate, vibrato depth, level, attack, decay, release.

// Cursor tick: a tiny high blip with a breath of noise, quiet.
Effect Select() {
    return {"Select.wav", 0.42, 101,
            {
                {0.000, 0.060, Wave::Sine, 1, kA6, kG6, 0, 0, 1.00, 0.0015, 0.014, 0.015},
                {0.000, 0.050, Wave::Triangle, 3, kA6 / 2, kG6 / 2, 0, 0, 0.35, 0.0015, 0.012, 0.015},
                {0.000, 0.014, Wave::Noise, 1, 5000, 3000, 0, 0, 0.25, 0.0005, 0.004, 0.005},
            }};
}

// Confirming chime: a rising fifth, the top note ringing like a small bell.
Effect Decide() {
    return {"Decide.wav", 0.68, 202,
            {
                {0.000, 0.130, Wave::Triangle, 3, kC6, kC6, 0, 0, 0.80, 0.003, 0.070, 0.040},
                {0.080, 0.420, Wave::Triangle, 3, kG6, kG6, 0, 0, 1.00, 0.003, 0.140, 0.100},
                {0.080, 0.260, Wave::Sine, 1, kG7, kG7, 0, 0, 0.22, 0.003, 0.060, 0.080},
            }};
}

// Coin: the classic bright two-note ding, a fourth up, with a sparkle on top.
Effect Coin() {
    return {"Coin.wav", 0.66, 303,
            {
                {0.000, 0.070, Wave::Square, 5, kB5, kB5, 0, 0, 0.55, 0.002, 0.000, 0.012},
                {0.065, 0.430, Wave::Square, 5, kE6, kE6, 0, 0, 0.60, 0.002, 0.150, 0.120},
                {0.065, 0.260, Wave::Sine, 1, kE7, kE7, 0, 0, 0.22, 0.002, 0.050, 0.080},
            }};
}

// Jump: a quick upward sweep with a fast wobble, like a spring letting go.
Effect Jump() {
    return {"Jump.wav", 0.62, 404,
            {
                {0.000, 0.220, Wave::Triangle, 7, 240, 900, 18, 0.05, 1.00, 0.005, 0.120, 0.050},
                {0.000, 0.200, Wave::Square, 3, 240, 900, 18, 0.05, 0.22, 0.005, 0.090, 0.050},
            }};
}

// Stomp: a soft thump under a nasal, wobbling, falling squawk.
Effect Gya() {
    return {"Gya.wav", 0.72, 505,
            {
                {0.000, 0.090, Wave::Sine, 1, 180, 60, 0, 0, 0.70, 0.001, 0.030, 0.030},
                {0.000, 0.050, Wave::Noise, 1, 2500, 900, 0, 0, 0.30, 0.0005, 0.015, 0.020},
                {0.010, 0.250, Wave::Saw, 6, 720, 380, 32, 0.06, 0.80, 0.004, 0.110, 0.060},
                {0.010, 0.250, Wave::Saw, 6, 731, 386, 29, 0.06, 0.55, 0.004, 0.110, 0.060},
            }};
}

// Miss: three drooping notes stepping down and a long sagging last one,
// a muted horn with a rounder voice an octave up.
Effect GameOver() {
    constexpr double kDroop = 0.97;
    return {"GameOver.wav", 0.70, 606,
            {
                {0.00, 0.22, Wave::Square, 5, kG4, kG4 * kDroop, 0, 0, 0.80, 0.015, 0.250, 0.060},
                {0.00, 0.22, Wave::Triangle, 3, kG5, kG5 * kDroop, 0, 0, 0.30, 0.015, 0.200, 0.060},
                {0.24, 0.22, Wave::Square, 5, kFs4, kFs4 * kDroop, 0, 0, 0.80, 0.015, 0.250, 0.060},
                {0.24, 0.22, Wave::Triangle, 3, kFs4 * 2, kFs4 * 2 * kDroop, 0, 0, 0.30, 0.015, 0.200, 0.060},
                {0.48, 0.22, Wave::Square, 5, kF4, kF4 * kDroop, 0, 0, 0.80, 0.015, 0.250, 0.060},
                {0.48, 0.22, Wave::Triangle, 3, kF4 * 2, kF4 * 2 * kDroop, 0, 0, 0.30, 0.015, 0.200, 0.060},
                {0.72, 0.78, Wave::Square, 5, kE4, kD4, 6, 0.02, 0.85, 0.020, 0.450, 0.300},
                {0.72, 0.70, Wave::Triangle, 3, kE4 * 2, kD4 * 2, 6, 0.02, 0.30, 0.020, 0.350, 0.250},
            }};
}

}  // namespace

const std::vector<Effect>& GameEffects() {
    static const std::vector<Effect> effects = {Select(), Decide(), Coin(), Jump(), Gya(), GameOver()};
    return effects;
}

}  // namespace tumbleroo::sfx
