// ModelFramesTest.cpp: the intro and spin parts rendered headless and
// checked on a coarse grid: the intro shows the fifth picture, dimmed as
// its fade says, with the model's echo added over it; the spin part's trail
// starts from nothing and grows, and later frames show both the model's
// smooth surface and the trail around it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/ShowFrames.h"

namespace {

using frames::brightness;
using frames::Cells;
using frames::GRID;

// A JPEG through the show's reader, as cell means of the picture upright.
Cells jpegCells(const std::string& path)
{
    const frames::Picture picture = frames::readJpeg(path);
    EXPECT_FALSE(picture.empty()) << path;
    return frames::cellMeans(picture);
}

// Pearson correlation of the cells' brightness in two pictures.
double correlation(const Cells& a, const Cells& b)
{
    double meanA = 0.0, meanB = 0.0;
    for (int q = 0; q < GRID * GRID; ++q) {
        meanA += brightness(a[q]) / (GRID * GRID);
        meanB += brightness(b[q]) / (GRID * GRID);
    }
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (int q = 0; q < GRID * GRID; ++q) {
        const double da = brightness(a[q]) - meanA, db = brightness(b[q]) - meanB;
        ab += da * db;
        aa += da * da;
        bb += db * db;
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

struct ModelFrames : testing::Test {
    static inline std::filesystem::path out;

    static void SetUpTestSuite()
    {
        out = frames::showFrames({1800, 3600, 3700, 4000});
        ASSERT_FALSE(out.empty());
    }

    static std::vector<uint8_t> pixels(int number)
    {
        std::vector<uint8_t> rgb = frames::showFrame(out, number).rgb;
        if (rgb.empty()) rgb.assign(static_cast<size_t>(frames::WIDTH) * frames::HEIGHT * 3, 0);
        return rgb;
    }

    static Cells frame(int number) { return frames::cellMeans(frames::showFrame(out, number)); }

    // Pixels with any channel above `level`.
    static int litPixels(const std::vector<uint8_t>& rgb, int level)
    {
        int count = 0;
        for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
            count += rgb[i] > level || rgb[i + 1] > level || rgb[i + 2] > level;
        }
        return count;
    }
};

}  // namespace

TEST_F(ModelFrames, IntroAfterTheLastChangeShowsTheFifthPictureDimmedUnderTheEcho)
{
    // Frame 1800 is intro cycle 1401: 231 frames into the fade that began
    // at cycle 1170, rising again since 180: 1.1 - 1 / (2 * 51 / 40).
    const double dim = 1.1 - 1.0 / (2.0 * 51.0 / 40.0);
    const Cells shown = frame(1800);
    const Cells fifth = jpegCells("data/intro5.jpg");
    double excess = 0.0;
    for (int q = 0; q < GRID * GRID; ++q) {
        for (int c = 0; c < 3; ++c) {
            // The echo only adds light: no cell falls below the dimmed picture.
            EXPECT_GE(shown[q][c], fifth[q][c] * dim - 6.0) << "cell " << q << " channel " << c;
            excess += shown[q][c] - fifth[q][c] * dim;
        }
    }
    // And it does add: the model's echo over the picture.
    EXPECT_GT(excess / (GRID * GRID * 3), 5.0);
    // The picture's own pattern shows through: the frame follows the fifth
    // picture more closely than any other (a missing, turned or wrong
    // picture would not).
    const double own = correlation(shown, fifth);
    EXPECT_GT(own, 0.5);
    for (int other = 1; other <= 4; ++other) {
        EXPECT_GT(own, correlation(shown, jpegCells("data/intro" + std::to_string(other) + ".jpg"))) << other;
    }
}

TEST_F(ModelFrames, SpinTrailStartsFromNothingAndGrows)
{
    // In the part's first frame the feedback texture holds only this
    // frame's model: the corners are black. A hundred frames on, the trail
    // has spread over most of the picture.
    const Cells first = frame(3600);
    for (int q : {0, 7, 56, 63}) EXPECT_LT(brightness(first[q]), 3.0) << "cell " << q;
    const int before = litPixels(pixels(3600), 24);
    const int after = litPixels(pixels(3700), 24);
    EXPECT_GT(before, 20000);
    EXPECT_GT(after, 2 * before);
}

TEST_F(ModelFrames, SpinShowsTheSmoothModelAndItsTrail)
{
    const Cells shown = frame(4000);
    // The smooth surface fills the middle far brighter than lines alone.
    double middle = 0.0;
    for (int q : {27, 28, 35, 36}) middle += brightness(shown[q]) / 4.0;
    EXPECT_GT(middle, 100.0);
    // The trail's glow reaches the corners, which the model never covers.
    for (int q : {0, 7, 56, 63}) EXPECT_GT(brightness(shown[q]), 10.0) << "cell " << q;
}
