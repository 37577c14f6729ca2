// CollisionWorld.h: the bodies of the fish-and-boxes part and their sub-steps.
//
// Holds up to five CollisionObjects (not owned) in the order they were
// added. Each sub-step integrates every body, then pushes apart pairs of
// points closer than 0.1 with a spring of stiffness 5000 and pushes points
// that left the room back in. The torques are not the plain cross product
// r x F: their y component is negated to match the bodies' y turn, and the
// contact torques have their x component negated too; the bodies' look of
// tumbling comes from exactly these formulas.
//
// Pure computation: no GL, no SDL.
#pragma once

#include <array>

class CollisionObject;

class CollisionWorld {
public:
    static constexpr int MAX_BODIES = 5;

    std::array<CollisionObject*, MAX_BODIES> bodies{};  // in the order added, not owned
    int count = 0;
    bool first = true;  // cleared by the first step

    // Appends a body. A sixth body is refused with a message and false.
    bool add(CollisionObject& body);
    // Sets the time step of every body's sub-step.
    void setTimeStep(float dt);
    // `iterations` sub-steps; the very first call also runs one collide
    // pass and halves every body's speeds before them.
    void step(int iterations);

    // Spring forces between close points of every near pair of bodies, then
    // between the room's walls and the points outside it.
    void collide();
    // Pushes B's point q away from A's point p (squared distance g).
    void contact(CollisionObject& a, CollisionObject& b, const float* p, const float* q, float g);
    // Pushes a point that left the room back toward it.
    void wallResponse(CollisionObject& body, const float* p);
};
