// ShellGlTest.cpp: render helpers, flash and window re-creation with a real
// GL context from the headless backend.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"
#include "common/Screen.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

class NoShow : public Show {
public:
    void loadShow() override {}
    void drawFrame() override {}
};

struct ShellGl : testing::Test {
    platform::HeadlessPlatform headless;
    NoShow noShow;
    Shell shell{headless, noShow};

    void SetUp() override
    {
        platform::setCurrent(&headless);
        if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
            GTEST_SKIP() << "no GL context available";
        }
    }
    void TearDown() override
    {
        shell.closeWindow();
        platform::setCurrent(nullptr);
    }

    // RGB of the picture at (x, y), y counted from the top.
    std::array<int, 3> pixel(const std::vector<uint8_t>& rgb, int x, int y) const
    {
        const size_t at = (static_cast<size_t>(y) * PICTURE_WIDTH + x) * 3;
        return {rgb[at], rgb[at + 1], rgb[at + 2]};
    }
};

}  // namespace

TEST_F(ShellGl, LightZeroGetsThePreviousPositionWhileLightVectorTakesTheNew)
{
    RenderKit kit(headless);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    kit.setLightPosition(1, 2, 3);
    kit.setLightPosition(4, 5, 6);
    GLfloat position[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_FLOAT_EQ(position[0], 1.0f);
    EXPECT_FLOAT_EQ(position[1], 2.0f);
    EXPECT_FLOAT_EQ(position[2], 3.0f);
    EXPECT_FLOAT_EQ(position[3], 1.0f);
    EXPECT_EQ(lightVector, (std::array<float, 3>{4, 5, 6}));
}

TEST_F(ShellGl, PictureLandsUprightAndUnmirrored)
{
    // A 2 x 2 picture laid out as the picture readers hand it over: the
    // file's pixels (bottom row first) in reverse order.
    const std::array<uint8_t, 3> topLeft{255, 0, 0}, topRight{0, 255, 0}, bottomLeft{0, 0, 255},
        bottomRight{255, 255, 0};
    const std::array<std::array<uint8_t, 3>, 4> fileOrder{bottomLeft, bottomRight, topLeft, topRight};
    std::vector<uint8_t> rgba;
    for (int i = 3; i >= 0; --i) {
        rgba.insert(rgba.end(), fileOrder[i].begin(), fileOrder[i].end());
        rgba.push_back(255);
    }
    RenderKit kit(headless);
    kit.scenePerspective();
    glGenTextures(1, &kit.picture);
    glBindTexture(GL_TEXTURE_2D, kit.picture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glColor3f(1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    kit.drawPicture();
    const std::vector<uint8_t> rgb = headless.readPicture();
    EXPECT_EQ(pixel(rgb, 10, 10), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(pixel(rgb, 790, 10), (std::array<int, 3>{0, 255, 0}));
    EXPECT_EQ(pixel(rgb, 10, 590), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(pixel(rgb, 790, 590), (std::array<int, 3>{255, 255, 0}));
}

TEST_F(ShellGl, OverlaysLeaveCullingAsTheirCallersExpect)
{
    RenderKit kit(headless);
    glEnable(GL_CULL_FACE);
    kit.drawOverlay(0.5f, 0);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << "drawOverlay leaves culling off";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    kit.drawPicture();
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE)) << "drawPictureAt turns culling back on";
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1) << "matrix pushes and pops balance";
}

TEST_F(ShellGl, FrameRateTitleEveryTenthFrame)
{
    RenderKit kit(headless);
    headless.setTitle("Quorl-H");
    kit.showFrameRate(headless, 10);
    headless.advanceClock(200);
    kit.showFrameRate(headless, 15);
    EXPECT_NE(headless.lastTitle(), "Fps: 50.0");
    kit.showFrameRate(headless, 20);
    EXPECT_EQ(headless.lastTitle(), "Fps: 50.0");
}

TEST_F(ShellGl, FlashAddsHalfWhiteAtStepTenAndNothingAtStepFive)
{
    RenderKit kit(headless);
    DemoParts parts(kit);
    kit.scenePerspective();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    parts.drawFlash(5);
    EXPECT_EQ(pixel(headless.readPicture(), 400, 300), (std::array<int, 3>{0, 0, 0}));
    parts.drawFlash(10);
    const auto lit = pixel(headless.readPicture(), 400, 300);
    EXPECT_NEAR(lit[0], 128, 1);
    EXPECT_EQ(lit[0], lit[2]);
    EXPECT_EQ(parts.flashTexture, 0u);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST(ShellReload, FrameNumberSurvivesWindowRecreationWhileTheClockRestarts)
{
    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless);
    Shell shell(headless, timeline);
    if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
        GTEST_SKIP() << "no GL context available";
    }
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(shell.mainLoopPass());
    EXPECT_EQ(timeline.frame, 10);
    EXPECT_EQ(timeline.clock.lastTick, 10u);
    headless.advanceClock(5000);
    shell.keyDown[platform::vk::F1] = true;
    ASSERT_TRUE(shell.mainLoopPass());  // draws frame 10, then re-creates the window
    EXPECT_EQ(timeline.frame, 11);
    EXPECT_EQ(timeline.clock.startTick, headless.ticks());
    EXPECT_EQ(timeline.clock.lastTick, 0u);
    EXPECT_TRUE(shell.fullScreen) << "switched from windowed to full screen";
    ASSERT_TRUE(shell.mainLoopPass());
    EXPECT_EQ(timeline.frame, 12);
    shell.closeWindow();
    platform::setCurrent(nullptr);
}
