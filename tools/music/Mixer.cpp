// Mixer.cpp: buses, kick ducking, sends and the master chain.
//
// Needs: Mixer.h, Effects.h, Instruments.h.
#include "Mixer.h"

#include "Effects.h"
#include "Instruments.h"
#include "Synth.h"

namespace music {
namespace {

// How one group of instruments sits in the mix.
struct Bus {
    const char* name;
    std::vector<Instrument> instruments;
    float gain;        // into the master
    float duck;        // 0..1: how far each kick pushes the bus down
    float reverbSend;  // into the reverb
    float delaySend;   // into the ping-pong echo
};

// The mix. Levels were set by measurement: each bus's loudness, the
// spectrum of each section, checked with the measuring tool.
const std::vector<Bus>& buses() {
    static const std::vector<Bus> table = {
        {"kick", {Instrument::Kick, Instrument::Boom}, 0.50f, 0.0f, 0.0f, 0.0f},
        {"drums", {Instrument::Snare, Instrument::Clap, Instrument::Tom}, 0.70f, 0.0f, 0.18f, 0.0f},
        {"metal", {Instrument::ClosedHat, Instrument::OpenHat, Instrument::Crash}, 0.55f, 0.0f, 0.06f, 0.0f},
        {"bass", {Instrument::Bass, Instrument::Acid}, 0.60f, 0.55f, 0.0f, 0.0f},
        {"pad", {Instrument::Pad}, 0.16f, 0.6f, 0.35f, 0.0f},
        {"arp", {Instrument::Arp}, 0.32f, 0.35f, 0.2f, 0.35f},
        {"lead", {Instrument::Lead}, 0.50f, 0.1f, 0.25f, 0.22f},
        {"bell", {Instrument::Bell}, 0.45f, 0.0f, 0.4f, 0.3f},
        {"fx", {Instrument::Riser}, 0.20f, 0.0f, 0.3f, 0.0f},
    };
    return table;
}

// Level of the sum before the master chain: leaves the limiter a few dB of
// peaks to catch, enough for loudness, not so much that the kicks go flat.
constexpr float MASTER_GAIN = 0.7f;

// Shape of one duck: down within 5 ms, back up over about 0.2 s.
std::vector<float> duckShape() {
    const int64_t attack = 220;
    const int64_t length = secondsToFrame(0.35);
    std::vector<float> shape(static_cast<size_t>(length));
    const double k = decayFactor(0.07);
    double level = 1.0;
    for (int64_t i = 0; i < length; ++i) {
        if (i < attack) {
            shape[i] = static_cast<float>(i) / attack;
        } else {
            shape[i] = static_cast<float>(level);
            level *= k;
        }
    }
    return shape;
}

// Depth of ducking at every sample (0 none, 1 full), from the kick notes.
std::vector<float> kickPressure(const Score& score, size_t frames) {
    std::vector<float> pressure(frames, 0.0f);
    const std::vector<float> shape = duckShape();
    for (const Note& note : score.notes()) {
        if (note.instrument != Instrument::Kick) continue;
        const int64_t first = secondsToFrame(note.start);
        for (size_t i = 0; i < shape.size(); ++i) {
            const int64_t at = first + static_cast<int64_t>(i);
            if (at < 0 || at >= static_cast<int64_t>(frames)) continue;
            pressure[at] = std::max(pressure[at], shape[i] * note.velocity);
        }
    }
    return pressure;
}

bool onBus(const Bus& bus, Instrument instrument) {
    for (const Instrument i : bus.instruments) {
        if (i == instrument) return true;
    }
    return false;
}

}  // namespace

StereoBuffer mixTrack(const Score& score, double seconds) {
    const size_t frames = static_cast<size_t>(secondsToFrame(seconds));
    StereoBuffer master(frames);
    StereoBuffer bus(frames);
    std::vector<float> reverbSend(frames, 0.0f);
    std::vector<float> delaySend(frames, 0.0f);
    const std::vector<float> pressure = kickPressure(score, frames);
    const std::vector<Note>& notes = score.notes();

    for (const Bus& setting : buses()) {
        bus.clear();
        for (size_t n = 0; n < notes.size(); ++n) {
            // The note's index is its noise seed: fixed by the score alone.
            if (onBus(setting, notes[n].instrument)) renderNote(notes[n], 0x9E37u * (n + 1), bus);
        }
        for (size_t i = 0; i < frames; ++i) {
            const float g = setting.gain * (1.0f - setting.duck * pressure[i]);
            const float l = bus.left[i] * g;
            const float r = bus.right[i] * g;
            master.left[i] += l;
            master.right[i] += r;
            const float mono = 0.5f * (l + r);
            reverbSend[i] += mono * setting.reverbSend;
            delaySend[i] += mono * setting.delaySend;
        }
    }

    // The echo is a dotted eighth, a classic against a straight 16th groove;
    // a little of it reaches the reverb too, so the repeats sit in the room.
    StereoBuffer echoes(frames);
    addPingPongDelay(delaySend, 3.0 * STEP_SECONDS, 0.42f, 0.55f, echoes);
    for (size_t i = 0; i < frames; ++i) {
        master.left[i] += echoes.left[i];
        master.right[i] += echoes.right[i];
        reverbSend[i] += 0.25f * (echoes.left[i] + echoes.right[i]);
    }
    addReverb(reverbSend, 0.9f, master);
    for (size_t i = 0; i < frames; ++i) {
        master.left[i] *= MASTER_GAIN;
        master.right[i] *= MASTER_GAIN;
    }

    // Below 25 Hz there is nothing to hear, only offset and rumble that
    // would eat into the headroom.
    Svf lowCutLeft(25.0, 0.7071), lowCutRight(25.0, 0.7071);
    for (size_t i = 0; i < frames; ++i) {
        master.left[i] = lowCutLeft.process(master.left[i]).high;
        master.right[i] = lowCutRight.process(master.right[i]).high;
    }

    levelSections(master, LEVEL_FROM_SECONDS, LEVEL_TO_SECONDS, 4.0);
    // The last seconds fade the reverb tail to true silence.
    fadeEdges(master, seconds - 3.0);
    limitPeaks(master, MASTER_CEILING);
    return master;
}

}  // namespace music
