// mesh.h: triangle meshes and materials as the generator builds them, and the
// box3.bmp atlas regions that the textured models map into.
//
// Coordinates are model units (the show scales them down: 0.003 to 0.012).
// Faces are counter-clockwise seen from outside. Smoothing groups are bit
// masks as in 3DS files; faces of different groups get hard edges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace content {

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 normalized(Vec3 v);

struct Vec2 {
    double u = 0.0, v = 0.0;
};

struct Face {
    uint16_t a = 0, b = 0, c = 0;
    uint32_t smoothing = 1;
};

struct Mesh {
    std::string name;
    std::string material;  // every face of the mesh uses this material
    std::vector<Vec3> vertices;
    std::vector<Vec2> uvs;  // one per vertex
    std::vector<Face> faces;

    uint16_t addVertex(Vec3 p, Vec2 uv = {});
    void addTriangle(uint16_t a, uint16_t b, uint16_t c, uint32_t smoothing);
    // Two triangles for the quad a-b-c-d (counter-clockwise). They are
    // ordered (a, b, c), (c, d, a) so that the show's line drawing, which
    // pairs consecutive corners, draws the edges a-b and d-a of every quad:
    // a grid of quads then reads as a clean wire grid.
    void addQuad(uint16_t a, uint16_t b, uint16_t c, uint16_t d, uint32_t smoothing);
    // The same, wound so that the quad faces along outward.
    void addQuadFacing(uint16_t a, uint16_t b, uint16_t c, uint16_t d, Vec3 outward, uint32_t smoothing);
    // Put the listed vertices first, in that order, keeping the faces intact.
    void moveVerticesToFront(const std::vector<uint16_t>& first);
};

struct Material {
    std::string name;  // at most 19 characters: face groups name it that way
    Rgb ambient, diffuse, specular;
    double shininess = 0.3;  // 0..1
    std::string textureFile;
};

struct ModelFile {
    std::string file;
    std::vector<Material> materials;
    std::vector<Mesh> meshes;
};

// Regions of box3.bmp, in pixels of the picture as seen (top-left origin).
struct AtlasRegion {
    int x, y, w, h;
};
inline constexpr int ATLAS_SIZE = 512;
inline constexpr AtlasRegion ATLAS_CRATE{0, 0, 256, 256};   // a box side
inline constexpr AtlasRegion ATLAS_FIN{256, 0, 256, 256};   // fish fins
inline constexpr AtlasRegion ATLAS_SKIN{0, 256, 512, 256};  // fish body, seen from the side

// Texture coordinate of the point (fx, fy) in 0..1 across and down a region.
// The show uploads a BMP turned by 180 degrees (first texture row = the top
// row of the picture, running right to left), so s runs right to left.
Vec2 atlasUv(const AtlasRegion& region, double fx, double fy);

}  // namespace content
