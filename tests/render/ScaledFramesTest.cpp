// ScaledFramesTest.cpp: the show drawn at render scales 2 and 3, each frame
// averaged down to 800 x 600, against the same frame drawn at 800 x 600.
// A size left in 800 x 600 pixels at a larger scale (a viewport, a copied
// square, a scissor box, a line width) moves or shrinks part of the
// picture; the worst 16 x 16 block shows it even where the whole-frame
// mean hardly moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "support/ShowFrames.h"

namespace {

constexpr int BLOCK = 16;

struct Difference {
    double mean = 0.0;   // mean absolute difference over every channel
    double worst = 0.0;  // the largest such mean over a BLOCK x BLOCK block
    int worstX = 0, worstY = 0;
};

Difference compare(const frames::Picture& a, const frames::Picture& b)
{
    Difference d;
    double total = 0.0;
    for (int by = 0; by < frames::HEIGHT / BLOCK; ++by) {
        for (int bx = 0; bx < frames::WIDTH / BLOCK; ++bx) {
            double block = 0.0;
            for (int y = by * BLOCK; y < (by + 1) * BLOCK; ++y) {
                for (int x = bx * BLOCK; x < (bx + 1) * BLOCK; ++x) {
                    for (int c = 0; c < 3; ++c) block += std::abs(a.at(x, y)[c] - b.at(x, y)[c]);
                }
            }
            total += block;
            block /= BLOCK * BLOCK * 3;
            if (block > d.worst) d = {0.0, block, bx * BLOCK, by * BLOCK};
        }
    }
    d.mean = total / (static_cast<double>(frames::WIDTH) * frames::HEIGHT * 3);
    return d;
}

// A frame of each part, at a moment where its pixel sizes show, and the
// bounds on its difference in 8-bit levels: the mean over the frame and
// the worst 16 x 16 block. A K-times finer picture puts edges up to half a
// pixel elsewhere and picks finer mipmap levels, which moves little. The
// intro's echo is the exception: its lines, drawn K pixels wide, cover a
// little more than K one-pixel lines do, and ten additive layers of them
// make the difference show; the tunnels' fine stripes alias at 800 x 600
// and average out at a larger scale. A misplaced or unscaled size moves
// whole regions by far more.
struct Case {
    int frame;
    const char* what;
    double meanLimit;
    double blockLimit;
};
constexpr Case CASES[] = {
    {800, "intro echo", 8.0, 24.0},
    {1200, "intro echo under the flash", 3.0, 20.0},
    {2400, "wave", 3.0, 20.0},
    {2810, "metaballs in the corridor, flash", 3.0, 20.0},
    {4000, "spin trail grown for 400 frames", 3.0, 20.0},
    {4450, "tunnels", 3.0, 32.0},
    {5300, "bodies with shadows", 3.0, 20.0},
};

class ScaledFrames : public testing::TestWithParam<int> {};

TEST_P(ScaledFrames, AveragedDownMatchTheUnscaledFrames)
{
    const int scale = GetParam();
    std::vector<int> numbers;
    for (const Case& c : CASES) numbers.push_back(c.frame);
    const std::filesystem::path plain = frames::showFrames(numbers);
    const std::filesystem::path scaled = frames::showFrames(numbers, scale);
    ASSERT_FALSE(plain.empty());
    ASSERT_FALSE(scaled.empty());
    for (const Case& c : CASES) {
        const frames::Picture reference = frames::showFrame(plain, c.frame);
        const frames::Picture big = frames::showFrame(scaled, c.frame, scale);
        ASSERT_FALSE(reference.empty() || big.empty()) << c.what;
        const Difference d = compare(frames::boxFilter(big, scale), reference);
        EXPECT_LT(d.mean, c.meanLimit) << c.what << " (frame " << c.frame << ") at scale " << scale;
        EXPECT_LT(d.worst, c.blockLimit) << c.what << " (frame " << c.frame << ") at scale " << scale
                                        << ", block at " << d.worstX << "," << d.worstY;
        if (std::getenv("QUORL_SCALED_REPORT")) {
            std::printf("scale %d frame %d mean %.2f worst %.2f at %d,%d (%s)\n", scale, c.frame, d.mean, d.worst,
                        d.worstX, d.worstY, c.what);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledFrames, testing::Values(2, 3));

}  // namespace
