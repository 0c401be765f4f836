// The six sound effects as data: each is a few voices mixed together.
//
// A voice is one tone or noise burst with its own pitch glide, vibrato and
// envelope. The synthesiser renders the voices, mixes them and scales the
// mix to the effect's peak level, so no effect can clip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tumbleroo::sfx {

enum class Wave {
    Sine,
    Triangle,  // odd harmonics falling with the square of their number
    Square,    // odd harmonics falling with their number
    Saw,       // every harmonic falling with its number
    Noise,     // white noise through a one-pole low-pass at the voice pitch
};

struct Voice {
    double startS;       // when the voice begins within the effect
    double lengthS;      // how long it lasts, release included
    Wave wave;
    int harmonics;       // highest harmonic kept: few harmonics sound soft
    double fromHz;       // pitch at the start (noise: low-pass corner)
    double toHz;         // pitch at the end, reached by an exponential glide
    double vibratoHz;    // wobble rate; 0 for none
    double vibratoDepth; // wobble depth as a fraction of the pitch
    double level;        // relative loudness within the effect
    double attackS;      // linear rise from silence
    double decayS;       // time constant of the exponential fall; 0 holds
    double releaseS;     // linear fade to silence at the end of the voice
};

struct Effect {
    std::string fileName;
    double peak;  // loudest sample as a fraction of full scale
    uint32_t noiseSeed;
    std::vector<Voice> voices;
};

const std::vector<Effect>& GameEffects();

}  // namespace tumbleroo::sfx
