// StartFrameTest.cpp: a show started at a later frame steps the frames
// before it without drawing them, keeping its keys alive meanwhile, and
// presents as its first picture the renderer's frame; it hands the music
// player the matching position in the track once it is there. Runs alone in
// its program: the show's random generator is program-wide.
#include <gtest/gtest.h>
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/Screen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"
#include "support/ShowFrames.h"

namespace fs = std::filesystem;

namespace {

// The spin part: its feedback blur copies from a picture the stepped frames
// never filled, the one way a quick start could show differently.
constexpr int START = 3600;
constexpr int LOOKED_AT = START + 100;
// Measured: no cell differs at either frame (0.00 levels). The bound is that
// with half a level of margin, so a start that shows anything of its own (a
// faint trail covers a cell by a level or more) fails.
constexpr double CELL_BOUND = 0.5;

}  // namespace

TEST(StartFrame, StepsTheFramesBeforeTheStartAndPresentsTheRenderersPicture)
{
    const fs::path rendered = frames::showFrames({START, LOOKED_AT});
    ASSERT_FALSE(rendered.empty());

    // The program's own wiring of --start, on the headless backend.
    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless, START);
    Shell shell(headless, timeline);
    if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
        GTEST_SKIP() << "no GL context available";
    }
    EXPECT_EQ(timeline.frame, 0) << "loading leaves the stepping to the main loop";
    EXPECT_EQ(headless.musicStarts(), 0) << "the music waits for the start frame";
    for (int pass = 0; pass < 10 && timeline.frame <= START; ++pass) ASSERT_TRUE(shell.mainLoopPass());
    EXPECT_EQ(timeline.frame, START + 1);
    EXPECT_EQ(headless.musicStarts(), 1) << "the music starts once, after stepping";
    EXPECT_EQ(headless.lastMusicPosition(), 72000u) << "frame 3600 at 20 ms a frame";
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST)) << "stepping must hand on the scissor switch as it found it";

    const auto compare = [&](int number) {
        frames::Picture shown{PICTURE_WIDTH, PICTURE_HEIGHT, headless.readPicture()};
        const frames::Cells a = frames::cellMeans(shown);
        const frames::Cells b = frames::cellMeans(frames::showFrame(rendered, number));
        double worst = 0.0;
        for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, frames::cellDistance(a[i], b[i]));
        std::printf("frame %d: largest cell difference from the renderer %.2f\n", number, worst);
        EXPECT_LE(worst, CELL_BOUND) << "frame " << number;
    };
    compare(START);
    while (timeline.frame <= LOOKED_AT) ASSERT_TRUE(shell.mainLoopPass());
    compare(LOOKED_AT);
    shell.closeWindow();
    platform::setCurrent(nullptr);
}
