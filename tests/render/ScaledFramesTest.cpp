// ScaledFramesTest.cpp: the show drawn at render scales 2 and 3, each frame
// averaged down to 800 x 600, against the same frame drawn at 800 x 600
// (the frames support/frames.txt marks scale2 and scale3). A size left in
// 800 x 600 pixels at a larger scale (a viewport, a copied square, a scissor
// box, a line width) moves or shrinks part of the picture; the worst 16 x 16
// block shows it even where the whole-frame mean hardly moves.
//
// The scaled show runs here from frame 0 (the show has memory) and steps,
// as --start does, every frame it does not compare: all its calls are made
// (so every part's state moves on, and any GL error shows) but no pixel is
// filled. The spin part is drawn from its start: its trail is made of its
// own earlier pictures. Drawing every frame instead took ten minutes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "common/Screen.h"
#include "common/ShowRandom.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"
#include "support/FrameDifference.h"

namespace {

// Bounds on a frame's difference in 8-bit levels, {mean, worst block}. A
// K-times finer picture puts edges up to half a pixel elsewhere and picks
// finer mipmap levels, which moves little. The intro's echo is the
// exception: its lines, drawn K pixels wide, cover a little more than K
// one-pixel lines do, and ten additive layers of them show it; the tunnels'
// fine stripes alias at 800 x 600 and average out at a larger scale. A
// misplaced or unscaled size moves whole regions by far more.
std::pair<double, double> boundsFor(int frame)
{
    if (frame == 800) return {8.0, 24.0};   // the intro's echo, unflashed
    if (frame == 4450) return {3.0, 32.0};  // the tunnels' stripes
    return {3.0, 20.0};
}

// Whether `frame` is drawn on the way to the frames compared: itself, or a
// frame of the spin part before a compared one.
bool drawn(int frame, const std::vector<int>& compared)
{
    const int spin = PART_START_FRAME[static_cast<int>(PartId::Spin)];
    const int tunnels = PART_START_FRAME[static_cast<int>(PartId::Tunnels)];
    for (const int c : compared) {
        if (c == frame || (spin <= frame && frame < c && c < tunnels)) return true;
    }
    return false;
}

// The show at `scale` up to the last of `numbers`: the pictures of those
// frames, averaged down to 800 x 600. Empty without a GL context.
std::map<int, frames::Picture> scaledShow(int scale, const std::vector<int>& numbers)
{
    std::map<int, frames::Picture> pictures;
    resetShowRandom();  // as a fresh program starts
    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless);
    Shell shell(headless, timeline, ShellSettings{.scale = scale});
    if (shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
        EXPECT_EQ(screenWidth(), PICTURE_WIDTH * scale);
        while (timeline.frame <= numbers.back()) {
            const int frame = timeline.frame;
            if (drawn(frame, numbers)) {
                timeline.renderFrame();
                if (std::find(numbers.begin(), numbers.end(), frame) != numbers.end()) {
                    const frames::Picture big{screenWidth(), screenHeight(), headless.readPicture()};
                    pictures[frame] = frames::boxFilter(big, 0, 0, big.width, big.height);
                }
                timeline.finishFrame();
            } else {
                timeline.stepFrame();
            }
            const GLenum error = glGetError();
            EXPECT_EQ(error, static_cast<GLenum>(GL_NO_ERROR)) << "frame " << frame << " at scale " << scale;
            if (error != GL_NO_ERROR) break;
        }
        shell.closeWindow();
    }
    platform::setCurrent(nullptr);
    return pictures;
}

class ScaledFrames : public testing::TestWithParam<int> {};

TEST_P(ScaledFrames, AveragedDownMatchTheUnscaledFrames)
{
    const int scale = GetParam();
    const std::vector<int>& numbers = scale == 2 ? frames::SCALE2_FRAMES : frames::SCALE3_FRAMES;
    ASSERT_FALSE(numbers.empty());
    const std::filesystem::path plain = frames::showFrames(numbers);
    ASSERT_FALSE(plain.empty());
    const std::map<int, frames::Picture> scaled = scaledShow(scale, numbers);
    if (scaled.empty()) GTEST_SKIP() << "no GL context available";
    for (const int frame : numbers) {
        const frames::Picture reference = frames::showFrame(plain, frame);
        ASSERT_FALSE(reference.empty()) << frame;
        ASSERT_EQ(scaled.count(frame), 1u) << frame;
        const frames::Difference d = frames::difference(scaled.at(frame), reference);
        const auto [mean, block] = boundsFor(frame);
        EXPECT_LT(d.mean, mean) << "scale " << scale << " " << frames::describe(frame, d);
        EXPECT_LT(d.worstBlock, block) << "scale " << scale << " " << frames::describe(frame, d);
        if (std::getenv("QUORL_SCALED_REPORT")) std::printf("scale %d %s\n", scale, frames::describe(frame, d).c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledFrames, testing::Values(2, 3));

}  // namespace
