// mesh.cpp: mesh building helpers and atlas coordinates.
#include "mesh.h"

#include <cmath>

namespace content {

// Zero vectors stay zero (degenerate faces have no direction).
Vec3 normalized(Vec3 v) {
    const double len = std::sqrt(dot(v, v));
    return len > 0.0 ? v * (1.0 / len) : v;
}

uint16_t Mesh::addVertex(Vec3 p, Vec2 uv) {
    vertices.push_back(p);
    uvs.push_back(uv);
    return static_cast<uint16_t>(vertices.size() - 1);
}

void Mesh::addTriangle(uint16_t a, uint16_t b, uint16_t c, uint32_t smoothing) {
    faces.push_back(Face{a, b, c, smoothing});
}

void Mesh::addQuad(uint16_t a, uint16_t b, uint16_t c, uint16_t d, uint32_t smoothing) {
    addTriangle(a, b, c, smoothing);
    addTriangle(c, d, a, smoothing);
}

// The quad's normal is summed over both triangles, so slightly bent quads
// are judged as a whole.
void Mesh::addQuadFacing(uint16_t a, uint16_t b, uint16_t c, uint16_t d, Vec3 outward, uint32_t smoothing) {
    const Vec3 n = cross(vertices[b] - vertices[a], vertices[c] - vertices[a]) +
                   cross(vertices[c] - vertices[a], vertices[d] - vertices[a]);
    if (dot(n, outward) >= 0.0) addQuad(a, b, c, d, smoothing);
    else addQuad(a, d, c, b, smoothing);  // the same two drawn edges, a-b and a-d
}

// Listed vertices keep their listed order (repeats are ignored); the rest
// follow in their old order.
void Mesh::moveVerticesToFront(const std::vector<uint16_t>& first) {
    const size_t n = vertices.size();
    std::vector<int> newIndex(n, -1);
    std::vector<uint16_t> order;
    order.reserve(n);
    for (const uint16_t v : first) {
        if (newIndex[v] >= 0) continue;
        newIndex[v] = static_cast<int>(order.size());
        order.push_back(v);
    }
    for (size_t v = 0; v < n; ++v) {
        if (newIndex[v] >= 0) continue;
        newIndex[v] = static_cast<int>(order.size());
        order.push_back(static_cast<uint16_t>(v));
    }
    std::vector<Vec3> positions(n);
    std::vector<Vec2> coords(n);
    for (size_t i = 0; i < n; ++i) {
        positions[i] = vertices[order[i]];
        coords[i] = uvs[order[i]];
    }
    vertices = std::move(positions);
    uvs = std::move(coords);
    for (Face& f : faces) {
        f.a = static_cast<uint16_t>(newIndex[f.a]);
        f.b = static_cast<uint16_t>(newIndex[f.b]);
        f.c = static_cast<uint16_t>(newIndex[f.c]);
    }
}

Vec2 atlasUv(const AtlasRegion& region, double fx, double fy) {
    // Stay inside the region and two pixels away from its border, so
    // filtering never reaches into the neighbouring region.
    constexpr double inset = 2.0;
    fx = fx < 0.0 ? 0.0 : (fx > 1.0 ? 1.0 : fx);
    fy = fy < 0.0 ? 0.0 : (fy > 1.0 ? 1.0 : fy);
    const double px = region.x + inset + fx * (region.w - 2.0 * inset);
    const double py = region.y + inset + fy * (region.h - 2.0 * inset);
    return {1.0 - px / ATLAS_SIZE, py / ATLAS_SIZE};
}

}  // namespace content
