// CollisionWorld.cpp: sub-steps, the pair and wall tests, and the spring
// forces they apply. No GL here.
#include "model/CollisionWorld.h"

#include <cmath>
#include <cstdio>

#include "model/CollisionObject.h"

namespace {

// Points closer than this push each other apart.
constexpr float CONTACT_DISTANCE = 0.1f;
constexpr float CONTACT_DISTANCE_SQUARED = 0.01f;
// Spring stiffness of contacts and walls.
constexpr float STIFFNESS = 5000.0f;
// A point this little below the floor counts as resting on it.
constexpr float FLOOR_TOLERANCE = -1.000003f;

}  // namespace

bool CollisionWorld::add(CollisionObject& body)
{
    if (count >= MAX_BODIES) {
        std::fprintf(stderr, "CollisionWorld: no room for a body beyond %d\n", MAX_BODIES);
        return false;
    }
    bodies[count++] = &body;
    return true;
}

void CollisionWorld::setTimeStep(float dt)
{
    CollisionObject::collisionTimeStep = dt;
}

void CollisionWorld::step(int iterations)
{
    if (first) {
        // Bodies placed overlapping get only half of their first push.
        first = false;
        collide();
        for (int i = 0; i < count; ++i) {
            for (float& v : bodies[i]->velocity) v *= 0.5f;
            for (float& w : bodies[i]->angularVelocity) w *= 0.5f;
        }
    }
    for (int n = 0; n < iterations; ++n) {
        for (int i = 0; i < count; ++i) bodies[i]->integrate();
        collide();
    }
}

void CollisionWorld::collide()
{
    for (int i = 0; i < count; ++i) {
        CollisionObject& a = *bodies[i];
        const int pointsA = a.activePoints();
        for (int j = i + 1; j < count; ++j) {
            CollisionObject& b = *bodies[j];
            const float dx = a.position[0] - b.position[0];
            const float dy = a.position[1] - b.position[1];
            const float dz = a.position[2] - b.position[2];
            // The radius sum against the squared distance: a sum of 0.5
            // lets bodies interact within about 0.707 of each other.
            if (!(a.radius + b.radius > dx * dx + dy * dy + dz * dz)) continue;
            const int pointsB = b.activePoints();
            for (int pi = 0; pi < pointsA; ++pi) {
                const float* p = &a.colPoints[static_cast<std::size_t>(pi) * 3];
                for (int qi = 0; qi < pointsB; ++qi) {
                    const float* q = &b.colPoints[static_cast<std::size_t>(qi) * 3];
                    const float gx = p[0] - q[0];
                    const float gy = p[1] - q[1];
                    const float gz = p[2] - q[2];
                    float g = gx * gx + gy * gy + gz * gz;
                    if (g < CONTACT_DISTANCE_SQUARED) {
                        if (g == 0.0f) g = 0.00001f;
                        contact(a, b, p, q, g);
                    }
                }
            }
        }
    }

    for (int i = 0; i < count; ++i) {
        CollisionObject& body = *bodies[i];
        const auto& c = body.position;
        const float r = body.boundRadius;
        const bool nearWall = c[0] - r < ROOM_MIN_X || c[0] + r > ROOM_MAX_X || c[1] - r < ROOM_MIN_Y ||
                              c[1] + r > ROOM_MAX_Y || c[2] - r < ROOM_MIN_Z || c[2] + r > ROOM_MAX_Z;
        if (!nearWall) continue;
        const int points = body.activePoints();
        for (int pi = 0; pi < points; ++pi) {
            const float* p = &body.colPoints[static_cast<std::size_t>(pi) * 3];
            const bool outside = p[0] < ROOM_MIN_X || p[0] > ROOM_MAX_X || p[1] < ROOM_MIN_Y ||
                                 p[1] > ROOM_MAX_Y || p[2] < ROOM_MIN_Z || p[2] > ROOM_MAX_Z;
            if (outside) wallResponse(body, p);
        }
    }
}

void CollisionWorld::contact(CollisionObject& a, CollisionObject& b, const float* p, const float* q, float g)
{
    const float k = (CONTACT_DISTANCE - std::sqrt(g)) * STIFFNESS;
    const float d[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
    // The squared length and the force's size in double: two points a hair
    // apart would otherwise give an infinite force, and two at the same
    // place (no direction at all) give no force.
    const double lengthSquared = static_cast<double>(d[0]) * d[0] + static_cast<double>(d[1]) * d[1] +
                                 static_cast<double>(d[2]) * d[2];
    if (lengthSquared == 0.0) return;
    const double m = std::sqrt(static_cast<double>(k) * k / lengthSquared);
    const float fx = static_cast<float>(m * d[0]);
    const float fy = static_cast<float>(m * d[1]);
    const float fz = static_cast<float>(m * d[2]);

    // On B, at its point q, away from A's point.
    const float bx = q[0] - b.position[0], by = q[1] - b.position[1], bz = q[2] - b.position[2];
    b.applyTorque(bz * fy - by * fz, bx * fz - bz * fx, bx * fy - by * fx);
    b.applyForce(fx, fy, fz);
    b.hit = true;

    // On A, at its point p, the opposite force.
    const float ax = p[0] - a.position[0], ay = p[1] - a.position[1], az = p[2] - a.position[2];
    a.applyTorque(ay * fz - az * fy, az * fx - ax * fz, ay * fx - ax * fy);
    a.applyForce(-fx, -fy, -fz);
    a.hit = true;
}

void CollisionWorld::wallResponse(CollisionObject& body, const float* p)
{
    // Read the point before any response: the cases all look at the same place.
    const float px = p[0], py = p[1], pz = p[2];
    const float rx = px - body.position[0];
    const float ry = py - body.position[1];
    const float rz = pz - body.position[2];
    if (py < ROOM_MIN_Y) {
        const float e = (py - ROOM_MIN_Y) * STIFFNESS;
        body.applyForce(0.0f, -e, 0.0f);
        body.applyTorque(rz * e, 0.0f, -rx * e);
    }
    if (py > ROOM_MAX_Y) {
        const float e = (py - ROOM_MAX_Y) * STIFFNESS;
        body.applyForce(0.0f, -e, 0.0f);
        body.applyTorque(rz * e, 0.0f, -rx * e);
    }
    if (px > ROOM_MAX_X) {
        const float e = (px - ROOM_MAX_X) * STIFFNESS;
        body.applyForce(-e, 0.0f, 0.0f);
        body.applyTorque(0.0f, rz * e, ry * e);
    }
    if (px < ROOM_MIN_X) {
        const float e = (px - ROOM_MIN_X) * STIFFNESS;
        body.applyForce(-e, 0.0f, 0.0f);
        body.applyTorque(0.0f, rz * e, ry * e);
    }
    if (pz > ROOM_MAX_Z) {
        const float e = (pz - ROOM_MAX_Z) * STIFFNESS;
        body.applyForce(0.0f, 0.0f, -e);
        body.applyTorque(-ry * e, -rx * e, 0.0f);
    }
    if (pz < ROOM_MIN_Z) {
        if (pz > FLOOR_TOLERANCE) body.onFloor = true;
        const float e = (pz - ROOM_MIN_Z) * STIFFNESS;
        body.applyForce(0.0f, 0.0f, -e);
        body.applyTorque(-ry * e, -rx * e, 0.0f);
    }
    body.hit = true;
}
