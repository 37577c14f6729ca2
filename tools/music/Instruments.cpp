// Instruments.cpp: how each instrument of the generator sounds.
//
// Every instrument is one function that runs a few oscillators, envelopes and
// filters from Synth.h for the note's duration plus its tail and adds the
// result into the output buffer. Drums are made from noise and pitched sine
// sweeps; the tonal instruments from band-limited saws, pulses and FM sines.
// Needs: Instruments.h, Synth.h.
#include "Instruments.h"

#include "Synth.h"

namespace music {
namespace {

constexpr double INV_RATE = 1.0 / SAMPLE_RATE;
// Filters whose cutoff moves are retuned every this many samples: often
// enough to sound smooth, rarely enough to keep the generator quick.
constexpr int CONTROL_STEP = 16;

// Adds a note's samples at its place in the output, with its pan and
// velocity, and fades the last few milliseconds so a cut tail never clicks.
class NoteWriter {
public:
    NoteWriter(StereoBuffer& out, const Note& note, double seconds)
        : out_(out), first_(secondsToFrame(note.start)) {
        panGains(note.pan, gainLeft_, gainRight_);
        gainLeft_ *= note.velocity;
        gainRight_ *= note.velocity;
        const int64_t wanted = std::max<int64_t>(1, secondsToFrame(seconds));
        const int64_t room = static_cast<int64_t>(out.frames()) - first_;
        // A note before the start of the buffer is dropped whole.
        count_ = first_ < 0 ? 0 : std::max<int64_t>(0, std::min(wanted, room));
        fadeFrom_ = wanted - FADE_FRAMES;
    }

    // Number of samples to compute.
    int64_t count() const { return count_; }

    // Mono sample i of the note, panned.
    void put(int64_t i, float sample) {
        const float s = sample * fade(i);
        out_.left[first_ + i] += s * gainLeft_;
        out_.right[first_ + i] += s * gainRight_;
    }

    // Stereo sample i of the note; the pan only tilts the balance.
    void putStereo(int64_t i, float left, float right) {
        const float f = fade(i) * 1.41421356f;
        out_.left[first_ + i] += left * f * gainLeft_;
        out_.right[first_ + i] += right * f * gainRight_;
    }

private:
    static constexpr int64_t FADE_FRAMES = 441;  // 10 ms

    float fade(int64_t i) const {
        return i < fadeFrom_ ? 1.0f : static_cast<float>(FADE_FRAMES - (i - fadeFrom_)) / FADE_FRAMES;
    }

    StereoBuffer& out_;
    int64_t first_;
    int64_t count_ = 0;
    int64_t fadeFrom_ = 0;
    float gainLeft_ = 0.0f;
    float gainRight_ = 0.0f;
};

// Metallic source of the hats and cymbals: six detuned square waves whose
// sum has no clear pitch, in the manner of old analogue drum machines.
class MetalSource {
public:
    explicit MetalSource(double scale) {
        constexpr double BASE_HZ[6] = {317.0, 447.0, 503.0, 611.0, 734.0, 882.0};
        for (int k = 0; k < 6; ++k) inc_[k] = BASE_HZ[k] * scale * INV_RATE;
    }
    float next() {
        float sum = 0.0f;
        for (int k = 0; k < 6; ++k) {
            phase_[k] += inc_[k];
            if (phase_[k] >= 1.0) phase_[k] -= 1.0;
            sum += phase_[k] < 0.5 ? 1.0f : -1.0f;
        }
        return sum * (1.0f / 6.0f);
    }

private:
    double inc_[6] = {};
    double phase_[6] = {};
};

// ---------------------------------------------------------------------------
// Drums
// ---------------------------------------------------------------------------

// Kick: a sine falling from about 190 Hz to 42 Hz with a noise click on top.
void renderKick(const Note& note, Random& rng, NoteWriter w) {
    Phase phase;
    Decay amp(0.14 + 0.08 * note.tone);
    Decay pitch(0.032);
    Decay click(0.004);
    Svf clickFilter(3500.0, 0.7);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double hz = 42.0 + 150.0 * pitch.next();
        const double body = sineCycles(phase.value()) * amp.next();
        phase.advance(hz * INV_RATE);
        const float snap = clickFilter.process(rng.bipolar()).band * static_cast<float>(click.next());
        w.put(i, softClip(1.6f * static_cast<float>(body) + 0.8f * snap));
    }
}

// Snare: a short tuned body and a longer band of noise.
void renderSnare(const Note& note, Random& rng, NoteWriter w) {
    Phase phase;
    Decay body(0.05), noise(0.11 + 0.06 * note.tone), pitch(0.015);
    Svf noiseFilter(2000.0 + 2500.0 * note.tone, 0.6);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double hz = 185.0 + 70.0 * pitch.next();
        const double tone = sineCycles(phase.value()) * body.next() * 0.6;
        phase.advance(hz * INV_RATE);
        const FilterOut n = noiseFilter.process(rng.bipolar());
        const double hiss = (n.band * 1.1 + n.high * 0.45) * noise.next();
        w.put(i, softClip(static_cast<float>(1.3 * (tone + hiss))));
    }
}

// Clap: three bursts 11 ms apart, then a reverberant tail.
void renderClap(const Note&, Random& rng, NoteWriter w) {
    constexpr int64_t BURST_FRAMES = 485;
    Svf band(1250.0, 1.8);
    Decay tail(0.12);
    double burst = 1.0;
    const double burstK = decayFactor(0.0045);
    for (int64_t i = 0; i < w.count(); ++i) {
        double env;
        if (i < 3 * BURST_FRAMES) {
            if (i % BURST_FRAMES == 0) burst = 1.0;
            env = burst;
            burst *= burstK;
        } else {
            env = tail.next() * 0.8;
        }
        w.put(i, 2.2f * band.process(rng.bipolar()).band * static_cast<float>(env));
    }
}

// Hats: metal and noise above 7 kHz; the open one rings longer.
void renderHat(const Note& note, Random& rng, NoteWriter w, double decaySeconds) {
    MetalSource metal(1.0 + 0.25 * note.tone);
    Svf band(9500.0, 1.2), high(7000.0, 0.7);
    Decay amp(decaySeconds);
    for (int64_t i = 0; i < w.count(); ++i) {
        const float src = 0.6f * metal.next() + 0.5f * rng.bipolar();
        const float shaped = high.process(band.process(src).band).high;
        w.put(i, 1.6f * shaped * static_cast<float>(amp.next()));
    }
}

// Crash: two independent noise-and-metal sources for width, high-passed, long fade.
void renderCrash(const Note& note, Random& rng, NoteWriter w) {
    MetalSource metalL(2.1), metalR(2.3);
    Svf highL(4200.0, 0.7), highR(4400.0, 0.7);
    Svf bandL(8000.0, 0.8), bandR(8600.0, 0.8);
    Decay amp(0.7 + 0.6 * note.tone);
    for (int64_t i = 0; i < w.count(); ++i) {
        const float a = static_cast<float>(amp.next()) * (i < 44 ? static_cast<float>(i) / 44.0f : 1.0f);
        const float l = highL.process(0.3f * metalL.next() + rng.bipolar()).high;
        const float r = highR.process(0.3f * metalR.next() + rng.bipolar()).high;
        w.putStereo(i, (0.6f * l + bandL.process(l).band) * a, (0.6f * r + bandR.process(r).band) * a);
    }
}

// Tom: a sine dropping to its note, for fills.
void renderTom(const Note& note, NoteWriter w) {
    const double base = noteHz(note.pitch);
    Phase phase;
    Decay amp(0.2), pitch(0.06);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double hz = base * (1.0 + 0.6 * pitch.next());
        w.put(i, softClip(static_cast<float>(1.4 * sineCycles(phase.value()) * amp.next())));
        phase.advance(hz * INV_RATE);
    }
}

// Boom: the deep impact under a flash, a long sine fall with a dull thud.
void renderBoom(const Note&, Random& rng, NoteWriter w) {
    Phase phase;
    Decay amp(0.75), pitch(0.15), thud(0.06);
    Svf dull(300.0, 0.7);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double hz = 30.0 + 55.0 * pitch.next();
        const double body = sineCycles(phase.value()) * amp.next();
        phase.advance(hz * INV_RATE);
        const float noise = dull.process(rng.bipolar()).low * static_cast<float>(thud.next());
        w.put(i, softClip(static_cast<float>(1.5 * body) + 1.5f * noise));
    }
}

// Riser: stereo noise through a band-pass that sweeps from 300 Hz to 8 kHz
// while it swells, to lead into a change of section.
void renderRiser(const Note& note, Random& rng, NoteWriter w) {
    const int64_t frames = std::max<int64_t>(1, secondsToFrame(note.length));
    Svf left(300.0, 2.5), right(300.0, 2.5);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double u = std::min(1.0, static_cast<double>(i) / frames);
        if (i % CONTROL_STEP == 0) {
            const double hz = 300.0 * exp2Exact(u * (4.7 + 0.6 * note.tone));
            left.set(hz, 2.5);
            right.set(hz * 1.07, 2.5);
        }
        const float a = static_cast<float>(u * u) * (i < frames ? 1.0f : 0.0f);
        w.putStereo(i, 1.8f * left.process(rng.bipolar()).band * a, 1.8f * right.process(rng.bipolar()).band * a);
    }
}

// ---------------------------------------------------------------------------
// Tonal instruments
// ---------------------------------------------------------------------------

// Bass: saw plus a sine at the same pitch, through a low-pass that closes
// after each attack, so every note has a short bright bite.
void renderBass(const Note& note, NoteWriter w) {
    const double hz = noteHz(note.pitch);
    const double inc = hz * INV_RATE;
    Envelope env(0.003, 0.25, 0.8, 0.04, note.length);
    Decay filterEnv(0.08 + 0.08 * note.tone);
    Phase saw, sub;
    Svf lowpass(400.0, 1.1);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double f = filterEnv.next();
        if (i % CONTROL_STEP == 0) lowpass.set(hz * 1.5 + 90.0 + (250.0 + 2400.0 * note.tone) * f, 1.1);
        const float bright = lowpass.process(static_cast<float>(0.6 * sawSample(saw.value(), inc))).low;
        const double x = bright + 0.65 * sineCycles(sub.value());
        saw.advance(inc);
        sub.advance(inc);
        w.put(i, softClip(static_cast<float>(1.3 * x)) * static_cast<float>(env.next()));
    }
}

// Acid: a saw through a ringing low-pass swept by each note, driven hard.
void renderAcid(const Note& note, NoteWriter w) {
    const double hz = noteHz(note.pitch);
    const double inc = hz * INV_RATE;
    Envelope env(0.002, 0.2, 0.9, 0.02, note.length);
    Decay filterEnv(0.13);
    Phase saw;
    Svf lowpass(400.0, 6.0);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double f = filterEnv.next();
        if (i % CONTROL_STEP == 0) lowpass.set(140.0 + hz + (250.0 + 4000.0 * note.tone) * f, 6.0);
        const float low = lowpass.process(static_cast<float>(0.7 * sawSample(saw.value(), inc))).low;
        saw.advance(inc);
        w.put(i, 0.65f * softClip(2.2f * low) * static_cast<float>(env.next()));
    }
}

// Pad: five saws spread over a few cents and across the stereo field, soft
// low-pass, slow attack and release.
void renderPad(const Note& note, Random& rng, NoteWriter w) {
    constexpr int VOICES = 5;
    constexpr double DETUNE_CENTS[VOICES] = {-13.0, -6.0, 0.0, 7.0, 12.0};
    constexpr float SPREAD[VOICES] = {-0.9f, 0.5f, 0.0f, -0.5f, 0.9f};
    double inc[VOICES];
    Phase phase[VOICES];
    float gainL[VOICES], gainR[VOICES];
    for (int k = 0; k < VOICES; ++k) {
        inc[k] = noteHz(note.pitch + DETUNE_CENTS[k] / 100.0) * INV_RATE;
        phase[k] = Phase(rng.uniform());
        panGains(SPREAD[k], gainL[k], gainR[k]);
    }
    const double cutoff = 900.0 + 3200.0 * note.tone;
    Svf left(cutoff, 0.7), right(cutoff, 0.7);
    Envelope env(0.45, 1.2, 0.85, 0.6, note.length);
    for (int64_t i = 0; i < w.count(); ++i) {
        float l = 0.0f, r = 0.0f;
        for (int k = 0; k < VOICES; ++k) {
            const float s = static_cast<float>(sawSample(phase[k].value(), inc[k]));
            phase[k].advance(inc[k]);
            l += s * gainL[k];
            r += s * gainR[k];
        }
        const float a = static_cast<float>(env.next()) * 0.45f;
        w.putStereo(i, left.process(l).low * a, right.process(r).low * a);
    }
}

// Arp: a narrow pulse plucked through a low-pass that snaps shut.
void renderArp(const Note& note, NoteWriter w) {
    const double inc = noteHz(note.pitch) * INV_RATE;
    // 4 ms attack: a pulse starts far from zero, and a faster rise thumps.
    Envelope env(0.004, 0.15, 0.0, 0.05, note.length);
    Decay filterEnv(0.07);
    Phase phase;
    Svf lowpass(1000.0, 1.6);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double f = filterEnv.next();
        if (i % CONTROL_STEP == 0) lowpass.set(350.0 + (600.0 + 6500.0 * note.tone) * f, 1.6);
        const float src = static_cast<float>(pulseSample(phase.value(), inc, 0.32));
        phase.advance(inc);
        w.put(i, 0.8f * lowpass.process(src).low * static_cast<float>(env.next()));
    }
}

// Lead: two saws a few cents apart and a pulse an octave below, vibrato that
// sets in after the attack, low-pass that opens with the note.
void renderLead(const Note& note, NoteWriter w) {
    const double hz = noteHz(note.pitch);
    const double detune = noteHz(note.pitch + 0.08) / hz;
    Envelope env(0.008, 0.35, 0.7, 0.18, note.length);
    Decay filterEnv(0.3);
    Phase a, b(0.37), c(0.61), lfo;
    Svf lowpass(2000.0, 0.9);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double t = i * INV_RATE;
        const double depth = 0.2 * std::min(1.0, std::max(0.0, (t - 0.22) / 0.3));  // semitones
        // 2^(x/12) for |x| <= 0.2 by its series; plenty accurate for a vibrato.
        const double v = depth * sineCycles(lfo.value()) * (0.69314718 / 12.0);
        const double bend = 1.0 + v + v * v * 0.5;
        lfo.advance(5.6 * INV_RATE);
        const double inc = hz * bend * INV_RATE;
        const double f = filterEnv.next();
        if (i % CONTROL_STEP == 0) lowpass.set(1200.0 + 5500.0 * note.tone * (0.35 + 0.65 * f), 0.9);
        const double src = 0.5 * sawSample(a.value(), inc) + 0.5 * sawSample(b.value(), inc * detune) +
                           0.35 * pulseSample(c.value(), inc * 0.5, 0.5);
        a.advance(inc);
        b.advance(inc * detune);
        c.advance(inc * 0.5);
        w.put(i, softClip(0.9f * lowpass.process(static_cast<float>(src)).low) * static_cast<float>(env.next()));
    }
}

// Bell: sine carrier phase-modulated by a sine at three times its pitch; the
// modulation fades faster than the tone, so the strike is bright, the ring pure.
void renderBell(const Note& note, NoteWriter w) {
    const double inc = noteHz(note.pitch) * INV_RATE;
    Phase carrier, modulator;
    Decay amp(0.5 + 0.6 * note.tone), index(0.18);
    for (int64_t i = 0; i < w.count(); ++i) {
        const double mod = (0.4 + 2.2 * index.next()) * sineCycles(modulator.value());
        const double s = sineCycles(carrier.value() + mod / TWO_PI);
        carrier.advance(inc);
        modulator.advance(3.0 * inc);
        const double attack = i < 88 ? i / 88.0 : 1.0;
        w.put(i, static_cast<float>(0.7 * s * amp.next() * attack));
    }
}

}  // namespace

void renderNote(const Note& note, uint64_t seed, StereoBuffer& out) {
    Random rng(seed);
    switch (note.instrument) {
        case Instrument::Kick: renderKick(note, rng, NoteWriter(out, note, 1.6)); break;
        case Instrument::Snare: renderSnare(note, rng, NoteWriter(out, note, 0.7)); break;
        case Instrument::Clap: renderClap(note, rng, NoteWriter(out, note, 0.7)); break;
        case Instrument::ClosedHat: renderHat(note, rng, NoteWriter(out, note, 0.25), 0.03); break;
        case Instrument::OpenHat: renderHat(note, rng, NoteWriter(out, note, 1.2), 0.22); break;
        case Instrument::Crash: renderCrash(note, rng, NoteWriter(out, note, 7.0)); break;
        case Instrument::Tom: renderTom(note, NoteWriter(out, note, 1.2)); break;
        case Instrument::Boom: renderBoom(note, rng, NoteWriter(out, note, 4.0)); break;
        case Instrument::Riser: renderRiser(note, rng, NoteWriter(out, note, note.length + 0.02)); break;
        case Instrument::Bass: renderBass(note, NoteWriter(out, note, note.length + 0.3)); break;
        case Instrument::Acid: renderAcid(note, NoteWriter(out, note, note.length + 0.15)); break;
        case Instrument::Pad: renderPad(note, rng, NoteWriter(out, note, note.length + 4.0)); break;
        case Instrument::Arp: renderArp(note, NoteWriter(out, note, note.length + 0.4)); break;
        case Instrument::Lead: renderLead(note, NoteWriter(out, note, note.length + 1.2)); break;
        case Instrument::Bell: renderBell(note, NoteWriter(out, note, 6.0 * (0.5 + 0.6 * note.tone))); break;
    }
}

}  // namespace music
