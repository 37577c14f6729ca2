// ObjectProjections.h: the per-corner arithmetic of the model's draw modes,
// kept apart from GL so that it can be tested without a context: texture
// coordinates of the environment mode and the planar shadow projection.
#pragma once

#include <array>
#include <cmath>

// Texture coordinate (s, t) of the environment mode for a corner with
// normal n, seen along the unit view vector. Each coordinate comes from the
// normal's angle to the view in one plane (xz for s, yz for t) and is
// folded onto the half of the texture given by the normal's sign. A normal
// with no extent in a plane (0/0, or a negative cosine) reads as 0.
inline void envMapCoord(const float* n, const std::array<float, 3>& view, float& s, float& t)
{
    const float x = n[0], y = n[1], z = n[2];
    float b = (z * view[2] + x * view[0]) / std::sqrt(x * x + z * z);
    if (!(b >= 0.0f)) b = 0.0f;  // below 0, or not a number
    float a = (z * view[2] + y * view[1]) / std::sqrt(y * y + z * z);
    if (!(a >= 0.0f)) a = 0.0f;
    s = x >= 0.0f ? b / 2.0f : 1.0f - b / 2.0f;
    t = y >= 0.0f ? a / 2.0f : 1.0f - a / 2.0f;
}

// A light in the floor's plane (z equal to 0) would send every shadow to
// infinity: such a light casts none.
inline bool lightCastsShadows(const std::array<float, 3>& light) { return light[2] != 0.0f; }

// Whether a face with these corners casts a shadow on the floor at height
// `floor`: all corners strictly above it, or every face when `allFaces`.
inline bool castsShadow(const float* p0, const float* p1, const float* p2, float floor, bool allFaces)
{
    return allFaces || (p0[2] > floor && p1[2] > floor && p2[2] > floor);
}

// The point where the line through p along the light vector meets the
// floor plane z = floor. Needs light[2] != 0.
inline std::array<float, 3> projectToFloor(const float* p, const std::array<float, 3>& light, float floor)
{
    const float d = (p[2] - floor) / light[2];
    return {p[0] - d * light[0], p[1] - d * light[1], floor};
}
