// CollisionObjectTest.cpp: one body on its own, without GL: its points from
// a model and from the box pattern, the shared values the last set-up
// leaves, the whole-degree turns with their carried fractions, the turn of
// the model agreeing with the turn of the points, and a failed allocation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "CollisionBodies.h"
#include "model/Object.h"
#include "reader3ds/Reader3DS.h"
#include "tools/writers/Writer3ds.h"

using namespace collisiontest;

namespace {

// A model of one triangle with the given corners, built without GL.
void triangleModel(Object& model, r3ds::Vec3 a, r3ds::Vec3 b, r3ds::Vec3 c)
{
    writers::MeshData mesh;
    mesh.vertices = {a, b, c};
    mesh.faces = {{0, 1, 2}};
    const auto file = writers::makeFile([&](writers::Writer3ds& w) { writers::writeMeshObject(w, "Tri", mesh); });
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(file));
    model.buildFrom(reader, false);
}

// Angular velocity (radians per sub-step) that turns by `degrees` at once.
float turnOf(double degrees)
{
    return static_cast<float>(degrees / 57.324840764331206);
}

}  // namespace

TEST_F(CollisionTest, BoxPatternIsFiveLayersOfTheSquareOutlineAroundThePosition)
{
    // The outline in its stored order: corners, mid-points, quarter points.
    const float expected[16][2] = {
        {-0.2f, -0.2f}, {0.2f, -0.2f}, {0.2f, 0.2f}, {-0.2f, 0.2f}, {-0.2f, 0.0f}, {0.2f, 0.0f},
        {0.0f, 0.2f},   {0.0f, -0.2f}, {-0.1f, -0.2f}, {0.1f, -0.2f}, {-0.1f, 0.2f}, {0.1f, 0.2f},
        {0.2f, -0.1f},  {0.2f, 0.1f},  {-0.2f, -0.1f}, {-0.2f, 0.1f},
    };
    CollisionObject box;
    box.initBox();
    box.setPosition(0.6f, -0.5f, 1.0f);
    ASSERT_EQ(box.pointCount, 80);
    ASSERT_EQ(box.colPoints.size(), 240u);
    EXPECT_EQ(CollisionObject::colPointCount, 80);
    for (int layer = 0; layer < 5; ++layer) {
        for (int k = 0; k < 16; ++k) {
            const float* p = &box.colPoints[static_cast<std::size_t>(layer * 16 + k) * 3];
            EXPECT_NEAR(p[0], 0.6f + expected[k][0], 1e-6f) << layer << " " << k;
            EXPECT_NEAR(p[1], -0.5f + expected[k][1], 1e-6f) << layer << " " << k;
            EXPECT_NEAR(p[2], 0.8f + 0.1f * layer, 1e-6f) << layer << " " << k;
        }
    }
    EXPECT_FLOAT_EQ(box.radius, 0.25f);
    EXPECT_FLOAT_EQ(box.boundRadius, 0.6f);
}

TEST_F(CollisionTest, ModelRadiusComesFromTheLargestSignedCoordinateAndDampingIsShared)
{
    Object model;
    triangleModel(model, {-10, 0, 0}, {1, 2, 0.5f}, {0, -7, 1});
    CollisionObject fish;
    fish.setObject(model);
    fish.init(model, 0.1f);
    EXPECT_EQ(fish.pointCount, 3);
    EXPECT_EQ(CollisionObject::colPointCount, 3);
    EXPECT_FLOAT_EQ(fish.colPoints[0], -1.0f);  // scaled, not yet placed
    // Largest signed coordinate 0.2 (the y of the second point), not the 1.0 of -10.
    EXPECT_NEAR(fish.radius, 0.21f, 1e-6f);
    EXPECT_NEAR(fish.boundRadius, 0.5f, 1e-6f);
    EXPECT_FLOAT_EQ(fish.mass, 1.0f);
    EXPECT_FLOAT_EQ(fish.inertia, 200.0f);
    // The fish's damping is shared by all bodies, until the next body's
    // construction puts it back.
    EXPECT_FLOAT_EQ(CollisionObject::linearDamping, 0.957f);
    EXPECT_FLOAT_EQ(CollisionObject::angularDamping, 0.95f);

    // A model smaller than the scale still gets the scale as its b.
    Object tiny;
    triangleModel(tiny, {0, 0, 0}, {0.1f, 0, 0}, {0, 0.1f, 0});
    CollisionObject small;
    EXPECT_FLOAT_EQ(CollisionObject::linearDamping, 0.997f);
    EXPECT_FLOAT_EQ(CollisionObject::angularDamping, 0.99f);
    small.init(tiny, 0.5f);
    EXPECT_NEAR(small.radius, 0.51f, 1e-6f);
}

TEST_F(CollisionTest, OnlyTurnsBeyondOneDegreeAreAppliedAndTheFractionIsCarried)
{
    float remainder = 1.0f;
    EXPECT_EQ(wholeDegreeTurn(0.0f, remainder), 0);
    EXPECT_FLOAT_EQ(remainder, 1.0f);

    remainder = -1.0f;
    EXPECT_EQ(wholeDegreeTurn(0.0f, remainder), 0);
    EXPECT_FLOAT_EQ(remainder, -1.0f);

    remainder = 1.5f;
    EXPECT_EQ(wholeDegreeTurn(0.0f, remainder), 1);
    EXPECT_FLOAT_EQ(remainder, 0.5f);

    remainder = -1.5f;
    EXPECT_EQ(wholeDegreeTurn(0.0f, remainder), 359);
    EXPECT_FLOAT_EQ(remainder, -0.5f);

    // Small turns add up over sub-steps until they pass a degree.
    remainder = 0.0f;
    int turned = 0;
    for (int n = 0; n < 10; ++n) turned += wholeDegreeTurn(turnOf(0.35), remainder);
    EXPECT_EQ(turned, 3);  // at 1.05, 1.1 and 1.15 accumulated degrees
    EXPECT_NEAR(remainder, 0.5f, 1e-4f);
}

TEST_F(CollisionTest, TurnOfAFullCircleOrMoreStaysInsideTheTables)
{
    float remainder = 0.5f;
    EXPECT_EQ(wholeDegreeTurn(turnOf(400.0), remainder), 40);
    EXPECT_NEAR(remainder, 0.5f, 1e-3f);

    remainder = -0.5f;
    EXPECT_EQ(wholeDegreeTurn(turnOf(-400.0), remainder), 320);
    EXPECT_NEAR(remainder, -0.5f, 1e-3f);

    remainder = 0.0f;
    EXPECT_EQ(wholeDegreeTurn(turnOf(360.5), remainder), 0);
    remainder = 0.0f;
    const int huge = wholeDegreeTurn(3.0e30f, remainder);
    EXPECT_GE(huge, 0);
    EXPECT_LT(huge, 360);

    remainder = 0.0f;
    EXPECT_EQ(wholeDegreeTurn(std::numeric_limits<float>::quiet_NaN(), remainder), 0);
    EXPECT_TRUE(std::isfinite(remainder));
}

TEST_F(CollisionTest, PointsAndModelTurnTheSameWayAboutEachAxis)
{
    // One axis at a time the body's order (z, y, x) and the model's (x, y, z)
    // agree, so the drawn model must land on the collision points.
    for (int axis = 0; axis < 3; ++axis) {
        Object model;
        triangleModel(model, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
        CollisionObject body;
        body.setObject(model);
        body.init(model, 1.0f);
        CollisionObject::colPointCount = 3;
        body.setPosition(0.3f, -0.2f, 0.5f);
        body.angularVelocity[axis] = turnOf(30.2);  // 30 degrees now, 0.2 carried
        CollisionObject::collisionTimeStep = 0.0f;  // turn only, no move
        body.integrate();
        EXPECT_NEAR(body.angleRemainder[axis], 0.2f, 1e-3f) << "axis " << axis;
        for (int v = 0; v < 3; ++v) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(model.positions[v * 3 + c], body.colPoints[v * 3 + c], 1e-5f)
                    << "axis " << axis << " vertex " << v << " coordinate " << c;
            }
        }
        // And the turn happened: the corners left their places.
        const float start[9] = {1.3f, -0.2f, 0.5f, 0.3f, 0.8f, 0.5f, 0.3f, -0.2f, 1.5f};
        float moved = 0.0f;
        for (int c = 0; c < 9; ++c) moved += std::fabs(body.colPoints[c] - start[c]);
        EXPECT_GT(moved, 0.5f) << "axis " << axis;
    }
}

TEST_F(CollisionTest, FailedPointAllocationEndsTheProcessWithAFailureStatus)
{
    CollisionObject body;
    const std::size_t huge = body.colPoints.max_size() / 4;
    EXPECT_EXIT(body.allocatePoints(huge), testing::ExitedWithCode(EXIT_FAILURE),
                "colPoints malloc, CollisionObject::init");
    // A count whose three floats per point do not even fit a size.
    EXPECT_EXIT(body.allocatePoints(std::numeric_limits<std::size_t>::max()),
                testing::ExitedWithCode(EXIT_FAILURE), "colPoints malloc");
}
