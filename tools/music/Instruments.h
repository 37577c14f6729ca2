// Instruments.h: the generator's instruments and the note events that play them.
//
// A Note says which instrument sounds when, how long, how high and how hard.
// renderNote adds one note, release tail included, into a stereo buffer; each
// note seeds its own noise, so notes can be rendered in any order.
// Needs: Dsp.h, Synth.h.
#pragma once

#include <cstdint>

#include "Dsp.h"

namespace music {

enum class Instrument {
    Kick,       // sine with a falling pitch and a click
    Snare,      // tuned body plus band-passed noise
    Clap,       // three quick noise bursts and a tail
    ClosedHat,  // metallic squares and noise, short
    OpenHat,    // the same, ringing
    Crash,      // wide high noise with a long fade
    Tom,        // pitched sine drop, for fills
    Bass,       // saw and sub sine through a plucked low-pass
    Acid,       // resonant, swept saw bass
    Pad,        // detuned saw stack, slow attack, wide
    Arp,        // short pulse pluck for the arpeggios
    Lead,       // detuned saws with delayed vibrato
    Bell,       // two-operator FM chime
    Riser,      // noise sweep that builds into a change
    Boom,       // deep falling impact under a flash
};
constexpr int INSTRUMENT_COUNT = 15;

// One sounding event.
struct Note {
    Instrument instrument = Instrument::Kick;
    double start = 0.0;    // seconds from the start of the track
    double length = 0.0;   // gate length in seconds
    int pitch = 60;        // MIDI note number (ignored by the unpitched drums)
    float velocity = 1.0f; // 0..1
    float pan = 0.0f;      // -1 left .. +1 right
    float tone = 0.5f;     // 0..1 brightness: filter opening, FM depth, sweep range
};

// Adds the note into out, scaled by its velocity; samples past the end of out
// are dropped. seed picks the note's noise.
void renderNote(const Note& note, uint64_t seed, StereoBuffer& out);

}  // namespace music
