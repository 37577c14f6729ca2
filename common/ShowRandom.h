// ShowRandom.h: the show's one pseudo-random generator.
//
// A linear congruential generator, never seeded by the show: state =
// state * 214013 + 2531011 (mod 2^32), starting from 1, each draw returning
// bits 16..30 of the new state (0..32767). The wave's stones and the bodies'
// kicks draw from this one sequence in the running order, so every run
// (and every platform) sees the same numbers; the C library's rand() is not
// used because its sequence differs between systems.
#pragma once

#include <cstdint>

constexpr int SHOW_RANDOM_MAX = 32767;

// The next number of the program-wide sequence, 0..SHOW_RANDOM_MAX.
int showRandom();

// Puts the program-wide sequence back to its start. The show never calls
// it; tests and tools that replay the show from frame 0 in one process do.
void resetShowRandom();

// The generator itself, for code that wants a private sequence.
class ShowRandom {
public:
    uint32_t state = 1;

    int next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7fffu);
    }
};
