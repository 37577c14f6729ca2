// CollisionObject.cpp: building a body's points, one sub-step of its motion,
// and the kick that throws a resting body up again. No GL here.
#include "model/CollisionObject.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "common/ShowGlobals.h"
#include "common/ShowRandom.h"
#include "image/Message.h"
#include "model/Object.h"

int CollisionObject::colPointCount = 0;
float CollisionObject::collisionTimeStep = 0.0005f;
float CollisionObject::linearDamping = 0.997f;
float CollisionObject::angularDamping = 0.99f;

const std::array<std::array<float, 2>, 16> BOX_LAYER_OFFSETS = {{
    {-0.2f, -0.2f}, {0.2f, -0.2f}, {0.2f, 0.2f}, {-0.2f, 0.2f},
    {-0.2f, 0.0f}, {0.2f, 0.0f}, {0.0f, 0.2f}, {0.0f, -0.2f},
    {-0.1f, -0.2f}, {0.1f, -0.2f}, {-0.1f, 0.2f}, {0.1f, 0.2f},
    {0.2f, -0.1f}, {0.2f, 0.1f}, {-0.2f, -0.1f}, {-0.2f, 0.1f},
}};

namespace {

// Degrees per radian with pi taken as 3.14, as the bodies' turns were tuned.
constexpr double DEGREES_PER_RADIAN = 57.324840764331206;

// Gravity is taken off the upward velocity once per sub-step, not times dt.
constexpr float GRAVITY = 0.014f;

// Speed-up of every kick, and the spin it adds about each axis.
constexpr float KICK_FACTOR = 2.14f;
constexpr float KICK_SPIN = 0.00214f;

// True when the value truncates toward zero to 0.
bool belowOne(float value) { return std::fabs(value) < 1.0f; }

}  // namespace

int wholeDegreeTurn(float angularVelocity, float& remainder)
{
    const double acc = angularVelocity * DEGREES_PER_RADIAN + remainder;
    if (!std::isfinite(acc)) {
        // Nothing sensible to turn by; drop the turn rather than index
        // the tables with an undefined number.
        remainder = 0.0f;
        return 0;
    }
    if (acc > 1.0) {
        const double whole = std::trunc(acc);
        remainder = static_cast<float>(acc - whole);
        // A turn of a full circle or more in one sub-step is the same
        // table angle as its rest after whole circles.
        return tableIndex(static_cast<int>(std::fmod(whole, 360.0)));
    }
    if (acc < -1.0) {
        const double whole = std::trunc(acc);
        remainder = static_cast<float>(acc - whole);
        return tableIndex(static_cast<int>(std::fmod(whole, 360.0)) + 360);
    }
    // Up to one degree either way is carried, not turned.
    remainder = static_cast<float>(acc);
    return 0;
}

CollisionObject::CollisionObject()
{
    linearDamping = 0.997f;
    angularDamping = 0.99f;
}

void CollisionObject::setObject(Object& model)
{
    object = &model;
}

void CollisionObject::allocatePoints(std::size_t count)
{
    bool allocated = count <= colPoints.max_size() / 3;  // three floats per point must fit
    if (allocated) {
        try {
            colPoints.assign(count * 3, 0.0f);
        } catch (const std::exception&) {  // bad_alloc
            allocated = false;
        }
    }
    if (!allocated) {
        showMessage("colPoints malloc, CollisionObject::init", "MALLOC ERROR");
        // The show cannot go on without its bodies, and the status says so.
        std::exit(EXIT_FAILURE);
    }
    pointCount = static_cast<int>(count);
}

void CollisionObject::init(Object& model, float scale)
{
    float* vertices = nullptr;
    int count = 0;
    model.getVertices(vertices, count);
    count = std::max(count, 0);
    colPointCount = count;
    allocatePoints(static_cast<std::size_t>(count));

    // b is the largest signed coordinate of any point (not the largest
    // magnitude), never below the scale itself.
    float b = scale;
    for (std::size_t at = 0; at < static_cast<std::size_t>(count) * 3; ++at) {
        colPoints[at] = scale * vertices[at];
        b = std::max(b, colPoints[at]);
    }
    mass = 1.0f;
    inertia = 200.0f;
    radius = b + 0.01f;
    boundRadius = 2.0f * b + 0.1f;
    linearDamping = 0.957f;
    angularDamping = 0.95f;
}

void CollisionObject::initBox()
{
    mass = 1.0f;
    inertia = 200.0f;
    radius = 0.25f;
    boundRadius = 0.6f;
    colPointCount = 80;
    allocatePoints(80);
    // Five layers of the square outline, 0.1 apart, around the position.
    for (int layer = 0; layer < 5; ++layer) {
        const float z = position[2] - 0.2f + 0.1f * static_cast<float>(layer);
        for (int k = 0; k < 16; ++k) {
            float* point = &colPoints[static_cast<std::size_t>(layer * 16 + k) * 3];
            point[0] = position[0] + BOX_LAYER_OFFSETS[k][0];
            point[1] = position[1] + BOX_LAYER_OFFSETS[k][1];
            point[2] = z;
        }
    }
}

void CollisionObject::setPosition(float x, float y, float z)
{
    position = {x, y, z};
    for (std::size_t at = 0; at < colPoints.size(); at += 3) {
        colPoints[at] += x;
        colPoints[at + 1] += y;
        colPoints[at + 2] += z;
    }
    if (object != nullptr) object->translate(x, y, z);
}

int CollisionObject::activePoints() const
{
    return std::clamp(colPointCount, 0, pointCount);
}

void CollisionObject::applyForce(float fx, float fy, float fz)
{
    const float dt = collisionTimeStep;
    velocity[0] += dt * fx / mass;
    velocity[1] += dt * fy / mass;
    velocity[2] += dt * fz / mass;
}

void CollisionObject::applyTorque(float tx, float ty, float tz)
{
    const float dt = collisionTimeStep;
    angularVelocity[0] += dt * tx / inertia;
    angularVelocity[1] += dt * ty / inertia;
    angularVelocity[2] += dt * tz / inertia;
}

void CollisionObject::kick()
{
    // The draws come in this order from the one program-wide sequence, so
    // every run kicks the same way.
    velocity[0] = (velocity[0] + static_cast<float>(showRandom() % 4) - 2.0f) * KICK_FACTOR;
    velocity[1] = (velocity[1] + static_cast<float>(showRandom() % 4) - 2.0f) * KICK_FACTOR;
    velocity[2] = (velocity[2] + static_cast<float>(showRandom() % 6) + 3.0f) * KICK_FACTOR;
    for (float& spin : angularVelocity) spin = spin * KICK_FACTOR + KICK_SPIN;
}

void CollisionObject::integrate()
{
    const float dt = collisionTimeStep;
    velocity[2] -= mass * GRAVITY;

    if (hit) {
        hit = false;
        for (float& v : velocity) v *= linearDamping;
        for (float& w : angularVelocity) w *= angularDamping;
    }

    if (onFloor) {
        onFloor = false;
        const bool resting = std::all_of(velocity.begin(), velocity.end(), belowOne) &&
                             std::all_of(angularVelocity.begin(), angularVelocity.end(), belowOne);
        if (resting) {
            velocity = {0.0f, 0.0f, 0.0f};
            angularVelocity = {0.0f, 0.0f, 0.0f};
            kick();
        }
    }

    const std::size_t end = static_cast<std::size_t>(activePoints()) * 3;
    for (std::size_t at = 0; at < end; at += 3) {
        colPoints[at] -= position[0];
        colPoints[at + 1] -= position[1];
        colPoints[at + 2] -= position[2];
    }

    const float dx = dt * velocity[0];
    const float dy = dt * velocity[1];
    const float dz = dt * velocity[2];
    position[0] += dx;
    position[1] += dy;
    position[2] += dz;

    const int nZ = wholeDegreeTurn(angularVelocity[2], angleRemainder[2]);
    const int nY = wholeDegreeTurn(angularVelocity[1], angleRemainder[1]);
    const int nX = wholeDegreeTurn(angularVelocity[0], angleRemainder[0]);
    const float sz = SIN_TABLE[nZ], cz = COS_TABLE[nZ];
    const float sy = SIN_TABLE[nY], cy = COS_TABLE[nY];
    const float sx = SIN_TABLE[nX], cx = COS_TABLE[nX];
    // About z, then y, then x: the reverse of the Object's own order, as
    // the show always turned them.
    for (std::size_t at = 0; at < end; at += 3) {
        const float x = colPoints[at], y = colPoints[at + 1], z = colPoints[at + 2];
        const float x1 = x * cz - y * sz;
        const float y1 = x * sz + y * cz;
        const float x2 = x1 * cy - z * sy;
        const float z1 = x1 * sy + z * cy;
        const float y2 = y1 * cx - z1 * sx;
        const float z2 = y1 * sx + z1 * cx;
        colPoints[at] = x2 + position[0];
        colPoints[at + 1] = y2 + position[1];
        colPoints[at + 2] = z2 + position[2];
    }

    if (object != nullptr) {
        object->rotate(nX, nY, nZ);
        object->translate(dx, dy, dz);
    }
}
