// WaveTest.cpp: the picture wave's mesh, stones and wave equation, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "effects/Wave.h"

namespace {

constexpr int SIDE = 50;

// True when every point of the outer border is at rest at height 0.
bool borderAtRest(const Wave& wave)
{
    for (int row = 0; row < wave.height; ++row) {
        for (int column = 0; column < wave.width; ++column) {
            const bool border = row == 0 || column == 0 || row == wave.height - 1 || column == wave.width - 1;
            if (border && (wave.at(column, row).z != 0.0f || wave.at(column, row).velocity != 0.0f)) return false;
        }
    }
    return true;
}

float largestHeight(const Wave& wave)
{
    float largest = 0.0f;
    for (int i = 0; i < wave.width * wave.height; ++i) largest = std::fmax(largest, std::fabs(wave.points[i].z));
    return largest;
}

}  // namespace

TEST(Wave, AnUnpokedMeshStaysFlatWithNormalsFacingAway)
{
    Wave wave(SIDE, SIDE);
    EXPECT_FLOAT_EQ(wave.at(0, 0).x, -25.0f);
    EXPECT_FLOAT_EQ(wave.at(SIDE - 1, SIDE - 1).y, 24.0f);
    for (int frame = 0; frame < 5; ++frame) wave.update(10);
    for (int row = 1; row < SIDE - 1; ++row) {
        for (int column = 1; column < SIDE - 1; ++column) {
            const WavePoint& p = wave.at(column, row);
            ASSERT_EQ(p.z, 0.0f);
            ASSERT_EQ(p.nx, 0.0f);
            ASSERT_EQ(p.ny, 0.0f);
            ASSERT_FLOAT_EQ(p.nz, -1.0f) << column << ", " << row;
        }
    }
}

TEST(Wave, PokeAcceptsOnlyTheBandThreeFromTheEdge)
{
    Wave wave(SIDE, SIDE);
    EXPECT_FALSE(wave.poke(2, 10, 1.0f));
    EXPECT_FALSE(wave.poke(SIDE - 2, 10, 1.0f));
    EXPECT_FALSE(wave.poke(10, 2, 1.0f));
    EXPECT_FALSE(wave.poke(10, SIDE - 2, 1.0f));
    for (int i = 0; i < SIDE * SIDE; ++i) ASSERT_EQ(wave.points[i].velocity, 0.0f) << "a refused poke moved point " << i;

    EXPECT_TRUE(wave.poke(3, 3, 1.0f));
    EXPECT_FLOAT_EQ(wave.at(3, 3).velocity, -5.0f);
    EXPECT_FLOAT_EQ(wave.at(4, 3).velocity, -3.0f);
    EXPECT_FLOAT_EQ(wave.at(2, 2).velocity, -1.0f);
    EXPECT_FLOAT_EQ(wave.at(1, 3).velocity, -1.0f);
    EXPECT_FLOAT_EQ(wave.at(3, 5).velocity, -1.0f);

    // A mesh narrower than 6 points has no column the band accepts.
    Wave narrow(5, SIDE);
    for (int column = -1; column <= 6; ++column) EXPECT_FALSE(narrow.poke(column, 10, 1.0f)) << column;
}

TEST(Wave, BorderStaysAtRestAfterAPokeAtTheFarEdgeOfTheBand)
{
    Wave wave(SIDE, SIDE);
    ASSERT_TRUE(wave.poke(SIDE - 3, SIDE - 3, 1.0f));
    ASSERT_TRUE(wave.poke(3, SIDE - 3, 2.0f));
    // The stone still reaches the interior point two rows and columns away.
    EXPECT_FLOAT_EQ(wave.at(SIDE - 5, SIDE - 3).velocity, -1.0f);
    EXPECT_FLOAT_EQ(wave.at(SIDE - 2, SIDE - 2).velocity, -1.0f);
    EXPECT_TRUE(borderAtRest(wave));
    for (int frame = 0; frame < 100; ++frame) wave.update(10);
    EXPECT_TRUE(borderAtRest(wave));
    EXPECT_GT(largestHeight(wave), 0.0f);
}

TEST(Wave, AStoneSpreadsIntoRingsAndDiesDown)
{
    Wave wave(SIDE, SIDE);
    ASSERT_TRUE(wave.poke(25, 25, 1.0f));
    wave.update(10);
    // The centre went down at once; ten rows away hardly anything yet.
    EXPECT_LT(wave.at(25, 25).z, -0.01f);
    EXPECT_LT(std::fabs(wave.at(25, 35).z), 1e-9f);
    for (int frame = 0; frame < 100; ++frame) wave.update(10);
    EXPECT_GT(std::fabs(wave.at(25, 35).z), 0.1f) << "the ring never reached ten rows away";
    // The spread is even in x and y (up to the order of the sums).
    EXPECT_NEAR(wave.at(25, 35).z, wave.at(35, 25).z, 1e-4f * std::fabs(wave.at(25, 35).z));
    const float early = largestHeight(wave);
    for (int frame = 0; frame < 1500; ++frame) wave.update(10);
    EXPECT_LT(largestHeight(wave), early * 0.1f);
}

TEST(Wave, UpdateWithNoStepsMovesNothingButRefreshesNormals)
{
    Wave wave(SIDE, SIDE);
    wave.at(10, 10).z = 4.0f;
    wave.update(0);
    wave.update(-3);
    EXPECT_EQ(wave.at(10, 10).z, 4.0f);
    EXPECT_EQ(wave.at(10, 10).velocity, 0.0f);
    // Left of the bump the slope is +4 in x: (4, 0, -3) / 5.
    const WavePoint& left = wave.at(9, 10);
    EXPECT_FLOAT_EQ(left.nx, 0.8f);
    EXPECT_FLOAT_EQ(left.ny, 0.0f);
    EXPECT_FLOAT_EQ(left.nz, -0.6f);
    EXPECT_FLOAT_EQ(wave.at(10, 11).ny, -0.8f);
}

TEST(Wave, EmptyAndTinyMeshesAreHarmless)
{
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{-4, 7}, std::pair{1, 1}, std::pair{3, 2}}) {
        Wave wave(width, height);
        wave.update(10);
        EXPECT_FALSE(wave.poke(3, 3, 1.0f));
    }
}

TEST(WaveDeathTest, AMeshTooLargeForMemoryEndsWithFailureStatusAndItsMessage)
{
    // Far beyond any machine's memory: the allocation fails, and the show
    // must not report success.
    EXPECT_EXIT(Wave(1 << 30, 1 << 30), testing::ExitedWithCode(EXIT_FAILURE), "Wave constructor, malloc");
    EXPECT_EXIT(Wave(300000, 300000), testing::ExitedWithCode(EXIT_FAILURE), "Wave constructor, malloc");
}
