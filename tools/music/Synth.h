// Synth.h: the building blocks of the generator's instruments: band-limited
// oscillators, an envelope and a state-variable filter.
//
// All are small value types that advance one sample per call, so an
// instrument is a loop that wires a few of them together. Inline because
// they run tens of millions of times per track.
// Needs: Dsp.h.
#pragma once

#include "Dsp.h"

namespace music {

// ---------------------------------------------------------------------------
// Oscillators
// ---------------------------------------------------------------------------

// Correction near a saw's jump that removes most of its aliasing (polyBLEP).
inline double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Phase accumulator in cycles, [0, 1).
class Phase {
public:
    explicit Phase(double start = 0.0) : value_(start - std::floor(start)) {}
    double value() const { return value_; }
    // Moves on by inc cycles (inc below 1).
    void advance(double inc) {
        value_ += inc;
        if (value_ >= 1.0) value_ -= 1.0;
    }

private:
    double value_;
};

// Falling band-limited sawtooth in [-1, 1]; inc is frequency / sample rate.
inline double sawSample(double phase, double inc) { return 2.0 * phase - 1.0 - polyBlep(phase, inc); }

// Band-limited pulse of the given width (0.5 = square), made of two saws.
// Left as the plain difference, which has no DC whatever the width.
inline double pulseSample(double phase, double inc, double width) {
    double shifted = phase + width;
    if (shifted >= 1.0) shifted -= 1.0;
    return sawSample(phase, inc) - sawSample(shifted, inc);
}

// ---------------------------------------------------------------------------
// Envelope
// ---------------------------------------------------------------------------

// Attack-decay-sustain-release envelope for a note of known gate length:
// linear attack, exponential decay towards the sustain level, exponential
// release from wherever the level stands when the gate ends.
class Envelope {
public:
    Envelope(double attack, double decay, double sustain, double release, double gate)
        : attackFrames_(std::max<int64_t>(1, secondsToFrame(attack))),
          gateFrames_(std::max<int64_t>(1, secondsToFrame(gate))),
          sustain_(sustain),
          decayK_(decayFactor(decay)),
          releaseK_(decayFactor(release)) {}

    double next() {
        if (frame_ < gateFrames_) {
            if (frame_ < attackFrames_) {
                level_ = static_cast<double>(frame_ + 1) / static_cast<double>(attackFrames_);
            } else {
                decayPart_ *= decayK_;
                level_ = sustain_ + (1.0 - sustain_) * decayPart_;
            }
        } else {
            level_ *= releaseK_;
        }
        ++frame_;
        return level_;
    }
    // True once the release has faded below hearing.
    bool finished() const { return frame_ > gateFrames_ && level_ < 1e-4; }

private:
    int64_t frame_ = 0;
    int64_t attackFrames_;
    int64_t gateFrames_;
    double sustain_;
    double decayK_;
    double releaseK_;
    double decayPart_ = 1.0;
    double level_ = 0.0;
};

// Plain exponential fall from 1, the shape of every drum.
class Decay {
public:
    explicit Decay(double seconds) : k_(decayFactor(seconds)) {}
    double next() {
        const double v = level_;
        level_ *= k_;
        return v;
    }

private:
    double k_;
    double level_ = 1.0;
};

// ---------------------------------------------------------------------------
// Filter
// ---------------------------------------------------------------------------

// Outputs of one filter step.
struct FilterOut {
    float low;
    float band;
    float high;
};

// Trapezoidal state-variable filter: stable under fast cutoff changes, which
// the plucks and the acid bass sweep every few milliseconds.
class Svf {
public:
    Svf(double cutoffHz, double q) { set(cutoffHz, q); }

    // New cutoff and resonance (q 0.5 is soft, 10 rings).
    void set(double cutoffHz, double q) {
        const double nyquistSafe = std::min(std::max(cutoffHz, 10.0), SAMPLE_RATE * 0.45);
        const double x = nyquistSafe / SAMPLE_RATE * 0.5;  // tan(pi f / fs) = sin/cos of f/(2 fs) cycles
        const double g = sineCycles(x) / cosineCycles(x);
        k_ = 1.0 / q;
        a1_ = 1.0 / (1.0 + g * (g + k_));
        a2_ = g * a1_;
        a3_ = g * a2_;
    }

    FilterOut process(float input) {
        const double v3 = input - ic2_;
        const double v1 = a1_ * ic1_ + a2_ * v3;
        const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
        ic1_ = 2.0 * v1 - ic1_;
        ic2_ = 2.0 * v2 - ic2_;
        return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(input - k_ * v1 - v2)};
    }

private:
    double k_ = 1.0, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
    double ic1_ = 0.0, ic2_ = 0.0;
};

// One-pole smoothing low-pass, for damping inside feedback loops.
class OnePole {
public:
    explicit OnePole(double cutoffHz) : k_(1.0 - expExact(-TWO_PI * cutoffHz / SAMPLE_RATE)) {}
    float process(float x) {
        state_ += k_ * (x - state_);
        return static_cast<float>(state_);
    }

private:
    double k_;
    double state_ = 0.0;
};

}  // namespace music
