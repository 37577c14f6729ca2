// DrawMathTest.cpp: the GL-free arithmetic behind the draw modes and the
// echo: environment-map coordinates, the planar shadow, and the screen
// rectangles the echo layers are clipped to, which must never cut away a
// pixel that samples a lit texel.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "model/EchoRegion.h"
#include "model/ObjectProjections.h"

namespace {

void expectCoord(std::array<float, 3> normal, std::array<float, 3> view, float s, float t)
{
    float gotS = -1.0f, gotT = -1.0f;
    envMapCoord(normal.data(), view, gotS, gotT);
    EXPECT_FLOAT_EQ(gotS, s) << normal[0] << " " << normal[1] << " " << normal[2];
    EXPECT_FLOAT_EQ(gotT, t) << normal[0] << " " << normal[1] << " " << normal[2];
}

}  // namespace

TEST(EnvMap, NormalsAlongEachAxisIncludingTheZeroOverZeroCase)
{
    const std::array<float, 3> toward{0.0f, 0.0f, -1.0f};  // the show's view vector
    expectCoord({0, 0, -1}, toward, 0.5f, 0.5f);  // facing the viewer: cosine 1 in both planes
    expectCoord({0, 0, 1}, toward, 0.0f, 0.0f);   // facing away: negative cosines read as 0
    // Along x the yz plane has no extent (0/0): t reads 0; along y, s does.
    expectCoord({1, 0, 0}, toward, 0.0f, 0.0f);
    expectCoord({-1, 0, 0}, toward, 1.0f, 0.0f);
    expectCoord({0, 1, 0}, toward, 0.0f, 0.0f);
    expectCoord({0, -1, 0}, toward, 0.0f, 1.0f);
    // A slanted view separates the two halves of the texture.
    const std::array<float, 3> slanted{0.6f, 0.0f, -0.8f};
    expectCoord({1, 0, 0}, slanted, 0.3f, 0.0f);
    expectCoord({-1, 0, 0}, slanted, 1.0f, 0.0f);
}

TEST(Shadow, KnownPointProjectsAlongTheLightOntoTheFloor)
{
    const std::array<float, 3> light{1.0f, 2.0f, 4.0f};
    const float p[3] = {3.0f, 4.0f, 7.0f};
    const auto f = projectToFloor(p, light, -1.0f);  // d = (7 + 1) / 4 = 2
    EXPECT_FLOAT_EQ(f[0], 1.0f);
    EXPECT_FLOAT_EQ(f[1], 0.0f);
    EXPECT_FLOAT_EQ(f[2], -1.0f);
}

TEST(Shadow, CornerExactlyOnTheFloorCastsNoShadowUnlessAllFacesDo)
{
    const float above[3] = {0, 0, 0.5f}, on[3] = {1, 0, -1.05f}, high[3] = {0, 1, 2};
    EXPECT_TRUE(castsShadow(above, high, above, -1.05f, false));
    EXPECT_FALSE(castsShadow(above, on, high, -1.05f, false));
    EXPECT_TRUE(castsShadow(above, on, high, -1.05f, true));
}

TEST(Shadow, LightInTheFloorsPlaneCastsNone)
{
    EXPECT_FALSE(lightCastsShadows({5.0f, 5.0f, 0.0f}));
    EXPECT_TRUE(lightCastsShadows({0.0f, 0.0f, -0.001f}));
}

TEST(EchoRegion, PointsProjectToTheirTexelsAndPointsBehindTheEyeGiveNoBound)
{
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float points[6] = {0.0f, 0.0f, 0.0f, 0.5f, -0.5f, 0.0f};
    const TexelBox box = projectedTexels(points, 2, identity, identity, 512);
    ASSERT_TRUE(box.valid);
    EXPECT_FALSE(box.empty);
    // NDC 0 is texel 256 and 0.5 / -0.5 are 384 / 128, each widened by 2.
    EXPECT_EQ(box.x0, 254);
    EXPECT_EQ(box.x1, 386);
    EXPECT_EQ(box.y0, 126);
    EXPECT_EQ(box.y1, 258);

    // A perspective-like w = -z: a point at z = +1 lies behind the eye.
    const float perspective[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, -1, 0, 0, 0, 0};
    const float behind[3] = {0.0f, 0.0f, 1.0f};
    EXPECT_FALSE(projectedTexels(behind, 1, identity, perspective, 512).valid);
    // Outside the square: nothing of it is lit.
    const float far[3] = {5.0f, 5.0f, 0.0f};
    EXPECT_TRUE(projectedTexels(far, 1, identity, identity, 512).empty);
}

// Every pixel whose linear sample reads a texel of the box must lie in the
// layer's rectangle, for plain, mirrored (inset past 0.5) and repeated
// (inset past 1) layers, and for boxes at the texture's edges.
TEST(EchoRegion, LayerRectangleKeepsEveryPixelThatSamplesALitTexel)
{
    constexpr int SIZE = 512, W = 800, H = 600;
    const TexelBox boxes[] = {{true, false, 120, 130, 390, 400}, {true, false, 0, 0, 40, 511},
                              {true, false, 500, 3, 511, 9}};
    const float insets[] = {0.0f, 0.07f, 0.35f, 0.49f, 0.5f, 0.56f, 0.7f, 1.0f, 1.4f};
    // Whether a linear sample at coordinate u (0..1 per texture) reads a
    // texel in [lo, hi] along one axis, with the texture repeating.
    auto reads = [](double u, int lo, int hi) {
        const double p = u * SIZE - 0.5;
        const long base = static_cast<long>(std::floor(p));
        for (long texel : {base, base + 1}) {
            const long wrapped = ((texel % SIZE) + SIZE) % SIZE;
            if (wrapped >= lo && wrapped <= hi) return true;
        }
        return false;
    };
    for (const TexelBox& box : boxes) {
        for (const float inset : insets) {
            const PixelBox rect = layerPixels(box, SIZE, inset, W, H);
            const double s = inset, slope = 1.0 - 2.0 * s;
            int missed = 0;
            for (int y = 0; y < H; ++y) {
                const bool row = reads(s + (y + 0.5) / H * slope, box.y0, box.y1);
                if (!row) continue;
                for (int x = 0; x < W; ++x) {
                    if (!reads(s + (x + 0.5) / W * slope, box.x0, box.x1)) continue;
                    const bool inside =
                        x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
                    if (!inside) ++missed;
                }
            }
            EXPECT_EQ(missed, 0) << "inset " << inset << " box " << box.x0 << "," << box.y0;
        }
    }
    // And the rectangle is a real saving where the layer is hardly zoomed.
    const PixelBox plain = layerPixels(boxes[0], SIZE, 0.07f, W, H);
    EXPECT_LT(plain.width * plain.height, W * H * 3 / 4);
}
