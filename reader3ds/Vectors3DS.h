// Vectors3DS.h: the small value types of the 3DS reader (positions, normals,
// texture coordinates, index triples) and the vector math its post-processing
// uses. Plain structs of floats, no dependencies beyond <cmath>.
//
// They live in namespace r3ds so that other subsystems of the show can have
// their own vector types under the same short names.
#pragma once

#include <cmath>
#include <cstdint>

namespace r3ds {

// Texture coordinate as stored in the file.
struct Vec2 {
    float u = 0.0f;
    float v = 0.0f;
};

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Position with w; w is 1.0 for every vertex given by a vertex list.
struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

// Vertex indices of one triangle. 16 bits, as in the file.
struct Triangle {
    std::uint16_t a = 0;
    std::uint16_t b = 0;
    std::uint16_t c = 0;
};

inline Vec3 operator+(const Vec3& p, const Vec3& q) { return {p.x + q.x, p.y + q.y, p.z + q.z}; }
inline Vec3 operator-(const Vec3& p, const Vec3& q) { return {p.x - q.x, p.y - q.y, p.z - q.z}; }
inline Vec3 operator-(const Vec3& p) { return {-p.x, -p.y, -p.z}; }
inline Vec3 XYZ(const Vec4& p) { return {p.x, p.y, p.z}; }

// (p × q), written out in the order the normals are defined with.
inline Vec3 Cross(const Vec3& p, const Vec3& q) {
    return {p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
}

// Unit vector; a zero vector comes back unchanged so that degenerate faces
// contribute nothing instead of NaNs. The reciprocal is taken once.
inline Vec3 Normalize(const Vec3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f) {
        return v;
    }
    const float inverse = 1.0f / length;
    return {v.x * inverse, v.y * inverse, v.z * inverse};
}

}  // namespace r3ds
