// MetaballsTest.cpp: ball paths, field, normals and marching cubes, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "common/ShowGlobals.h"
#include "effects/Metaballs.h"

namespace {

struct MetaballsFixture : testing::Test {
    std::unique_ptr<Metaballs> balls;

    void SetUp() override
    {
        fillTrigTables();
        balls = std::make_unique<Metaballs>();
    }

    // The computation of one draw, without GL.
    int step(int frame)
    {
        balls->moveBalls(frame);
        balls->updateField();
        balls->updateNormals();
        return balls->polygonise();
    }

    // Vertex n of the last surface: nx, ny, nz, x, y, z.
    const float* vertex(int n) const { return balls->surface.get() + n * Metaballs::SURFACE_STRIDE; }

    // Sets every grid value.
    void fillValues(float value)
    {
        for (int n = 0; n < Metaballs::POINT_COUNT; ++n) balls->gridPoints[n].value = value;
    }
};

using MetaballsTest = MetaballsFixture;

}  // namespace

TEST_F(MetaballsTest, CentresAtFrameZeroFollowTheTables)
{
    balls->moveBalls(0);
    const Metaball* b = balls->balls.get();
    EXPECT_FLOAT_EQ(b[0].weight, 0.25f);
    EXPECT_NEAR(b[0].x, 0.0f, 1e-6);
    EXPECT_NEAR(b[0].y, 0.5f, 1e-6);
    EXPECT_NEAR(b[0].z, 0.5f, 1e-6);
    EXPECT_NEAR(b[1].x, 0.18182f, 1e-5);
    EXPECT_NEAR(b[1].y, 0.0f, 1e-6);
    EXPECT_NEAR(b[1].z, 0.0f, 1e-6);
    EXPECT_NEAR(b[2].x, 0.25f, 1e-6);
    EXPECT_NEAR(b[2].y, 0.19997f, 1e-5);
    EXPECT_NEAR(b[2].z, 0.33328f, 1e-5);
}

TEST_F(MetaballsTest, MotionRepeatsAfter2160FramesAndNotBefore)
{
    std::vector<float> first;
    for (int frame : {137, 137 + 2160, 137 + 1080}) {
        balls->moveBalls(frame);
        std::vector<float> centres;
        for (int b = 0; b < 3; ++b) {
            centres.insert(centres.end(), {balls->balls[b].x, balls->balls[b].y, balls->balls[b].z});
        }
        for (float c : centres) EXPECT_LE(std::fabs(c), 0.5f);
        if (first.empty()) {
            first = centres;
        } else if (frame == 137 + 2160) {
            EXPECT_EQ(centres, first);
        } else {
            EXPECT_NE(centres, first);
        }
    }
}

TEST_F(MetaballsTest, CubeIndexOneGivesOneTriangleThroughEdges0_8_3)
{
    // Everything inside the surface: no triangle at all.
    fillValues(2.0f);
    EXPECT_EQ(balls->polygonise(), 0);
    // Everything outside: none either.
    fillValues(0.5f);
    EXPECT_EQ(balls->polygonise(), 0);

    // Only corner 0 of the first cube outside, at half the level: each of
    // its three edges is crossed a third of the way from corner 0.
    fillValues(2.0f);
    balls->point(0, 0, 0).value = 0.5f;
    ASSERT_EQ(balls->polygonise(), 3);
    const float third = 0.08f / 3.0f;
    // Edge 0 runs along x, edge 8 along y, edge 3 from corner 3 back to
    // corner 0, along z (z falls with k).
    const float expected[3][3] = {{-1.0f + third, -1.0f, 1.0f}, {-1.0f, -1.0f + third, 1.0f}, {-1.0f, -1.0f, 1.0f - third}};
    for (int n = 0; n < 3; ++n) {
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(vertex(n)[3 + c], expected[n][c], 1e-5) << "vertex " << n;
    }
}

TEST_F(MetaballsTest, ALoneBallsSurfaceLiesAtRootOfAnEighth)
{
    balls->ballCount = 1;
    balls->balls[0] = {0.25f, 0.03f, -0.05f, 0.11f};
    balls->updateField();
    const int count = balls->polygonise();
    ASSERT_GT(count, 100);
    const float radius = std::sqrt(0.125f);
    for (int n = 0; n < count; ++n) {
        const float dx = vertex(n)[3] - 0.03f, dy = vertex(n)[4] + 0.05f, dz = vertex(n)[5] - 0.11f;
        ASSERT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), radius, 0.08f) << "vertex " << n;
    }
}

TEST_F(MetaballsTest, ABallCentredOnAGridPointGivesAFiniteSurface)
{
    // Exactly on grid point (12, 12, 12): its squared distance is 0.
    balls->ballCount = 1;
    const MetaballPoint& centre = balls->point(12, 12, 12);
    balls->balls[0] = {0.25f, centre.x, centre.y, centre.z};
    balls->updateField();
    balls->updateNormals();
    EXPECT_TRUE(std::isfinite(centre.value));
    EXPECT_GT(centre.value, 1e6f);
    const int count = balls->polygonise();
    ASSERT_GT(count, 0);
    for (int f = 0; f < count * Metaballs::SURFACE_STRIDE; ++f) {
        ASSERT_TRUE(std::isfinite(balls->surface[f])) << "float " << f;
    }
    for (int n = 0; n < Metaballs::POINT_COUNT; ++n) {
        const MetaballPoint& p = balls->gridPoints[n];
        ASSERT_TRUE(std::isfinite(p.nx) && std::isfinite(p.ny) && std::isfinite(p.nz)) << "normal " << n;
    }
}

TEST_F(MetaballsTest, NormalsOnlyAboveThresholdAndNeverTowardPositiveZ)
{
    fillValues(0.0f);
    // Exactly 0.7: the old normal stays.
    MetaballPoint& kept = balls->point(5, 5, 5);
    kept.value = 0.7f;
    kept.nx = 9.0f;
    // Just above, with neighbours giving (0.4, 0, 0.3): z is cut to 0.
    MetaballPoint& fresh = balls->point(10, 10, 10);
    fresh.value = 0.7001f;
    balls->point(9, 10, 10).value = 0.4f;
    balls->point(10, 10, 9).value = 0.3f;
    // The outer layer keeps its normal whatever its value.
    MetaballPoint& outer = balls->point(0, 7, 7);
    outer.value = 5.0f;
    outer.ny = 3.0f;
    balls->updateNormals();
    EXPECT_EQ(kept.nx, 9.0f);
    EXPECT_FLOAT_EQ(fresh.nx, 1.0f);
    EXPECT_FLOAT_EQ(fresh.ny, 0.0f);
    EXPECT_FLOAT_EQ(fresh.nz, 0.0f);
    EXPECT_EQ(outer.ny, 3.0f);
}

TEST_F(MetaballsTest, TheSameFrameTwiceGivesTheSameTriangles)
{
    step(400);
    const int first = step(777);
    const std::vector<float> surface(balls->surface.get(), balls->surface.get() + first * Metaballs::SURFACE_STRIDE);
    ASSERT_EQ(step(777), first);
    EXPECT_TRUE(std::equal(surface.begin(), surface.end(), balls->surface.get()));
}

TEST_F(MetaballsTest, NoNaNOrInfinityOverAWholeCycle)
{
    int fewest = Metaballs::MAX_SURFACE_VERTICES;
    for (int frame = 0; frame < 2160; ++frame) {
        const int count = step(frame);
        fewest = std::min(fewest, count);
        ASSERT_EQ(count % 3, 0);
        for (int f = 0; f < count * Metaballs::SURFACE_STRIDE; ++f) {
            ASSERT_TRUE(std::isfinite(balls->surface[f])) << "frame " << frame << " float " << f;
        }
    }
    EXPECT_GT(fewest, 0) << "the balls left the grid in some frame";
}
