// CollisionGoldenRunTest.cpp: the bodies part's whole simulation, without GL.
// Two fish and three boxes from the show's own model files, set up in the
// bodies part's order and places, run for the part's 2,000 frames of ten
// sub-steps, with the random sequence where the show has it when the part
// starts: the wave's five stones have drawn ten numbers. Their positions and velocities
// after 1, 100 and 2,000 frames are pinned from a run whose rendered frames
// were checked by eye, so any change to the simulation shows up here; over
// the whole run every number stays finite and every body inside the room.
//
// Reads data/fish.3ds and data/boxtex.3ds from the build folder (the
// content the build makes); a change of those models changes the run too.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "CollisionBodies.h"
#include "model/Object.h"
#include "reader3ds/Reader3DS.h"

using namespace collisiontest;

namespace {

struct BodyRow {
    const char* file;
    bool fish;
    float scale;
    Point place;
};

// The bodies part's table: two fish, then three boxes.
constexpr std::array<BodyRow, 5> SETUPS = {{
    {"data/fish.3ds", true, 0.004f, {0.0f, 0.0f, 1.0f}},
    {"data/fish.3ds", true, 0.004f, {0.7f, 0.1f, 1.0f}},
    {"data/boxtex.3ds", false, 0.012f, {0.28f, 0.34f, 1.0f}},
    {"data/boxtex.3ds", false, 0.012f, {0.6f, -0.5f, 1.0f}},
    {"data/boxtex.3ds", false, 0.012f, {-0.45f, -0.6f, 1.0f}},
}};

class CollisionGoldenRun : public CollisionTest {
protected:
    std::array<CollisionObject, 5> bodies;
    std::array<Object, 5> models;
    CollisionWorld world;

    // The bodies part's set-up, with the models built without GL.
    void setUpBodies()
    {
        for (std::size_t i = 0; i < SETUPS.size(); ++i) {
            const BodyRow& setup = SETUPS[i];
            bodies[i] = CollisionObject{};
            Reader3DS reader;
            ASSERT_TRUE(reader.LoadFile(setup.file)) << setup.file;
            models[i].buildFrom(reader, reader.GetMaterialCount() != 0);
            if (setup.fish) {
                bodies[i].setObject(models[i]);
                bodies[i].init(models[i], 0.003f);
                models[i].scale(setup.scale);
            } else {
                models[i].scale(setup.scale);
                bodies[i].initBox();
                bodies[i].setObject(models[i]);
            }
            bodies[i].setPosition(setup.place[0], setup.place[1], setup.place[2]);
        }
        for (CollisionObject& body : bodies) world.add(body);
    }

    // Positions and velocities against the pinned run's, tolerating only
    // rounding.
    void expectPinned(int index, int frame) const;

    void printRun(int frame) const
    {
        std::printf("frame %d\n", frame);
        for (const CollisionObject& b : bodies) {
            std::printf("{{{%.9gf, %.9gf, %.9gf}, {%.9gf, %.9gf, %.9gf}}},\n", b.position[0], b.position[1],
                        b.position[2], b.velocity[0], b.velocity[1], b.velocity[2]);
        }
    }

    bool everythingFinite() const
    {
        for (const CollisionObject& body : bodies) {
            for (int c = 0; c < 3; ++c) {
                if (!std::isfinite(body.position[c]) || !std::isfinite(body.velocity[c]) ||
                    !std::isfinite(body.angularVelocity[c]) || !std::isfinite(body.angleRemainder[c])) {
                    return false;
                }
            }
            for (const float value : body.colPoints) {
                if (!std::isfinite(value)) return false;
            }
        }
        return true;
    }
};

// The pinned run: position and velocity of bodies 0 to 4 after 1, 100 and
// 2,000 frames. After one frame the fish and the first box, placed
// overlapping, fly apart while the other two boxes only fall; by frame 100
// every body has landed and bounced off the floor's spring. The kicks that
// follow draw from the sequence after the wave's ten numbers, as in the show.
constexpr std::array<std::array<std::array<Point, 2>, 5>, 3> PINNED = {{
    {{
        {{{-0.000161221047f, -0.000593209523f, 0.999800026f}, {-0.0581857972f, -0.223281831f, -0.0703683048f}}},
        {{{0.704397917f, 0.0946805999f, 0.999826789f}, {1.71661174f, -2.09482741f, -0.056888707f}}},
        {{{0.275763243f, 0.345912606f, 0.999231815f}, {-1.65842593f, 2.31810927f, -0.285874903f}}},
        {{{0.600000024f, -0.5f, 0.999615014f}, {0.0f, 0.0f, -0.140000001f}}},
        {{{-0.449999988f, -0.600000024f, 0.999615014f}, {0.0f, 0.0f, -0.140000001f}}},
    }},
    {{
        {{{-0.0305808336f, -0.121107578f, 0.0148270726f}, {-0.0569767691f, -0.225744963f, 6.5106926f}}},
        {{{1.80649424f, -0.17967391f, -0.0384524018f}, {2.06550193f, -0.047240451f, 6.46514797f}}},
        {{{-0.712548494f, 1.73596668f, -0.0189100262f}, {-1.80864096f, 2.54390812f, 3.54317141f}}},
        {{{0.437255174f, -1.41234457f, 0.0936420634f}, {-0.384521425f, -2.16536355f, 5.95689964f}}},
        {{{-0.449999988f, -0.600000024f, 0.226768479f}, {0.0f, 0.0f, 6.04771137f}}},
    }},
    {{
        {{{1.58424532f, -1.11512065f, -0.737139761f}, {-0.250653237f, -0.899424493f, 2.54248786f}}},
        {{{1.38293219f, -1.72528005f, -0.97032702f}, {0.0270906929f, 0.224296853f, -0.835737944f}}},
        {{{1.33097553f, -0.852548957f, -0.226981327f}, {2.13357997f, 2.13357997f, -3.08640862f}}},
        {{{0.0037751398f, 0.718512177f, -0.623666644f}, {0.0f, 1.13184106f, -2.76826358f}}},
        {{{-1.2754519f, -2.60528374f, 1.60228491f}, {1.98409522f, 4.03693104f, -2.06084132f}}},
    }},
}};

void CollisionGoldenRun::expectPinned(int index, int frame) const
{
    for (int i = 0; i < 5; ++i) {
        for (int c = 0; c < 3; ++c) {
            const float position = PINNED[index][i][0][c];
            const float velocity = PINNED[index][i][1][c];
            EXPECT_NEAR(bodies[i].position[c], position, 1e-5f + 1e-4f * std::fabs(position))
                << "frame " << frame << " body " << i << " position " << c;
            EXPECT_NEAR(bodies[i].velocity[c], velocity, 1e-5f + 1e-4f * std::fabs(velocity))
                << "frame " << frame << " body " << i << " velocity " << c;
        }
    }
}

}  // namespace

TEST_F(CollisionGoldenRun, TwoThousandFramesMatchThePinnedRunAndStayInsideTheRoom)
{
    // The wave's stones, two numbers each, come before any kick.
    for (int i = 0; i < 10; ++i) showRandom();
    setUpBodies();
    ASSERT_EQ(CollisionObject::colPointCount, 80);
    ASSERT_GE(bodies[0].pointCount, 80);  // the fish collide through their first 80

    const float margin = 0.5f;  // centres may sink a little into a wall's spring
    int pinned = 0;
    for (int frame = 1; frame <= 2000; ++frame) {
        world.setTimeStep(0.0005f);
        world.step(10);
        ASSERT_TRUE(everythingFinite()) << "frame " << frame;
        for (std::size_t i = 0; i < bodies.size(); ++i) {
            const auto& p = bodies[i].position;
            ASSERT_TRUE(p[0] > ROOM_MIN_X - margin && p[0] < ROOM_MAX_X + margin && p[1] > ROOM_MIN_Y - margin &&
                        p[1] < ROOM_MAX_Y + margin && p[2] > ROOM_MIN_Z - margin && p[2] < ROOM_MAX_Z + margin)
                << "body " << i << " at frame " << frame << ": " << p[0] << ", " << p[1] << ", " << p[2];
        }
        if (frame == 1 || frame == 100 || frame == 2000) {
            if (std::getenv("QUORL_PRINT_GOLDEN")) printRun(frame);
            expectPinned(pinned++, frame);
        }
    }
}
