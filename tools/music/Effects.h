// Effects.h: whole-track effects of the generator's mix: echo, reverb, the
// section leveller, the peak limiter and the fades at the edges.
//
// Each works in place on (or adds into) a full-length buffer; the track is
// short enough to hold in memory and whole-track passes keep them simple.
// Needs: Dsp.h.
#pragma once

#include <vector>

#include "Dsp.h"

namespace music {

// Echo that bounces between left and right: the mono send enters the left
// line, each repeat crosses over, dulled and scaled by feedback. Adds the
// echoes (not the dry send) into out, times wet.
void addPingPongDelay(const std::vector<float>& send, double delaySeconds, float feedback, float wet,
                      StereoBuffer& out);

// Room reverb from the mono send: eight damped feedback combs per side with
// slightly different lengths for width, then four all-passes to diffuse.
// Adds the reverb into out, times wet.
void addReverb(const std::vector<float>& send, float wet, StereoBuffer& out);

// Evens out the loudness between from and to seconds: measures the level in
// two-second windows and moves each part of the way towards the average,
// by at most maxDb; before from and after to the gain of the edge holds.
void levelSections(StereoBuffer& master, double from, double to, double maxDb);

// Brings every sample to at most ceiling with a gain that looks ahead 2 ms,
// so it is already down when a peak arrives, and recovers over ~80 ms.
void limitPeaks(StereoBuffer& master, float ceiling);

// Short fade-in at the start; fade-out from fadeOutFrom seconds to the end.
void fadeEdges(StereoBuffer& master, double fadeOutFrom);

// Largest absolute sample of both channels.
float peakOf(const StereoBuffer& buffer);

}  // namespace music
