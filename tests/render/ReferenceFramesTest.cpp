// ReferenceFramesTest.cpp: the parts that draw pictures, rendered headless and
// compared with their source pictures: the logo at frame 0 upright, dimmed
// by the fade at frame 399, the flash at frame 1200, the end picture at 7250.
// Compares the mean colour of each cell of an 8 x 8 grid over the frame with
// the same cell of the picture, which catches a picture turned, mirrored,
// missing or faded wrongly, while leaving room for filtering and stretching.
#include <gtest/gtest.h>

#include <string>

#include "support/ShowFrames.h"

namespace {

using frames::Cells;
using frames::GRID;

struct ReferenceFrames : testing::Test {
    static inline std::filesystem::path out;

    static void SetUpTestSuite()
    {
        out = frames::showFrames({0, 399, 1200, 7250});
        ASSERT_FALSE(out.empty());
    }

    Cells frame(int number) { return frames::cellMeans(frames::showFrame(out, number)); }

    Cells picture(const std::string& path)
    {
        const frames::Picture source = frames::readBmp(path);
        EXPECT_FALSE(source.empty()) << path;
        return frames::cellMeans(source);
    }

    void expectScaled(const Cells& shown, const Cells& source, double scale, const char* what)
    {
        for (int q = 0; q < GRID * GRID; ++q) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(shown[q][c], source[q][c] * scale, 4.0) << what << " cell " << q << " channel " << c;
            }
        }
    }
};

}  // namespace

TEST_F(ReferenceFrames, LogoIsUprightAtFullBrightnessAndFadedAtFrame399)
{
    const Cells logo = picture("data/logga.bmp");
    expectScaled(frame(0), logo, 1.0, "frame 0");
    expectScaled(frame(399), logo, 70.0 / 399.0, "frame 399");
}

TEST_F(ReferenceFrames, FlashAddsWhiteAtItsPeak)
{
    // Half white at step 10, added over the intro's picture and echo, which
    // add light of their own: no cell can be darker than half white, though
    // the third intro picture alone has cells far darker than that.
    const Cells flash = frame(1200);
    for (int q = 0; q < GRID * GRID; ++q) {
        for (int c = 0; c < 3; ++c) EXPECT_GE(flash[q][c], 125.0) << "cell " << q;
    }
}

TEST_F(ReferenceFrames, EndPictureIsUpright)
{
    expectScaled(frame(7250), picture("data/theend.bmp"), 1.0, "frame 7250");
}
