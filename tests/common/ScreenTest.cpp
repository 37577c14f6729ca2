// ScreenTest.cpp: choosing and refusing a render scale, without GL.
#include <gtest/gtest.h>

#include <string>

#include "common/Screen.h"

namespace {

// A driver with room for every scale: 16384-pixel buffers, wide lines.
constexpr GlLimits ROOMY{16384, 16384, 16384, 16384, 255.0f};

}  // namespace

TEST(RenderScale, EachGlLimitRefusesTheScalesItCannotDrawByName)
{
    EXPECT_EQ(renderScaleRefusal(4, ROOMY), "");
    struct Case {
        GlLimits limits;
        int largest;       // the largest scale still drawable
        const char* word;  // in the refusal of the next one up
    };
    const Case cases[] = {
        {{16384, 2400, 16384, 16384, 255.0f}, 3, "renderbuffers"},  // 3200 wide needs 3200
        {{16384, 16384, 2400, 16384, 255.0f}, 3, "viewport"},
        {{16384, 16384, 16384, 1800, 255.0f}, 3, "viewport"},      // 2400 high at scale 4
        {{1024, 16384, 16384, 16384, 255.0f}, 2, "textures"},      // the 512K feedback square
        {{16384, 16384, 16384, 16384, 1.0f}, 1, "lines"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(largestDrawableScale(4, c.limits), c.largest) << c.word;
        EXPECT_EQ(renderScaleRefusal(c.largest, c.limits), "") << c.word;
        EXPECT_NE(renderScaleRefusal(c.largest + 1, c.limits).find(c.word), std::string::npos) << c.word;
    }
}

TEST(RenderScale, AutoCoversTheShownAreaAndSoftwareRenderersAreKnown)
{
    // Letterboxed areas on common screens.
    EXPECT_EQ(scaleCovering(800, 600), 1);
    EXPECT_EQ(scaleCovering(1024, 768), 2);
    EXPECT_EQ(scaleCovering(1440, 1080), 2);
    EXPECT_EQ(scaleCovering(1600, 1200), 2);
    EXPECT_EQ(scaleCovering(2880, 2160), 4);
    EXPECT_EQ(scaleCovering(5760, 4320), 4);  // no larger scale: enlarged from 4
    EXPECT_EQ(scaleCovering(0, 0), 1);
    for (const char* renderer : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa X11 swrast",
                                 "ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero) (0x0000C0DE)), "
                                 "SwiftShader driver)"}) {
        EXPECT_TRUE(isSoftwareRenderer(renderer)) << renderer;
    }
    for (const char* renderer : {"AMD Radeon RX 6600 (radeonsi, navi23)", "Mesa Intel(R) UHD Graphics 620", ""}) {
        EXPECT_FALSE(isSoftwareRenderer(renderer)) << renderer;
        EXPECT_FALSE(flushesRaceWithTheRasterizer(renderer)) << renderer;
    }
    // Only llvmpipe's threads race, also behind a browser's ANGLE.
    EXPECT_TRUE(flushesRaceWithTheRasterizer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(flushesRaceWithTheRasterizer("ANGLE (Mesa, llvmpipe (LLVM 15.0.6, 256 bits), OpenGL 4.5)"));
    EXPECT_FALSE(flushesRaceWithTheRasterizer("SwiftShader driver"));
}
