// Fader.h: turns a frame number into a brightness for the next picture.
//
// A decay phase holds full brightness for `rate` frames and then falls as
// rate / elapsed; at elapsed == duration it switches to a rise from black
// towards 1.1, and at 3 x duration it goes idle at full white. The phase
// changes are exact equality tests on the elapsed frame count.
#pragma once

constexpr int FADE_IDLE = 0;
constexpr int FADE_RISE = 1;
constexpr int FADE_DECAY = 2;

class Fader {
public:
    int mode = FADE_DECAY;  // current phase
    int start = 0;          // frame at which the current fade began
    float rate = 20.0f;     // time scale of the curves, in frames
    float duration = 300.0f;  // length of the decay phase, in frames

    // Brightness for the frame (advancing the phase as a side effect), or a
    // negative value when the current colour is left alone (idle).
    float brightness(int frame);
    // Sets the current GL colour for the frame.
    void draw(int frame);
};

// The fades the running order gives its parts. Each sets the fader as the
// part does on every frame (or, for the intro, at each picture's turn), so
// their timings can be checked over a part's whole length without GL.

// The logo: full white for 70 frames, then down as 70 / frame, reaching
// black only at frame 400, where the intro has taken over.
void setLogoFade(Fader& fader);
// The spin part: restarted at the frame itself, so always full white.
void setSpinFade(Fader& fader, int frame);
// One intro picture from cycle on: full for 40 cycles, black at 180 cycles
// (where the next picture comes), then back up.
void setIntroPictureFade(Fader& fader, int cycle);
// True at the intro cycles where a picture's fade starts.
bool introPictureFadeStarts(int cycle);
