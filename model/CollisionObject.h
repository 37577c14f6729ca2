// CollisionObject.h: a rigid body made of a cloud of collision points.
//
// The bodies of the fish-and-boxes part. Each body has a position, a
// velocity and an angular velocity, and a set of points in world
// coordinates that move and turn with it; a CollisionWorld pushes bodies
// apart with spring forces where their points come closer than 0.1 to each
// other or leave the room. After every sub-step the body turns and moves
// its Object by the same amounts, so drawing shows the simulated motion.
//
// Turns are whole degrees through SIN_TABLE and COS_TABLE (which must be
// filled first); the fractions of a degree are carried to the next sub-step.
// Angular velocities are radians per sub-step; the y turn runs against the
// usual right-handed sense, and the torques of CollisionWorld match it.
//
// The point count of every loop, the time step and the damping factors are
// shared by all bodies (static members): the value set last is in force
// for every body. Pure computation: no GL, no SDL.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

class Object;

// The room the bodies live in: x in -2..2, y in -3..3, z in -1..2.
constexpr float ROOM_MIN_X = -2.0f, ROOM_MAX_X = 2.0f;
constexpr float ROOM_MIN_Y = -3.0f, ROOM_MAX_Y = 3.0f;
constexpr float ROOM_MIN_Z = -1.0f, ROOM_MAX_Z = 2.0f;

class CollisionObject {
public:
    // Number of points every loop over points uses, for every body: init
    // sets the model's vertex count, initBox 80. A body never loops past
    // its own points (see pointCount).
    static int colPointCount;
    // Time step of one sub-step; CollisionWorld::setTimeStep sets it.
    static float collisionTimeStep;
    // Velocity and angular velocity factors after a hit: construction sets
    // 0.997 and 0.99, init 0.957 and 0.95.
    static float linearDamping;
    static float angularDamping;

    Object* object = nullptr;              // moved with the body, not owned
    std::vector<float> colPoints;          // 3 per point, world coordinates
    int pointCount = 0;                    // this body's own number of points
    float inertia = 0.0f;                  // divisor of angular impulses
    std::array<float, 3> angularVelocity{};  // radians per sub-step
    std::array<float, 3> angleRemainder{};   // degrees turned but not applied yet
    std::array<float, 3> velocity{};
    float mass = 0.0f;                     // divisor of forces, factor of gravity
    std::array<float, 3> position{};       // centre of the body
    bool hit = false;      // set by a contact or wall response, cleared by damping
    bool onFloor = false;  // a point rests just below the floor
    float radius = 0.0f;       // pair test radius
    float boundRadius = 0.0f;  // wall test radius

    // Resets the program-wide damping factors to 0.997 and 0.99.
    CollisionObject();

    // Attaches the model to move; before setPosition.
    void setObject(Object& model);
    // Points from the model's drawn vertices times `scale` (the fish).
    void init(Object& model, float scale);
    // The 80 points of a 0.4 x 0.4 x 0.4 box outline around the position.
    void initBox();
    // Places the body: moves the position, every point and the model.
    void setPosition(float x, float y, float z);

    // One sub-step: gravity, damping, the rest test, then move and turn.
    void integrate();
    void applyForce(float fx, float fy, float fz);
    void applyTorque(float tx, float ty, float tz);
    // Throws the body up with random speeds from the program's generator.
    void kick();

    // Points the loops use: colPointCount, but never more than this body has.
    int activePoints() const;
    // Sizes colPoints for `count` points (zeroed); a failure is reported in
    // a message box and ends the process with a failure status.
    void allocatePoints(std::size_t count);
};

// The 16 (x, y) offsets of one layer of the box's points, in order:
// corners, mid-points, then quarter points of a 0.4 x 0.4 square outline.
extern const std::array<std::array<float, 2>, 16> BOX_LAYER_OFFSETS;

// Turns an angular velocity (radians) plus the carried remainder (degrees)
// into the whole degrees to turn now, as a table index 0..359, and leaves
// the new remainder. Only turns beyond one degree either way are applied;
// a negative turn of n degrees comes out as 360 - n.
int wholeDegreeTurn(float angularVelocity, float& remainder);
