// Dsp.h: the arithmetic every part of the music generator shares.
//
// The track must come out byte-identical on every machine, so nothing on the
// audio path calls the C maths library: its sin, exp and pow pick different
// code paths by processor (with or without fused multiply-add) and may then
// differ in the last bit. The functions here use only +, -, *, /, sqrt,
// floor and ldexp, which are exact or correctly rounded everywhere.
// Needs: the C++ standard library only.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace music {

constexpr int SAMPLE_RATE = 44100;
constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 2.0 * PI;

// ---------------------------------------------------------------------------
// Deterministic elementary functions
// ---------------------------------------------------------------------------

// sin(2*pi*x), x in cycles; any x. Taylor series after folding to a quarter
// wave, accurate to about 1e-9, far below what 16-bit audio can show.
inline double sineCycles(double x) {
    x -= std::floor(x);
    if (x >= 0.5) x -= 1.0;
    if (x > 0.25) {
        x = 0.5 - x;
    } else if (x < -0.25) {
        x = -0.5 - x;
    }
    const double t = x * TWO_PI;
    const double t2 = t * t;
    return t * (1.0 + t2 * (-1.0 / 6.0 + t2 * (1.0 / 120.0 + t2 * (-1.0 / 5040.0 + t2 * (1.0 / 362880.0 +
                t2 * (-1.0 / 39916800.0 + t2 * (1.0 / 6227020800.0)))))));
}

// cos(2*pi*x), x in cycles.
inline double cosineCycles(double x) { return sineCycles(x + 0.25); }

// 2^x for |x| below about 1000: integer part by ldexp (exact), fraction by series.
inline double exp2Exact(double x) {
    const double n = std::floor(x);
    const double f = (x - n) * 0.69314718055994530942;  // fraction times ln 2, in [0, 0.694)
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 13; ++k) {  // 0.694^14 / 14! < 1e-13
        term *= f / k;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(n));
}

// log2(x) for x > 0: exponent by frexp (exact), mantissa by the atanh series.
inline double log2Exact(double x) {
    int exponent = 0;
    const double m = std::frexp(x, &exponent);  // x = m * 2^exponent, m in [0.5, 1)
    const double z = (m - 1.0) / (m + 1.0);     // |z| <= 1/3
    const double z2 = z * z;
    double term = z;
    double sum = 0.0;
    for (int k = 1; k <= 41; k += 2) {  // (1/3)^42 is far below double precision
        sum += term / k;
        term *= z2;
    }
    return exponent + 2.0 * sum * 1.44269504088896340736;
}

// e^x.
inline double expExact(double x) { return exp2Exact(x * 1.44269504088896340736); }

// Gain factor for a level in decibels.
inline double dbToGain(double db) { return exp2Exact(db * 0.16609640474436811739); }

// Frequency in Hz of a MIDI note number (69 = A at 440 Hz), fractional allowed.
inline double noteHz(double note) { return 440.0 * exp2Exact((note - 69.0) / 12.0); }

// Per-sample multiplier that makes a level fall to 1/e in the given seconds.
inline double decayFactor(double seconds) {
    return seconds <= 0.0 ? 0.0 : expExact(-1.0 / (seconds * SAMPLE_RATE));
}

// Smooth saturation, close to tanh, reaching +-1 at |x| = 3.
inline float softClip(float x) {
    if (x >= 3.0f) return 1.0f;
    if (x <= -3.0f) return -1.0f;
    const float x2 = x * x;
    return x * (27.0f + x2) / (27.0f + 9.0f * x2);
}

// Left and right gains of a constant-power pan position, -1 (left) to +1 (right).
inline void panGains(float pan, float& left, float& right) {
    const double angle = (static_cast<double>(pan) + 1.0) * 0.125;  // quarter cycle across
    left = static_cast<float>(cosineCycles(angle));
    right = static_cast<float>(sineCycles(angle));
}

// ---------------------------------------------------------------------------
// Random numbers
// ---------------------------------------------------------------------------

// Small fixed-seed generator (splitmix64): the same seed gives the same noise
// on every machine, and every note seeds its own so render order never matters.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ull;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    float uniform() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }
    // Uniform in [-1, 1).
    float bipolar() { return uniform() * 2.0f - 1.0f; }

private:
    uint64_t state_;
};

// ---------------------------------------------------------------------------
// Buffers
// ---------------------------------------------------------------------------

// Two channels of float samples, both of the same length.
struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;

    explicit StereoBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    void clear() {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
    }
};

// Sample index of a time in seconds, rounded to the nearest sample.
inline int64_t secondsToFrame(double seconds) {
    return static_cast<int64_t>(std::floor(seconds * SAMPLE_RATE + 0.5));
}

}  // namespace music
