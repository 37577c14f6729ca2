// EffectFramesTest.cpp: the wave, metaball and tunnels parts rendered
// headless, checked on coarse regions of their frames:
//  - the wave at its first step, against the picture as a flat sphere map
//    (per colour channel up to a scale, since the part draws with whatever
//    colour the intro left current);
//  - the metaballs: the chrome ball in the middle with its sky above its
//    floor, the orange corridor above and below, and the fogged, black far
//    end of the corridor beside the ball;
//  - the tunnels: the overlay's bright frame and captions where the picture
//    has them, over the two tubes, the outer orange and the inner blue.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "image/JPGImage.h"
#include "support/ShowFrames.h"

namespace {

using frames::GRID;
using frames::HEIGHT;
using frames::WIDTH;

using Colour = std::array<double, 3>;

// Mean colour of the box x0..x1-1, y0..y1-1 (y from the top).
Colour boxMean(const std::vector<uint8_t>& rgb, int x0, int y0, int x1, int y1)
{
    Colour sum{};
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            for (int c = 0; c < 3; ++c) sum[c] += rgb[(static_cast<size_t>(y) * WIDTH + x) * 3 + c];
        }
    }
    const double count = static_cast<double>(x1 - x0) * (y1 - y0);
    return {sum[0] / count, sum[1] / count, sum[2] / count};
}

using frames::brightness;

std::string show(const Colour& c)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%.0f, %.0f, %.0f)", c[0], c[1], c[2]);
    return text;
}

// A flat surface at z = -55 facing the eye, as the wave stands at its first
// step, seen through the scenes' projection (45 degrees, aspect 1), with the
// picture applied as a sphere map from its bottom-first rgb rows.
std::vector<uint8_t> flatSphereMap(const JPGImage& picture)
{
    std::vector<uint8_t> rgb(static_cast<size_t>(WIDTH) * HEIGHT * 3);
    const double slope = std::tan(22.5 * 3.14159265358979 / 180.0);
    for (int py = 0; py < HEIGHT; ++py) {
        for (int px = 0; px < WIDTH; ++px) {
            const double dx = ((px + 0.5) / (WIDTH / 2.0) - 1.0) * slope;
            const double dy = (1.0 - (py + 0.5) / (HEIGHT / 2.0)) * slope;
            const double length = std::sqrt(dx * dx + dy * dy + 1.0);
            // Reflection of the eye ray about the normal (0, 0, -1).
            const double rx = dx / length, ry = dy / length, rz = 1.0 / length;
            const double m = 2.0 * std::sqrt(rx * rx + ry * ry + (rz + 1.0) * (rz + 1.0));
            const double s = rx / m + 0.5, t = ry / m + 0.5;
            const int column = std::min(static_cast<int>(s * picture.width), static_cast<int>(picture.width) - 1);
            const int row = std::min(static_cast<int>(t * picture.height), static_cast<int>(picture.height) - 1);
            for (int c = 0; c < 3; ++c) {
                rgb[(static_cast<size_t>(py) * WIDTH + px) * 3 + c] =
                    picture.rgb[(static_cast<size_t>(row) * picture.width + column) * 3 + c];
            }
        }
    }
    return rgb;
}

struct EffectFrames : testing::Test {
    static inline std::filesystem::path out;

    static void SetUpTestSuite()
    {
        out = frames::showFrames({1950, 2810, 4450});
        ASSERT_FALSE(out.empty());
    }

    std::vector<uint8_t> frame(int number)
    {
        std::vector<uint8_t> rgb = frames::showFrame(out, number).rgb;
        EXPECT_FALSE(rgb.empty()) << "frame " << number;
        return rgb;
    }
};

}  // namespace

TEST_F(EffectFrames, WaveShowsItsPictureAsAFlatSphereMapAtTheFirstStep)
{
    const std::vector<uint8_t> shown = frame(1950);
    JPGImage picture;
    ASSERT_TRUE(picture.load("data/intro_wave.jpg"));
    ASSERT_FALSE(shown.empty());
    const std::vector<uint8_t> expected = flatSphereMap(picture);

    const frames::Cells shownCells = frames::cellMeans({WIDTH, HEIGHT, shown});
    const frames::Cells expectedCells = frames::cellMeans({WIDTH, HEIGHT, expected});
    for (int c = 0; c < 3; ++c) {
        // The colour the part draws with scales each channel alike.
        double cross = 0, square = 0;
        for (int q = 0; q < GRID * GRID; ++q) {
            cross += shownCells[q][c] * expectedCells[q][c];
            square += expectedCells[q][c] * expectedCells[q][c];
        }
        const double scale = cross / square;
        EXPECT_GT(scale, 0.3) << "channel " << c << " is (nearly) black";
        EXPECT_LT(scale, 1.1) << "channel " << c;
        for (int q = 0; q < GRID * GRID; ++q) {
            EXPECT_NEAR(shownCells[q][c], scale * expectedCells[q][c], 16.0) << "cell " << q << " channel " << c;
        }
    }
}

TEST_F(EffectFrames, MetaballsShineInTheMiddleOfTheFoggedCorridor)
{
    const std::vector<uint8_t> shown = frame(2810);
    ASSERT_FALSE(shown.empty());
    // The ball: sky above, a grey floor below; a ball mapped upside down
    // would have the floor on top.
    const Colour sky = boxMean(shown, 400, 60, 500, 110);
    const Colour floor = boxMean(shown, 380, 300, 480, 360);
    EXPECT_GT(sky[2], sky[0] + 40) << "sky " << show(sky);
    EXPECT_LT(std::fabs(floor[2] - floor[0]), 40) << "floor " << show(floor);
    // The corridor's picture, orange, above and below.
    for (const Colour& wall : {boxMean(shown, 0, 0, 800, 40), boxMean(shown, 0, 560, 800, 600)}) {
        EXPECT_GT(wall[0], wall[2] + 60) << "wall " << show(wall);
        EXPECT_GT(wall[0], 120) << "wall " << show(wall);
    }
    // The far end of the corridor, beside the ball, is lost in black fog.
    for (const Colour& far : {boxMean(shown, 20, 275, 180, 305), boxMean(shown, 700, 275, 790, 305)}) {
        EXPECT_LT(brightness(far), 30) << "far end " << show(far);
    }
}

TEST_F(EffectFrames, TunnelsShowBothTubesUnderTheOverlay)
{
    const std::vector<uint8_t> shown = frame(4450);
    JPGImage overlay;
    ASSERT_TRUE(overlay.load("data/tunnel-l.jpg"));
    ASSERT_FALSE(shown.empty());
    // The overlay is added over everything at 0.9: where its picture is
    // bright (frame lines, captions), the frame is at least as bright. The
    // picture's rows are bottom first; it is stretched over the screen.
    int brightPixels = 0, missing = 0;
    for (int py = 0; py < HEIGHT; py += 2) {
        for (int px = 0; px < WIDTH; px += 2) {
            const size_t row = overlay.height - 1 - static_cast<size_t>(py) * overlay.height / HEIGHT;
            const size_t column = static_cast<size_t>(px) * overlay.width / WIDTH;
            const uint8_t* source = &overlay.rgb[(row * overlay.width + column) * 3];
            if (source[0] + source[1] + source[2] < 3 * 200) continue;
            ++brightPixels;
            const uint8_t* pixel = &shown[(static_cast<size_t>(py) * WIDTH + px) * 3];
            if (pixel[0] + pixel[1] + pixel[2] < 3 * 170) ++missing;
        }
    }
    EXPECT_GT(brightPixels, 500) << "the overlay picture has no bright frame";
    EXPECT_LT(missing, brightPixels / 20) << "of " << brightPixels << " bright overlay pixels";
    // Inside the frame: the outer tube's orange and the inner tube's blue,
    // added together.
    const Colour middle = boxMean(shown, 250, 150, 550, 450);
    EXPECT_GT(middle[0], 120) << "middle " << show(middle);
    EXPECT_GT(middle[2], 90) << "middle " << show(middle);
}
