// CollisionWorldTest.cpp: bodies together, without GL: which pairs and
// points interact, the contact and wall forces with their deliberate torque
// signs, coincident points, the first step's halving, the shared point
// count against a body's own points, and the kick of a body at rest.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CollisionBodies.h"

using namespace collisiontest;

namespace {

bool finite(const std::array<float, 3>& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

}  // namespace

TEST_F(CollisionTest, OnlyNearPairsAndPointsCloserThanATenthInteract)
{
    CollisionObject::colPointCount = 1;
    // Centres 0.70 and 0.71 apart, points 0.05 and then 0.1 apart. The radius
    // sum of 0.5 is compared with the squared distance: 0.49 passes, 0.5041
    // does not. A point pair at squared distance 0.01 or more gives no force.
    struct Case {
        float apart, gap, push;
    };
    for (const Case& c : {Case{0.70f, 0.05f, 0.125f}, Case{0.71f, 0.05f, 0.0f}, Case{0.70f, 0.1f, 0.0f}}) {
        CollisionObject a = pointBody({{0.0f, 0.0f, 0.5f}}, {0.0f, 0.0f, 0.5f});
        CollisionObject b = pointBody({{c.gap, 0.0f, 0.5f}}, {c.apart, 0.0f, 0.5f});
        CollisionWorld world;
        world.add(a);
        world.add(b);
        world.collide();
        // k = (0.1 - 0.05) * 5000 = 250 along +x on B, times dt / mass = 0.0005.
        EXPECT_NEAR(b.velocity[0], c.push, 1e-4f) << c.apart << " " << c.gap;
        EXPECT_NEAR(a.velocity[0], -c.push, 1e-4f) << c.apart << " " << c.gap;
        EXPECT_EQ(b.hit, c.push > 0.0f) << c.apart << " " << c.gap;
    }
}

TEST_F(CollisionTest, ContactTorquesNegateTheCrossProductsXAndY)
{
    CollisionObject a = pointBody({}, {-0.1f, 0.0f, 0.1f});
    CollisionObject b = pointBody({}, {0.03f, -0.26f, 0.2f});
    CollisionWorld world;
    const float p[3] = {0.0f, 0.0f, 0.0f};
    const float q[3] = {0.03f, 0.04f, 0.0f};
    world.contact(a, b, p, q, 0.0025f);
    // F = 250 along (0.6, 0.8, 0) = (150, 200, 0) on B, the opposite on A.
    expectVector(b.velocity, 0.075f, 0.1f, 0.0f);
    expectVector(a.velocity, -0.075f, -0.1f, 0.0f);
    // B's arm r = (0, 0.3, -0.2): r x F = (40, -30, -45); the body gets
    // (-40, 30, -45), times dt / inertia = 2.5e-6.
    expectVector(b.angularVelocity, -1.0e-4f, 7.5e-5f, -1.125e-4f, 1e-8f);
    // A's arm r = (0.1, 0, -0.1): r x (-F) = (-20, 15, -20); A gets (20, -15, -20).
    expectVector(a.angularVelocity, 5.0e-5f, -3.75e-5f, -5.0e-5f, 1e-8f);
}

TEST_F(CollisionTest, CoincidentPointsGiveNoForceAndNeverANotANumber)
{
    CollisionObject::colPointCount = 1;
    CollisionObject a = pointBody({{0.2f, 0.1f, 0.5f}}, {0.0f, 0.0f, 0.5f});
    CollisionObject b = pointBody({{0.2f, 0.1f, 0.5f}}, {0.3f, 0.1f, 0.5f});
    CollisionWorld world;
    world.add(a);
    world.add(b);
    world.collide();
    expectVector(a.velocity, 0, 0, 0, 0);
    expectVector(b.velocity, 0, 0, 0, 0);
    expectVector(a.angularVelocity, 0, 0, 0, 0);
    world.step(5);
    EXPECT_TRUE(finite(a.velocity) && finite(b.velocity));
    EXPECT_TRUE(finite(a.angularVelocity) && finite(b.angularVelocity));
    EXPECT_TRUE(finite(a.position) && finite(b.position));

    // Points a hair apart push along their tiny offset with a finite force.
    const float p[3] = {0.0f, 0.0f, 0.0f};
    const float q[3] = {1e-22f, 0.0f, 0.0f};
    CollisionObject c = pointBody({}, {0.0f, 0.0f, 0.0f});
    CollisionObject d = pointBody({}, {0.0f, 0.0f, 0.0f});
    world.contact(c, d, p, q, 0.00001f);
    EXPECT_TRUE(finite(c.velocity) && finite(d.velocity));
    EXPECT_GT(d.velocity[0], 0.0f);
}

TEST_F(CollisionTest, WallsPushPointsBackWithTheYOfTheTorqueNegated)
{
    CollisionObject body = pointBody({{2.01f, 0.1f, 0.2f}}, {1.9f, 0.0f, 0.0f});
    CollisionWorld world;
    world.wallResponse(body, &body.colPoints[0]);
    // e = 0.01 * 5000 = 50 back along -x; arm (0.11, 0.1, 0.2): r x F =
    // (0, -10, 5), the body gets (0, 10, 5).
    expectVector(body.velocity, -0.025f, 0.0f, 0.0f, 1e-5f);
    expectVector(body.angularVelocity, 0.0f, 2.5e-5f, 1.25e-5f, 1e-8f);
    EXPECT_TRUE(body.hit);
    EXPECT_FALSE(body.onFloor);

    // A point below the floor is pushed up; it rests only when it is less
    // than 0.000003 below.
    CollisionObject deep = pointBody({{0.0f, 0.0f, -1.00001f}}, {0.0f, 0.0f, -0.9f});
    world.wallResponse(deep, &deep.colPoints[0]);
    EXPECT_GT(deep.velocity[2], 0.0f);
    EXPECT_FALSE(deep.onFloor);
    CollisionObject resting = pointBody({{0.0f, 0.0f, -1.000002f}}, {0.0f, 0.0f, -0.9f});
    world.wallResponse(resting, &resting.colPoints[0]);
    EXPECT_TRUE(resting.onFloor);
}

TEST_F(CollisionTest, RestingBodyIsKickedOnTheSubStepAfterItLands)
{
    CollisionObject::colPointCount = 1;
    CollisionObject body = pointBody({{0.0f, 0.0f, -1.000002f}}, {0.0f, 0.0f, -0.9f});
    body.velocity = {0.5f, -0.5f, 0.3f};
    body.angularVelocity = {0.01f, -0.02f, 0.0f};
    CollisionWorld world;
    world.add(body);
    world.first = false;
    world.collide();
    ASSERT_TRUE(body.onFloor);

    body.integrate();
    // Speeds were below 1: zeroed, then thrown with the program's sequence.
    ShowRandom sequence;
    const float vx = (static_cast<float>(sequence.next() % 4) - 2.0f) * 2.14f;
    const float vy = (static_cast<float>(sequence.next() % 4) - 2.0f) * 2.14f;
    const float vz = (static_cast<float>(sequence.next() % 6) + 3.0f) * 2.14f;
    expectVector(body.velocity, vx, vy, vz, 0);
    expectVector(body.angularVelocity, 0.00214f, 0.00214f, 0.00214f, 0);
    EXPECT_FALSE(body.onFloor);
    EXPECT_GE(body.velocity[2], 6.42f - 1e-5f);
    // The kick used the program's own generator: its next number follows.
    EXPECT_EQ(showRandom(), sequence.next());

    // Landing as fast as 1 or more in any component is no rest.
    CollisionObject fast = pointBody({{0.0f, 0.0f, -1.000002f}}, {0.0f, 0.0f, -0.9f});
    fast.velocity = {0.5f, -0.5f, -1.5f};
    world.bodies[0] = &fast;
    world.collide();
    fast.integrate();
    EXPECT_FALSE(fast.onFloor);
    EXPECT_LT(fast.velocity[2], -1.0f);
    EXPECT_EQ(showRandom(), sequence.next()) << "the fast body drew nothing";
}

TEST_F(CollisionTest, FirstStepCollidesOnceThenHalvesEveryVelocityOnce)
{
    CollisionObject::colPointCount = 1;
    CollisionObject a = pointBody({{0.3f, 0.0f, 0.5f}}, {0.0f, 0.0f, 0.5f});
    CollisionObject b = pointBody({{0.35f, 0.0f, 0.5f}}, {0.7f, 0.0f, 0.5f});
    a.velocity = {2.0f, 4.0f, 6.0f};
    a.angularVelocity = {0.2f, 0.4f, 0.6f};
    CollisionWorld world;
    world.add(a);
    world.add(b);
    world.step(0);
    // B had no speed: half of its first push remains; A's own speed is halved.
    EXPECT_NEAR(b.velocity[0], 0.0625f, 1e-5f);
    EXPECT_NEAR(a.velocity[0], (2.0f - 0.125f) * 0.5f, 1e-5f);
    expectVector(a.angularVelocity, 0.1f, 0.2f, 0.3f);
    EXPECT_FALSE(world.first);

    world.step(0);  // no second halving, no second push
    EXPECT_NEAR(b.velocity[0], 0.0625f, 1e-5f);
    expectVector(a.angularVelocity, 0.1f, 0.2f, 0.3f);
}

TEST_F(CollisionTest, FishCollidesThroughTheSharedCountOfItsFirstPointsOnly)
{
    // A fish of 100 points: only its last 20 touch the other body's point.
    std::vector<Point> points;
    for (int i = 0; i < 100; ++i) {
        points.push_back(i < 80 ? Point{-0.3f, 0.0f, 0.5f} : Point{0.3f, 0.0f, 0.5f});
    }
    auto fishWith = [&] {
        CollisionObject fish = pointBody({}, {0.0f, 0.0f, 0.5f});
        fish.allocatePoints(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            for (int c = 0; c < 3; ++c) fish.colPoints[i * 3 + c] = points[i][c];
        }
        return fish;
    };
    for (const int shared : {80, 100}) {
        CollisionObject::colPointCount = shared;
        CollisionObject fish = fishWith();
        CollisionObject box = pointBody({{0.35f, 0.0f, 0.5f}}, {0.5f, 0.0f, 0.5f});
        CollisionWorld world;
        world.add(fish);
        world.add(box);
        world.collide();
        if (shared == 80) {
            EXPECT_EQ(box.velocity[0], 0.0f);
        } else {
            EXPECT_NEAR(box.velocity[0], 20 * 0.125f, 1e-3f);
        }
    }
}

TEST_F(CollisionTest, SharedCountLargerThanABodysPointsStopsAtItsOwnPoints)
{
    // A count of 500 against bodies of 1 and 2 points behaves exactly as a
    // count of 2 would: nothing past a body's own points is read or moved.
    std::array<std::array<float, 3>, 2> velocities{};
    for (int run = 0; run < 2; ++run) {
        CollisionObject::colPointCount = run == 0 ? 2 : 500;
        CollisionObject a = pointBody({{0.3f, 0.0f, -0.999f}, {0.0f, 0.2f, -0.999f}}, {0.0f, 0.0f, -0.8f});
        CollisionObject b = pointBody({{0.35f, 0.0f, -0.999f}}, {0.4f, 0.0f, -0.8f});
        CollisionWorld world;
        world.add(a);
        world.add(b);
        world.step(20);
        EXPECT_EQ(a.colPoints.size(), 6u);
        EXPECT_EQ(b.colPoints.size(), 3u);
        velocities[run] = b.velocity;
    }
    EXPECT_EQ(velocities[0], velocities[1]);
}

TEST_F(CollisionTest, SixthBodyIsRefused)
{
    std::array<CollisionObject, 6> bodies;
    CollisionWorld world;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(world.add(bodies[i]));
    EXPECT_FALSE(world.add(bodies[5]));
    EXPECT_EQ(world.count, 5);
    world.step(1);  // the five bodies (no points) still step
}
