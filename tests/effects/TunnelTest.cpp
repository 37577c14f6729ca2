// TunnelTest.cpp: rows, rings, bends and texture scroll of the tunnels,
// without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/ShowGlobals.h"
#include "effects/Tunnel.h"
#include "effects/Tunnel2.h"
#include "effects/TunnelRing.h"

namespace {

void expectRow(TextureRow row, float vNear, float vFar, const char* what)
{
    EXPECT_NEAR(row.vNear, vNear, 1e-6) << what;
    EXPECT_NEAR(row.vFar, vFar, 1e-6) << what;
}

struct Tube : testing::Test {
    void SetUp() override { fillTrigTables(); }
};

}  // namespace

TEST(TunnelRing, StraightRowsSpanTheCorridorAtTwiceTheirDepth)
{
    const TunnelRing upper(40, tunnelDepth(3), TunnelRing::UPPER_ROW);
    const TunnelRing lower(40, tunnelDepth(3), TunnelRing::LOWER_ROW);
    ASSERT_EQ(upper.count, 40);
    EXPECT_FLOAT_EQ(upper.point(0)[0], -10.0f);
    EXPECT_FLOAT_EQ(upper.point(39)[0], 9.5f);
    EXPECT_FLOAT_EQ(upper.point(7)[1], 1.0f);
    EXPECT_FLOAT_EQ(upper.point(7)[2], -4.0f);
    EXPECT_FLOAT_EQ(lower.point(0)[0], -20.0f);
    EXPECT_FLOAT_EQ(lower.point(39)[0], 19.0f);
    EXPECT_FLOAT_EQ(lower.point(7)[1], -1.0f);
    EXPECT_EQ(TunnelRing(40, 0.0f, 2).points.size(), 0u);
    // Outside the row: the origin, never a read past the points.
    EXPECT_EQ(upper.point(40), (TunnelPoint{0, 0, 0}));
    EXPECT_EQ(upper.point(-1), (TunnelPoint{0, 0, 0}));
    EXPECT_FLOAT_EQ(tunnelDepth(59) * 2.0f, -78.666664f);
}

TEST_F(Tube, RingsAreEllipsesStartingAtTheTop)
{
    const TunnelRing ring(40, tunnelDepth(6), 0.99f);
    EXPECT_NEAR(ring.point(0)[0], 0.0f, 1e-6);
    EXPECT_NEAR(ring.point(0)[1], 0.7f * 0.99f, 1e-6);
    EXPECT_FLOAT_EQ(ring.point(0)[2], -4.0f);
    // Point 10 is at 90 whole degrees: the widest point.
    EXPECT_NEAR(ring.point(10)[0], 0.99f, 1e-5);
    EXPECT_NEAR(ring.point(10)[1], 0.0f, 1e-4);
    EXPECT_NEAR(TunnelRing(40, 0.0f).point(20)[1], -0.7f, 1e-5);
    EXPECT_EQ(TunnelRing(0, 0.0f).points.size(), 0u);
}

TEST_F(Tube, MoveToTwiceMovesOnce)
{
    TunnelRing ring(40, 0.0f);
    const TunnelPoint base = ring.point(5);
    ring.moveTo(1.0f, 2.0f, 3.0f);
    ring.moveTo(1.0f, 2.0f, 3.0f);
    EXPECT_FLOAT_EQ(ring.point(5)[0], base[0] + 1.0f);
    EXPECT_FLOAT_EQ(ring.point(5)[1], base[1] + 2.0f);
    EXPECT_FLOAT_EQ(ring.point(5)[2], base[2] + 3.0f);
    ring.moveTo(0.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(ring.point(5)[1], base[1]);
}

TEST(Tunnel, TextureRowsScrollAHundredthPerUnitOfTime)
{
    expectRow(Tunnel::textureRow(0, 0), 0.0f, -0.02f, "t 0 row 0");
    expectRow(Tunnel::textureRow(0, 1), -0.02f, -0.04f, "t 0 row 1");
    expectRow(Tunnel::textureRow(0, 50), 0.0f, -0.02f, "t 0 row 50");
    expectRow(Tunnel::textureRow(1, 0), -0.01f, -0.03f, "t 1 row 0");
    expectRow(Tunnel::textureRow(3, 0), -0.03f, -0.05f, "t 3 row 0");
    expectRow(Tunnel::textureRow(3, 49), -0.01f, -0.03f, "t 3 row 49");
}

TEST_F(Tube, TextureRowsRunOppositeWaysForTheTwoSpeeds)
{
    Tunnel2 outer(1.0f);
    Tunnel2 inner(0.99f);
    inner.setSpeed(-1.0f);
    expectRow(outer.textureRow(0, 0), 0.0f, -0.02f, "outer t 0");
    expectRow(inner.textureRow(0, 0), 0.0f, -0.02f, "inner t 0");
    expectRow(outer.textureRow(1, 0), -0.01f, -0.03f, "outer t 1");
    expectRow(inner.textureRow(1, 0), 0.01f, -0.01f, "inner t 1");
    expectRow(outer.textureRow(3, 0), -0.03f, -0.05f, "outer t 3");
    expectRow(inner.textureRow(3, 0), 0.03f, 0.01f, "inner t 3");
    expectRow(inner.textureRow(3, 2), -0.01f, -0.03f, "inner t 3 ring 2");
}

TEST_F(Tube, SetSpeedTruncatesTowardZero)
{
    Tunnel2 tube(1.0f);
    tube.setSpeed(1.0f);
    EXPECT_EQ(tube.speed, 1);
    tube.setSpeed(-1.0f);
    EXPECT_EQ(tube.speed, -1);
    tube.setSpeed(-2.7f);
    EXPECT_EQ(tube.speed, 2);
    tube.setSpeed(0.5f);
    EXPECT_EQ(tube.speed, 1);
    tube.setSpeed(0.5f);
    EXPECT_EQ(tube.speed, 0);
    // Out of the integer range: held at its end, not undefined.
    tube.speed = 3;
    tube.setSpeed(std::numeric_limits<float>::max());
    EXPECT_EQ(tube.speed, std::numeric_limits<int>::max());
    tube.setSpeed(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(tube.speed, 0);
}

TEST_F(Tube, BendAtTimeZeroLiftsTheFarEndOnly)
{
    Tunnel2 tube(1.0f);
    tube.bend(0);
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(tube.rings[i].offset[0], 0.0f) << "ring " << i;
        EXPECT_NEAR(tube.rings[i].offset[1], 0.2 * (i - 2) * std::sin(2.0 * i / 60.0), 1e-5) << "ring " << i;
    }
    EXPECT_NEAR(tube.rings[59].offset[1], 10.52f, 0.01f);
    EXPECT_NEAR(tube.rings[1].offset[1], -0.0067f, 0.0001f);
    EXPECT_EQ(tube.rings[2].offset[1], 0.0f);
    EXPECT_NEAR(tube.rings[59].point(0)[1], 0.7f + tube.rings[59].offset[1], 1e-4);
}

TEST_F(Tube, BendingTwiceAtTheSameTimeLeavesEveryPointInPlace)
{
    Tunnel2 tube(1.0f);
    tube.bend(200);
    const TunnelPoint once = tube.rings[59].point(13);
    // Far end swung sideways by now.
    EXPECT_GT(std::fabs(tube.rings[59].offset[0]), 1.0f);
    tube.bend(200);
    EXPECT_EQ(tube.rings[59].point(13), once);
}

TEST_F(Tube, EveryRingIsClosedByAQuadFromItsLastPointToItsFirst)
{
    Tunnel2 tube(1.0f);
    tube.bend(0);
    ASSERT_EQ(tube.fillQuads(0), 59 * 40 * 4);
    // The 40th quad of ring 0: point 39 to point 0, u from 39/40 to 1.
    const float* quad = tube.quads.get() + 39 * 4 * Tunnel2::CORNER_FLOATS;
    const auto corner = [&](int n) { return quad + n * Tunnel2::CORNER_FLOATS; };
    EXPECT_FLOAT_EQ(corner(0)[0], 0.975f);
    EXPECT_FLOAT_EQ(corner(1)[0], 1.0f);
    EXPECT_FLOAT_EQ(corner(2)[0], 1.0f);
    EXPECT_FLOAT_EQ(corner(0)[2], tube.rings[0].point(39)[0]);
    EXPECT_FLOAT_EQ(corner(1)[2], tube.rings[0].point(0)[0]);
    EXPECT_FLOAT_EQ(corner(2)[4], tube.rings[1].point(0)[2]);
    EXPECT_FLOAT_EQ(corner(3)[1], -0.02f);
}
