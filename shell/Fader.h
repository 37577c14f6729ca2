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
