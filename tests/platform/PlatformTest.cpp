// PlatformTest.cpp: the SDL backend's pieces: where the picture lands in a
// window of any shape (and, with a GL context, that the bars around it are
// black), and the key codes the shell reads.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <array>

#include "platform/headless/HeadlessPlatform.h"
#include "platform/sdl/GlSurface.h"
#include "platform/sdl/SdlPlatform.h"

using platform::letterbox;
using platform::Letterbox;

namespace {

bool same(const Letterbox& a, const Letterbox& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

}  // namespace

TEST(Letterbox, KeepsFourByThreeInWideTallAndHiDpiDrawables)
{
    EXPECT_TRUE(same(letterbox(800, 600, 800, 600), {0, 0, 800, 600}));
    EXPECT_TRUE(same(letterbox(800, 600, 1920, 1080), {240, 0, 1440, 1080})) << "bars left and right";
    EXPECT_TRUE(same(letterbox(800, 600, 800, 1000), {0, 200, 800, 600})) << "bars top and bottom";
    EXPECT_TRUE(same(letterbox(800, 600, 3840, 2160), {480, 0, 2880, 2160})) << "HiDPI drawable";
    EXPECT_TRUE(same(letterbox(800, 600, 1600, 1200), {0, 0, 1600, 1200}));
}

// A green picture presented into a red window's drawable of another shape,
// wider (only the width differs) and taller: the bars come out black.
TEST(Letterbox, PresentBlackensTheBarsOfWideAndTallDrawables)
{
    platform::HeadlessPlatform headless;
    if (!headless.initialiseVideo() || headless.createWindow("Quorl-H", 800, 600, 16, false) != platform::WindowResult::Ok ||
        headless.createContext() != platform::ContextResult::Ok) {
        GTEST_SKIP() << "no GL context available";
    }
    const auto rgbAt = [](int x, int y) {
        std::array<uint8_t, 4> rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return std::array<int, 3>{rgba[0], rgba[1], rgba[2]};
    };
    // The drawable, and a pixel of a bar in it from the bottom left.
    for (const auto [width, height, barX, barY] : {std::array{160, 60, 20, 30}, std::array{80, 160, 40, 20}}) {
        platform::GlSurface surface;
        ASSERT_TRUE(surface.create(40, 30));
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        surface.present(width, height);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        EXPECT_EQ(rgbAt(barX, barY), (std::array<int, 3>{0, 0, 0})) << width << " x " << height;
        EXPECT_EQ(rgbAt(width / 2, height / 2), (std::array<int, 3>{0, 255, 0})) << width << " x " << height;
        surface.destroy();
    }
    headless.releaseContext();
    headless.destroyWindow();
    headless.shutdownVideo();
}

TEST(Letterbox, DegenerateDrawableGivesNothingInsteadOfDividingByZero)
{
    EXPECT_TRUE(same(letterbox(800, 600, 0, 0), {0, 0, 0, 0}));
    EXPECT_TRUE(same(letterbox(800, 600, 640, 0), {0, 0, 0, 0}));
    EXPECT_TRUE(same(letterbox(800, 600, 1, 1), {0, 0, 1, 0}));
}

TEST(VirtualKeys, ShowKeysMapToTheirCodes)
{
    EXPECT_EQ(platform::virtualKeyOf(SDLK_ESCAPE), 27);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_SPACE), 32);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_q), 81);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_F1), 112);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_F12), 123);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_a), 65);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_9), 57);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_KP_0), 96);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_KP_9), 105);
    EXPECT_EQ(platform::virtualKeyOf(SDLK_LEFT), 37);
}

TEST(VirtualKeys, UnknownKeysGiveNoCode)
{
    EXPECT_EQ(platform::virtualKeyOf(SDLK_APPLICATION), 0);
    EXPECT_EQ(platform::virtualKeyOf(0x40000FFF), 0);
}

TEST(VideoDriver, DriversThatShowNothingAreRefusedUnlessAskedForByName)
{
    using platform::unaskedInvisibleDriver;
    EXPECT_TRUE(unaskedInvisibleDriver("offscreen", nullptr)) << "SDL's quiet fallback without a display";
    EXPECT_TRUE(unaskedInvisibleDriver("dummy", nullptr));
    EXPECT_TRUE(unaskedInvisibleDriver("offscreen", ""));
    EXPECT_TRUE(unaskedInvisibleDriver("offscreen", "x11"));
    EXPECT_TRUE(unaskedInvisibleDriver("offscreen", "offscreenx")) << "a name must match whole";
    EXPECT_TRUE(unaskedInvisibleDriver("dummy", "x11,offscreen"));
    EXPECT_FALSE(unaskedInvisibleDriver("offscreen", "offscreen"));
    EXPECT_FALSE(unaskedInvisibleDriver("offscreen", "OffScreen")) << "SDL reads the name in any case";
    EXPECT_FALSE(unaskedInvisibleDriver("dummy", "x11,dummy"));
    EXPECT_FALSE(unaskedInvisibleDriver("x11", nullptr));
    EXPECT_FALSE(unaskedInvisibleDriver("wayland", "offscreen"));
    EXPECT_FALSE(unaskedInvisibleDriver("kmsdrm", nullptr));
}
