// Mesh.h: one triangle-mesh object of a 3DS file as Reader3DS builds it:
// vertex arrays (positions, normals, binormals, tangents, texture coordinates),
// the triangle list, a per-triangle working record, the local matrix and the
// materials its faces use. Pure computation; no GL.
//
// The model object reads a finished mesh only through GetVertexCount,
// GetTriangleCount, GetVertex, GetNormal, GetTriangle and GetFullTriangle.
// After CalcNormals every triangle names vertices below GetVertexCount, and
// the vertex count never exceeds MAX_VERTICES, so 16-bit indices hold.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "reader3ds/NamedObject.h"
#include "reader3ds/Vectors3DS.h"

// Per-triangle working record.
struct Face {
    std::uint16_t a = 0;
    std::uint16_t b = 0;
    std::uint16_t c = 0;
    std::uint32_t smoothing = 0;  // smoothing-group value, 1 when the file gives none
    r3ds::Vec3 normal;            // unit face normal
    r3ds::Vec3 tangent;           // face tangent, not normalised
    std::uint32_t material = 0;   // position in the mesh's material list
};

// Everything about one triangle, copied out by GetFullTriangle.
struct FullTriangle {
    r3ds::Vec4 position[3];
    r3ds::Vec3 normal[3];
    r3ds::Vec2 uv[3];
    r3ds::Vec3 faceNormal;
    std::uint32_t material = 0;
};

class Mesh : public NamedObject {
public:
    // 16-bit vertex indices address at most this many vertices.
    static constexpr unsigned MAX_VERTICES = 65536;

    Mesh();

    unsigned GetVertexCount() const { return static_cast<unsigned>(vertices.size()); }
    unsigned GetTriangleCount() const { return static_cast<unsigned>(triangles.size()); }

    // Accessors without bounds checks on the index: the caller keeps it below the count.
    const r3ds::Vec4& GetVertex(unsigned index) const { return vertices[index]; }
    const r3ds::Vec3& GetNormal(unsigned index) const { return normals[index]; }
    const r3ds::Vec3& GetTangent(unsigned index) const { return tangents[index]; }
    const r3ds::Vec3& GetBinormal(unsigned index) const { return binormals[index]; }
    const r3ds::Vec2& GetUV(unsigned index) const { return texCoords[index]; }
    const r3ds::Triangle& GetTriangle(unsigned index) const { return triangles[index]; }
    const Face& GetFace(unsigned index) const { return faces[index]; }
    FullTriangle GetFullTriangle(unsigned index) const;

    // Resize every vertex array (or the triangle and face arrays) together;
    // kept entries stay, new ones are zero.
    void SetVertexArraySize(unsigned count);
    void SetTriangleArraySize(unsigned count);

    // Store when the index is inside the array, otherwise do nothing.
    void SetVertex(const r3ds::Vec4& position, unsigned index);
    void SetUV(const r3ds::Vec2& coordinate, unsigned index);
    void SetFace(const Face& face, unsigned index);

    // Appends a material index to the material list; returns its position there.
    unsigned AddMaterial(std::uint32_t materialIndex);
    unsigned GetMaterialCount() const { return static_cast<unsigned>(materialList.size()); }
    std::uint32_t GetMaterialIndex(unsigned position) const { return materialList[position]; }

    void SetMatrix(const std::array<float, 16>& values) { matrix = values; }
    const std::array<float, 16>& GetMatrix() const { return matrix; }

    // Empties every array and the material list; the matrix becomes the identity.
    void Clear();

    // Face normals, vertex split by smoothing group, vertex normals, final triangles.
    void CalcNormals(bool useSmoothingGroups);
    // Face tangents, then per-vertex tangents and binormals.
    void CalcTangents();

private:
    // For every vertex, the faces that use it (one entry per corner), in
    // increasing face order: faces of vertex v are entries[offsets[v]..offsets[v+1]).
    struct VertexFaceLists {
        std::vector<std::uint32_t> offsets;
        std::vector<std::uint32_t> entries;
    };

    VertexFaceLists BuildVertexFaceLists() const;
    void DropFacesOutsideVertices();
    void SplitBySmoothingGroups(const VertexFaceLists& lists);
    bool HasVertex(unsigned index) const { return index < vertices.size(); }

    std::vector<r3ds::Vec4> vertices;
    std::vector<r3ds::Vec3> normals;
    std::vector<r3ds::Vec3> binormals;
    std::vector<r3ds::Vec3> tangents;
    std::vector<r3ds::Vec2> texCoords;
    std::vector<r3ds::Triangle> triangles;
    std::vector<Face> faces;
    std::array<float, 16> matrix;
    std::vector<std::uint32_t> materialList;
};
