// Score.h: the sequencer: bars, chords and the pattern helpers that turn
// short tracker-like step strings into note events.
//
// The tempo is fixed (120 beats a minute, a 16th step is 0.125 s); bars are
// four beats, except where a two-beat bar lets a section change land exactly
// on a given second. Step strings hold one token per 16th step:
//   a number   a note: semitones above the chord root (bass) or an index
//              into the chord's tones (arpeggio)
//   .          hold the previous note one more step
//   -          silence
// Melody strings are "E5:4 D5:2 r:2": note name with octave (C4 = MIDI 60)
// or r for a rest, then the length in 16th steps. Drum rows have one
// character per step: x loud, o soft, . nothing.
// Needs: Instruments.h.
#pragma once

#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "Dsp.h"
#include "Instruments.h"

namespace music {

constexpr double BEAT_SECONDS = 0.5;             // 120 beats per minute
constexpr double STEP_SECONDS = BEAT_SECONDS / 4; // one 16th

// A chord: root pitch class (C = 0) and the intervals of its tones.
struct Chord {
    int root = 9;                        // A
    std::array<int, 4> intervals = {0, 3, 7, 12};

    // Parses "Am", "F", "G#", "Bb", "Em7", "Fmaj7", "Dsus4"; unknown text gives A minor.
    static Chord parse(std::string_view name);
};

// One drum bar: a row of 16 steps for each drum (nullptr = not played).
struct DrumPattern {
    const char* kick = nullptr;
    const char* snare = nullptr;
    const char* clap = nullptr;
    const char* hat = nullptr;
    const char* openHat = nullptr;
};

class Score {
public:
    Score();

    // Appends count bars of the given number of beats to the bar map.
    void addBars(int count, int beats = 4);
    int barCount() const { return static_cast<int>(barStarts_.size()); }
    double barStart(int bar) const;
    int barBeats(int bar) const;
    // Time just after the last bar.
    double end() const;

    // Chords for consecutive bars from bar on, one name per bar.
    void setChords(int bar, std::initializer_list<const char*> names);
    const Chord& chordAt(int bar) const;

    void add(const Note& note) { notes_.push_back(note); }
    const std::vector<Note>& notes() const { return notes_; }

    // Drums for count bars from bar; level scales every hit.
    void drums(int bar, int count, const DrumPattern& pattern, float level);
    // Bass line from semitone steps over each bar's chord root (A1 to G#2).
    void bassLine(int bar, int count, std::string_view steps, Instrument instrument, float velocity, float tone);
    // Arpeggio from chord-tone steps; the tone moves from toneFrom to toneTo over the bars.
    void arpeggio(int bar, int count, std::string_view steps, int lowestRoot, float velocity, float toneFrom,
                  float toneTo);
    // Pad chords held for each bar, voiced close together between G3 and F#4.
    void padChords(int bar, int count, float velocity, float tone);
    // One pad chord, the chord of bar, held for length seconds.
    void padChord(int bar, double length, float velocity, float tone);
    // A melody line starting at bar; returns the time after its last note.
    double melody(Instrument instrument, int bar, std::string_view line, float velocity, float tone,
                  int transpose = 0);
    // A single hit at time t.
    void hit(Instrument instrument, double t, float velocity, float tone = 0.5f, int pitch = 60);
    // Noise riser that fills count bars from bar and peaks at their end.
    void riser(int bar, int count, float velocity);
    // Snare roll over count beats from t, getting denser and louder.
    void snareRoll(double t, int beats, float fromVelocity, float toVelocity);

private:
    std::vector<double> barStarts_;
    std::vector<int> barBeats_;
    std::vector<Chord> chords_;
    std::vector<Note> notes_;
    Random humanise_;
};

// Writes the whole piece into score.
void composeTrack(Score& score);

}  // namespace music
