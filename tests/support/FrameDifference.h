// FrameDifference.h: how far a frame drawn another way lies from the
// fixed-function one, and the bounds both other ways (the GL 1.x layer on
// ES 3 natively, and the page in a browser) are held to.
//
// Two figures per frame, in 8-bit levels: the mean absolute difference over
// every channel of every pixel, and the worst 16 x 16 block's mean absolute
// difference. The mean catches a wrong look overall (a lost light, fog or
// texture); the block catches a local fault that the mean would dilute (a
// missing model, a misplaced overlay), while forgiving the single-pixel
// edge and rounding differences of two rasterisers.
#pragma once

#include <string>
#include <vector>

#include "support/ShowFrames.h"

namespace frames {

struct Difference {
    double mean = 0.0;
    double worstBlock = 0.0;
    int blockX = 0;  // top-left pixel of the worst block
    int blockY = 0;
};

constexpr int BLOCK = 16;
// Bounds (levels of 255): twice the largest seen, the page in a software
// WebGL (mean 1.9 in the spin part's feedback trail, a block of 24 in the
// intro's echo); the layer on Mesa stays under 0.7 and 6. A lost light,
// texture or fog moves the mean by tens of levels, a missing model or
// overlay one block by far more than 48.
constexpr double MEAN_BOUND = 4.0;
constexpr double BLOCK_BOUND = 48.0;

Difference difference(const Picture& a, const Picture& b);
// Checks frame `number` of `folder` against the same frame of `reference`
// (a failed gtest expectation beyond a bound) and prints its figures as
// "LABEL frame N ...".
void expectWithinBounds(const char* label, const std::filesystem::path& reference,
                        const std::filesystem::path& folder, int number);
// One line for the test's output: "frame N mean X worst-block Y at (x, y)".
std::string describe(int frame, const Difference& d);

}  // namespace frames
