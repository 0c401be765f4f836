// The synthesiser behind the sound effects: additive tones with a limited
// number of harmonics (so square and saw waves stay soft), low-passed noise
// from a seeded generator (so every run gives the same bytes), exponential
// pitch glides, vibrato and attack / decay / release envelopes.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tumbleroo::sfx {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Harmonics above this share of the sample rate are left out (no aliasing).
constexpr double kHighestPartialShare = 0.45;
// Silence kept after the last voice, in seconds.
constexpr double kTailS = 0.010;
constexpr int kCentre = 128;     // the 8-bit silence level
constexpr double kSwing = 127.0; // steps from silence to full scale

// A small xorshift generator: the noise must be the same on every run.
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : state_(seed == 0 ? 1u : seed) {}
    double Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483647.5 - 1.0;
    }

private:
    uint32_t state_;
};

// The amplitude of harmonic k of a wave (0 when the wave has none there).
double PartialAmplitude(Wave wave, int k) {
    switch (wave) {
    case Wave::Sine:
        return k == 1 ? 1.0 : 0.0;
    case Wave::Triangle:
        if (k % 2 == 0) return 0.0;
        return ((k / 2) % 2 == 0 ? 1.0 : -1.0) / (k * k);
    case Wave::Square:
        return k % 2 == 0 ? 0.0 : 1.0 / k;
    case Wave::Saw:
        return (k % 2 == 0 ? -1.0 : 1.0) / k;
    case Wave::Noise:
        return 0.0;
    }
    return 0.0;
}

double Envelope(const Voice& voice, double t) {
    double level = voice.attackS > 0 ? std::min(1.0, t / voice.attackS) : 1.0;
    if (voice.decayS > 0 && t > voice.attackS) {
        level *= std::exp(-(t - voice.attackS) / voice.decayS);
    }
    const double left = voice.lengthS - t;
    if (voice.releaseS > 0 && left < voice.releaseS) {
        level *= std::max(0.0, left / voice.releaseS);
    }
    return level;
}

// Pitch at time t: an exponential glide from fromHz to toHz, with vibrato.
double PitchAt(const Voice& voice, double t) {
    const double glide = voice.fromHz * std::pow(voice.toHz / voice.fromHz, t / voice.lengthS);
    return glide * (1.0 + voice.vibratoDepth * std::sin(kTwoPi * voice.vibratoHz * t));
}

void AddTone(const Voice& voice, std::vector<double>& mix) {
    const auto first = static_cast<size_t>(std::lround(voice.startS * kSampleRate));
    const auto count = static_cast<size_t>(std::lround(voice.lengthS * kSampleRate));
    double phase = 0.0;  // in cycles
    for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double pitch = PitchAt(voice, t);
        double value = 0.0;
        for (int k = 1; k <= voice.harmonics; ++k) {
            if (k * pitch > kHighestPartialShare * kSampleRate) break;
            const double amplitude = PartialAmplitude(voice.wave, k);
            if (amplitude != 0.0) value += amplitude * std::sin(kTwoPi * k * phase);
        }
        mix[first + i] += voice.level * Envelope(voice, t) * value;
        phase += pitch / kSampleRate;
        phase -= std::floor(phase);
    }
}

void AddNoise(const Voice& voice, uint32_t seed, std::vector<double>& mix) {
    const auto first = static_cast<size_t>(std::lround(voice.startS * kSampleRate));
    const auto count = static_cast<size_t>(std::lround(voice.lengthS * kSampleRate));
    NoiseSource noise(seed);
    double filtered = 0.0;
    for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double share = 1.0 - std::exp(-kTwoPi * PitchAt(voice, t) / kSampleRate);
        filtered += share * (noise.Next() - filtered);
        mix[first + i] += voice.level * Envelope(voice, t) * filtered;
    }
}

}  // namespace

std::vector<double> RenderEffect(const Effect& effect) {
    double endS = 0.0;
    for (const Voice& voice : effect.voices) endS = std::max(endS, voice.startS + voice.lengthS);
    std::vector<double> mix(static_cast<size_t>(std::ceil((endS + kTailS) * kSampleRate)), 0.0);

    uint32_t seed = effect.noiseSeed;
    for (const Voice& voice : effect.voices) {
        if (voice.wave == Wave::Noise) {
            AddNoise(voice, seed, mix);
        } else {
            AddTone(voice, mix);
        }
        seed = seed * 1664525u + 1013904223u;  // a fresh stream per voice
    }

    double loudest = 0.0;
    for (double value : mix) loudest = std::max(loudest, std::fabs(value));
    if (loudest > 0.0) {
        const double scale = effect.peak / loudest;
        for (double& value : mix) value *= scale;
    }
    return mix;
}

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

uint8_t ToUnsigned8(double value) {
    const long step = std::lround(kCentre + std::clamp(value, -1.0, 1.0) * kSwing);
    return static_cast<uint8_t>(std::clamp(step, 0L, 255L));
}

}  // namespace

std::vector<uint8_t> EncodeWav(const std::vector<double>& samples) {
    constexpr uint32_t kFmtSize = 16;
    constexpr uint16_t kPcm = 1;
    constexpr uint16_t kBitsPerSample = 8;
    constexpr uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
    const auto dataSize = static_cast<uint32_t>(samples.size() * kBlockAlign);

    std::vector<uint8_t> out;
    out.reserve(44 + dataSize);
    PutTag(out, "RIFF");
    PutU32(out, 4 + (8 + kFmtSize) + (8 + dataSize));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, kFmtSize);
    PutU16(out, kPcm);
    PutU16(out, kChannels);
    PutU32(out, kSampleRate);
    PutU32(out, kSampleRate * kBlockAlign);
    PutU16(out, kBlockAlign);
    PutU16(out, kBitsPerSample);
    PutTag(out, "data");
    PutU32(out, dataSize);
    for (double value : samples) {
        const uint8_t sample = ToUnsigned8(value);
        for (int channel = 0; channel < kChannels; ++channel) out.push_back(sample);
    }
    return out;
}

}  // namespace tumbleroo::sfx
