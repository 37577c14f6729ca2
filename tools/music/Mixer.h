// Mixer.h: turns the score's notes into the finished stereo master.
//
// Notes are rendered bus by bus (kick, drums, bass, pad, arpeggio, lead,
// bells, effects); each bus is ducked by the kick where it should pump, then
// added to the master and to the delay and reverb sends. The master is then
// evened out section by section and brought under a fixed peak ceiling.
// Needs: Dsp.h, Score.h.
#pragma once

#include "Dsp.h"
#include "Score.h"

namespace music {

// Highest sample value the master may reach before encoding (-3 dBFS): the
// MP3 encoder adds up to about 1.2 dB of overshoot, and the decoded track has
// to stay at or below -1 dBFS.
constexpr float MASTER_CEILING = 0.708f;

// Span of the track whose loudness the master evens out: from the first
// beat of the drums to the end flash. Intro and ending keep their own level.
constexpr double LEVEL_FROM_SECONDS = 8.0;
constexpr double LEVEL_TO_SECONDS = 144.0;

// Renders every note of score into a master of the given length in seconds.
StereoBuffer mixTrack(const Score& score, double seconds);

}  // namespace music
