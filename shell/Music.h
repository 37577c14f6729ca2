// Music.h: starting the show's music track.
//
// The track "data/musik.mp3" plays once from the start, in the background,
// from the end of loading on. Nothing polls, stops or synchronises it
// afterwards; when no audio device or no file is there, the show runs silent.
// A show started at a later frame starts the track where that frame falls.
#pragma once

#include <cstdint>

namespace platform { class Platform; }

// Starts the track through the platform's player, positionMs into it.
// Loading again (a new window) leaves the one playing copy as it is.
void startMusic(platform::Platform& platform, uint32_t positionMs);
