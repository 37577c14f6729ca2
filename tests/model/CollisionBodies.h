// CollisionBodies.h: small bodies and models for the collision tests, and
// the fixture that puts the program-wide values back before each test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <initializer_list>

#include "common/ShowGlobals.h"
#include "common/ShowRandom.h"
#include "model/CollisionObject.h"
#include "model/CollisionWorld.h"

namespace collisiontest {

using Point = std::array<float, 3>;

// A body with the masses of init/initBox, the given points (world
// coordinates) and centre, and a pair radius. The shared point count is
// left alone.
inline CollisionObject pointBody(std::initializer_list<Point> points, Point centre, float radius = 0.25f)
{
    CollisionObject body;
    body.allocatePoints(points.size());
    std::size_t at = 0;
    for (const Point& p : points) {
        for (int c = 0; c < 3; ++c) body.colPoints[at + c] = p[c];
        at += 3;
    }
    body.position = centre;
    body.mass = 1.0f;
    body.inertia = 200.0f;
    body.radius = radius;
    body.boundRadius = 0.6f;
    return body;
}

// Every test starts from the values the show starts with.
class CollisionTest : public testing::Test {
protected:
    void SetUp() override
    {
        fillTrigTables();
        resetShowRandom();
        CollisionObject::colPointCount = 80;
        CollisionObject::collisionTimeStep = 0.0005f;
        CollisionObject::linearDamping = 0.997f;
        CollisionObject::angularDamping = 0.99f;
    }
};

inline void expectVector(const std::array<float, 3>& got, float x, float y, float z, float tolerance = 1e-6f)
{
    EXPECT_NEAR(got[0], x, tolerance);
    EXPECT_NEAR(got[1], y, tolerance);
    EXPECT_NEAR(got[2], z, tolerance);
}

}  // namespace collisiontest
