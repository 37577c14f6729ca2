// Mesh.cpp: the mesh record's accessors and its post-processing: face
// normals, the split of vertices shared by faces of different smoothing
// groups, averaged vertex normals and the tangent frame. Needs only the
// standard library.
#include "reader3ds/Mesh.h"

#include <algorithm>
#include <utility>

using r3ds::Cross;
using r3ds::Normalize;
using r3ds::Vec3;
using r3ds::XYZ;

namespace {

constexpr std::array<float, 16> IDENTITY = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                                            0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};

// Component of a vector by axis number 0, 1, 2.
float Axis(const r3ds::Vec4& v, int axis) { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }

void SetAxis(Vec3& v, int axis, float value) {
    if (axis == 0) {
        v.x = value;
    } else if (axis == 1) {
        v.y = value;
    } else {
        v.z = value;
    }
}

}  // namespace

Mesh::Mesh() : matrix(IDENTITY) {}

FullTriangle Mesh::GetFullTriangle(unsigned index) const {
    const r3ds::Triangle& t = triangles[index];
    const std::uint16_t corners[3] = {t.a, t.b, t.c};
    FullTriangle full;
    for (int k = 0; k < 3; ++k) {
        // Finished meshes only name existing vertices; a mesh handed out
        // before its post-processing still must not read outside the arrays.
        if (HasVertex(corners[k])) {
            full.position[k] = vertices[corners[k]];
            full.normal[k] = normals[corners[k]];
            full.uv[k] = texCoords[corners[k]];
        }
    }
    const Vec3 a = XYZ(full.position[0]);
    const Vec3 b = XYZ(full.position[1]);
    const Vec3 c = XYZ(full.position[2]);
    // Opposite winding to the normal CalcNormals averages: this is the one
    // the model object lights its faces with.
    full.faceNormal = Normalize(Cross(c - b, b - a));
    full.material = faces[index].material;
    return full;
}

void Mesh::SetVertexArraySize(unsigned count) {
    vertices.resize(count);
    normals.resize(count);
    binormals.resize(count);
    tangents.resize(count);
    texCoords.resize(count);
}

void Mesh::SetTriangleArraySize(unsigned count) {
    triangles.resize(count);
    faces.resize(count);
}

void Mesh::SetVertex(const r3ds::Vec4& position, unsigned index) {
    if (index < vertices.size()) {
        vertices[index] = position;
    }
}

void Mesh::SetUV(const r3ds::Vec2& coordinate, unsigned index) {
    if (index < texCoords.size()) {
        texCoords[index] = coordinate;
    }
}

void Mesh::SetFace(const Face& face, unsigned index) {
    if (index < faces.size()) {
        faces[index] = face;
    }
}

unsigned Mesh::AddMaterial(std::uint32_t materialIndex) {
    materialList.push_back(materialIndex);
    return static_cast<unsigned>(materialList.size() - 1);
}

void Mesh::Clear() {
    vertices.clear();
    normals.clear();
    binormals.clear();
    tangents.clear();
    texCoords.clear();
    triangles.clear();
    faces.clear();
    materialList.clear();
    matrix = IDENTITY;
}

// Removes faces that name a vertex at or beyond the vertex count, together
// with their triangle entries, so nothing downstream indexes outside the arrays.
void Mesh::DropFacesOutsideVertices() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const Face& f = faces[i];
        if (HasVertex(f.a) && HasVertex(f.b) && HasVertex(f.c)) {
            faces[kept] = faces[i];
            triangles[kept] = triangles[i];
            ++kept;
        }
    }
    faces.resize(kept);
    triangles.resize(kept);
}

// Counting pass, prefix sums, then a fill pass in face order, so each
// vertex's list comes out in increasing face order with one entry per corner.
Mesh::VertexFaceLists Mesh::BuildVertexFaceLists() const {
    VertexFaceLists lists;
    lists.offsets.assign(vertices.size() + 1, 0);
    for (const Face& f : faces) {
        ++lists.offsets[f.a + 1];
        ++lists.offsets[f.b + 1];
        ++lists.offsets[f.c + 1];
    }
    for (std::size_t v = 0; v < vertices.size(); ++v) {
        lists.offsets[v + 1] += lists.offsets[v];
    }
    lists.entries.resize(lists.offsets.back());
    std::vector<std::uint32_t> next(lists.offsets.begin(), lists.offsets.end() - 1);
    for (std::uint32_t i = 0; i < faces.size(); ++i) {
        lists.entries[next[faces[i].a]++] = i;
        lists.entries[next[faces[i].b]++] = i;
        lists.entries[next[faces[i].c]++] = i;
    }
    return lists;
}

// Gives each smoothing group after the first at a vertex its own copy of the
// vertex. Only equal values smooth together (1 and 3 are different groups).
// Copies stop once the mesh reaches MAX_VERTICES; the remaining groups keep
// sharing their vertex so that every index still fits in 16 bits.
void Mesh::SplitBySmoothingGroups(const VertexFaceLists& lists) {
    const std::size_t originalCount = vertices.size();
    std::vector<std::pair<std::uint32_t, std::uint32_t>> keyed;  // (smoothing, list position)
    struct Group {
        std::uint32_t firstPosition;
        std::uint32_t begin;  // range in keyed
        std::uint32_t end;
    };
    std::vector<Group> groups;

    for (std::size_t v = 0; v < originalCount; ++v) {
        const std::uint32_t begin = lists.offsets[v];
        const std::uint32_t end = lists.offsets[v + 1];
        if (end - begin < 2) {
            continue;
        }
        const std::uint32_t firstValue = faces[lists.entries[begin]].smoothing;
        const bool oneGroup = std::all_of(lists.entries.begin() + begin, lists.entries.begin() + end,
                                          [&](std::uint32_t f) { return faces[f].smoothing == firstValue; });
        if (oneGroup) {
            continue;
        }

        // Sorting by (value, position) puts each group in one run whose first
        // element is the group's first appearance in the vertex's list.
        keyed.clear();
        for (std::uint32_t p = begin; p < end; ++p) {
            keyed.emplace_back(faces[lists.entries[p]].smoothing, p - begin);
        }
        std::sort(keyed.begin(), keyed.end());
        groups.clear();
        for (std::uint32_t q = 0; q < keyed.size(); ++q) {
            if (q == 0 || keyed[q].first != keyed[q - 1].first) {
                groups.push_back({keyed[q].second, q, q});
            }
            groups.back().end = q + 1;
        }
        std::sort(groups.begin(), groups.end(),
                  [](const Group& l, const Group& r) { return l.firstPosition < r.firstPosition; });

        for (std::size_t g = 1; g < groups.size(); ++g) {
            if (vertices.size() >= MAX_VERTICES) {
                return;
            }
            // Copy through locals: push_back of an element of the same vector.
            const r3ds::Vec4 position = vertices[v];
            const Vec3 normal = normals[v];
            const r3ds::Vec2 uv = texCoords[v];
            const Vec3 tangent = tangents[v];
            const Vec3 binormal = binormals[v];
            vertices.push_back(position);
            normals.push_back(normal);
            texCoords.push_back(uv);
            tangents.push_back(tangent);
            binormals.push_back(binormal);
            const auto k = static_cast<std::uint16_t>(vertices.size() - 1);
            for (std::uint32_t q = groups[g].begin; q < groups[g].end; ++q) {
                Face& f = faces[lists.entries[begin + keyed[q].second]];
                if (f.a == v) f.a = k;
                if (f.b == v) f.b = k;
                if (f.c == v) f.c = k;
            }
        }
    }
}

void Mesh::CalcNormals(bool useSmoothingGroups) {
    DropFacesOutsideVertices();

    // (B - C) x (B - A) is (B - A) x (C - A): outward for counter-clockwise
    // corners. A zero-area face keeps a zero normal and adds nothing below.
    for (Face& f : faces) {
        const Vec3 a = XYZ(vertices[f.a]);
        const Vec3 b = XYZ(vertices[f.b]);
        const Vec3 c = XYZ(vertices[f.c]);
        f.normal = Normalize(Cross(b - c, b - a));
    }

    // The split only copies vertices and renames corners; the face normals
    // just computed stay valid.
    if (useSmoothingGroups) {
        SplitBySmoothingGroups(BuildVertexFaceLists());
    }

    // A face listed twice at a vertex counts twice; an unused vertex sums to
    // zero and Normalize leaves it at (0, 0, 0).
    const VertexFaceLists lists = BuildVertexFaceLists();
    for (std::size_t v = 0; v < vertices.size(); ++v) {
        Vec3 sum;
        for (std::uint32_t p = lists.offsets[v]; p < lists.offsets[v + 1]; ++p) {
            sum = sum + faces[lists.entries[p]].normal;
        }
        normals[v] = Normalize(sum);
    }

    for (std::size_t i = 0; i < faces.size(); ++i) {
        triangles[i] = {faces[i].a, faces[i].b, faces[i].c};
    }
}

void Mesh::CalcTangents() {
    DropFacesOutsideVertices();

    // Per axis, the plane through the three (position, u, v) points gives how
    // that coordinate changes with u: -q.y / q.x of the plane's normal q.
    for (Face& f : faces) {
        const r3ds::Vec4& pa = vertices[f.a];
        const r3ds::Vec4& pb = vertices[f.b];
        const r3ds::Vec4& pc = vertices[f.c];
        const r3ds::Vec2& ta = texCoords[f.a];
        const r3ds::Vec2& tb = texCoords[f.b];
        const r3ds::Vec2& tc = texCoords[f.c];
        for (int axis = 0; axis < 3; ++axis) {
            const Vec3 e1 = {Axis(pb, axis) - Axis(pa, axis), tb.u - ta.u, tb.v - ta.v};
            const Vec3 e2 = {Axis(pc, axis) - Axis(pa, axis), tc.u - ta.u, tc.v - ta.v};
            const Vec3 q = Cross(e1, e2);
            // Degenerate texture coordinates (any mesh without them) give
            // q.x = 0: no tangent rather than a division by zero.
            SetAxis(f.tangent, axis, q.x == 0.0f ? 0.0f : -q.y / q.x);
        }
    }

    // Vertex tangents average their faces like the normals; the binormal
    // completes the frame with the vertex normal.
    const VertexFaceLists lists = BuildVertexFaceLists();
    for (std::size_t v = 0; v < vertices.size(); ++v) {
        Vec3 sum;
        for (std::uint32_t p = lists.offsets[v]; p < lists.offsets[v + 1]; ++p) {
            sum = sum + faces[lists.entries[p]].tangent;
        }
        tangents[v] = Normalize(sum);
        binormals[v] = Normalize(Cross(tangents[v], normals[v]));
    }
}
