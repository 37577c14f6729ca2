// PlatformTest.cpp: the SDL backend's pure pieces: where the picture lands
// in a window of any shape, and the key codes the shell reads.
#include <gtest/gtest.h>

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
