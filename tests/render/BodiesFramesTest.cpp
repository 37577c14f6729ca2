// BodiesFramesTest.cpp: the bodies part rendered headless. In its frames the
// floor fills the lower part of the picture, the bodies and their dark
// shadows lie on it, and the space picture fills what is left, upright and
// unchanged; the flash of the part's last frames is added over all of it.
// Checks coarse regions (cells of an 8 x 8 grid, bands of pixel rows) with
// tolerances, so small changes of the simulation do not matter while a
// missing floor, shadows, bodies or background, or a buffer that was not
// cleared, do.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "support/ShowFrames.h"

namespace {

using frames::Cell;
using frames::cellDistance;
using frames::cellMeans;
using frames::Cells;
using frames::GRID;
using frames::HEIGHT;
using frames::Picture;
using frames::readBmp;
using frames::WIDTH;

// Left end of the floor's far edge and where its left side leaves the
// picture, from the scene's camera: the floor's corners (-2, 4, -1.1) and
// (-2, -4, -1.1) seen from 6.2 away under the 45-degree projection.
constexpr int FLOOR_TOP = 378;
constexpr double FLOOR_TOP_LEFT = 211.0;
constexpr double FLOOR_SLOPE = 538.0 / 222.0;  // pixels left per row down

// Pixels inside the floor's outline (with an inset of a few pixels), from
// the far edge down to row `y1`, whose every channel is below `level`.
int darkFloorPixels(const Picture& picture, int y1, int level)
{
    int dark = 0;
    for (int y = FLOOR_TOP + 6; y < y1; ++y) {
        const int left = std::max(0, static_cast<int>(FLOOR_TOP_LEFT - (y - FLOOR_TOP) * FLOOR_SLOPE) + 6);
        const int right = std::min(picture.width, WIDTH - left);
        for (int x = left; x < right; ++x) {
            const uint8_t* p = picture.at(x, y);
            if (p[0] < level && p[1] < level && p[2] < level) ++dark;
        }
    }
    return dark;
}

// The largest channel of the darkest pixel of a picture.
int darkestLevel(const Picture& picture)
{
    int darkest = 255;
    for (size_t at = 0; at + 2 < picture.rgb.size(); at += 3) {
        darkest = std::min<int>(darkest, std::max({picture.rgb[at], picture.rgb[at + 1], picture.rgb[at + 2]}));
    }
    return darkest;
}

class BodiesFrames : public testing::Test {
protected:
    static inline std::filesystem::path out;
    static inline Cells space{};
    static inline int floorDarkest = 0;  // largest channel of the floor picture's darkest pixel

    static void SetUpTestSuite()
    {
        out = frames::showFrames({5300, 6000, 7000, 7195, 7199});
        ASSERT_FALSE(out.empty());
        const Picture picture = readBmp("data/space.bmp");
        ASSERT_FALSE(picture.rgb.empty());
        space = cellMeans(picture);
        floorDarkest = darkestLevel(readBmp("data/floor2.bmp"));
        ASSERT_GT(floorDarkest, 20);
    }

    static Picture frame(int number) { return frames::showFrame(out, number); }

    // How many cells of the top three rows (above the floor's far edge)
    // show the space picture with `added` white on top, within a tolerance.
    static int skyCellsShowingSpace(const Cells& shown, double added)
    {
        int matching = 0;
        for (int q = 0; q < 3 * GRID; ++q) {
            Cell expected = space[q];
            for (double& channel : expected) channel = std::min(255.0, channel + added);
            if (cellDistance(shown[q], expected) < 8.0) ++matching;
        }
        return matching;
    }
};

}  // namespace

TEST_F(BodiesFrames, FloorBodiesAndShadowsInFrontOfTheSpacePicture)
{
    for (const int number : {5300, 6000, 7000}) {
        SCOPED_TRACE("frame " + std::to_string(number));
        const Picture shown = frame(number);
        if (shown.rgb.empty()) continue;
        const Cells cells = cellMeans(shown);

        // Above the floor, the space picture as it is; a body may hide a few cells.
        EXPECT_GE(skyCellsShowingSpace(cells, 0.0), 3 * GRID - 5);

        // The two bottom rows are floor: nothing of the space picture shows
        // through, and all but the few cells a shadow or body may darken are
        // brighter than the picture there.
        int brightFloorCells = 0;
        for (int q = 6 * GRID; q < GRID * GRID; ++q) {
            EXPECT_GT(cellDistance(cells[q], space[q]), 40.0) << "cell " << q;
            if (cells[q][0] + cells[q][1] + cells[q][2] > 3 * 110.0) ++brightFloorCells;
        }
        EXPECT_GE(brightFloorCells, 2 * GRID - 3);

        // The translucent black of the shadows makes floor pixels darker
        // than any pixel of the floor's picture (without the shadows these
        // frames have at most about a hundred such pixels, from the bodies).
        EXPECT_GT(darkFloorPixels(shown, 600, floorDarkest), 300);
    }
}

TEST_F(BodiesFrames, FlashLightsUpTheBodiesInTheLastFrames)
{
    const Picture before = frame(7195);
    const Picture peak = frame(7199);
    if (before.rgb.empty() || peak.rgb.empty()) return;
    // Step 5 of the flash window is still invisible; step 9 adds white at
    // alpha 1.5 - 10 / 9 over everything the bodies part drew.
    const double added = (1.5 - 10.0 / 9.0) * 255.0;
    EXPECT_GE(skyCellsShowingSpace(cellMeans(before), 0.0), 3 * GRID - 5);
    EXPECT_GE(skyCellsShowingSpace(cellMeans(peak), added), 3 * GRID - 5);
    // The floor and its shadows are lit up too.
    EXPECT_LT(darkFloorPixels(peak, 600, floorDarkest), darkFloorPixels(before, 600, floorDarkest) / 10 + 1);
}
