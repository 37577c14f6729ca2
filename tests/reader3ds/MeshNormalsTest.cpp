// MeshNormalsTest.cpp: meshes read from small 3DS files: vertex split by
// smoothing group, averaged normals, full triangles, and the guards that keep
// every index handed out inside the vertex arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "reader3ds/Reader3DS.h"
#include "tools/writers/Writer3ds.h"

using r3ds::Vec3;
using writers::Cube;
using writers::makeCube;
using writers::makeFile;
using writers::MeshData;
using writers::Writer3ds;

namespace {

void expectVec(const Vec3& got, const Vec3& want) {
    EXPECT_NEAR(got.x, want.x, 1e-5f);
    EXPECT_NEAR(got.y, want.y, 1e-5f);
    EXPECT_NEAR(got.z, want.z, 1e-5f);
}

// Loads one mesh object and returns the reader holding it.
void loadMesh(Reader3DS& reader, const MeshData& mesh) {
    const auto file = makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "Mesh", mesh); });
    ASSERT_TRUE(reader.LoadFromMemory(file));
    ASSERT_EQ(reader.GetMeshCount(), 1u);
}

}  // namespace

TEST(MeshNormals, CubeWithSixSmoothingValuesSplitsToSideNormals) {
    const Cube cube = makeCube({1, 2, 4, 8, 16, 32});
    Reader3DS reader;
    loadMesh(reader, cube.mesh);
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetVertexCount(), 24u);
    ASSERT_EQ(mesh.GetTriangleCount(), 12u);
    for (unsigned t = 0; t < 12; ++t) {
        const r3ds::Triangle& tri = mesh.GetTriangle(t);
        for (unsigned v : {tri.a, tri.b, tri.c}) {
            expectVec(mesh.GetNormal(v), cube.sideNormal[t]);
        }
    }
}

TEST(MeshNormals, CubeWithOneSmoothingValueKeepsEightAveragedVertices) {
    const Cube cube = makeCube({5, 5, 5, 5, 5, 5});
    Reader3DS reader;
    loadMesh(reader, cube.mesh);
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetVertexCount(), 8u);
    for (unsigned v = 0; v < 8; ++v) {
        // Sum of the side normals of every triangle corner at v.
        Vec3 sum;
        for (std::size_t t = 0; t < cube.mesh.faces.size(); ++t) {
            const auto& f = cube.mesh.faces[t];
            for (unsigned corner : {f.a, f.b, f.c}) {
                if (corner == v) sum = sum + cube.sideNormal[t];
            }
        }
        expectVec(mesh.GetNormal(v), r3ds::Normalize(sum));
    }
}

TEST(MeshNormals, NoSmoothingChunkMeansNoSplit) {
    Cube cube = makeCube({1, 2, 4, 8, 16, 32});
    cube.mesh.smoothingChunk = false;
    Reader3DS reader;
    loadMesh(reader, cube.mesh);
    EXPECT_EQ(reader.GetMesh(0).GetVertexCount(), 8u);
}

TEST(MeshNormals, ValuesSharingABitStillSplit) {
    // Two triangles folded along the shared edge 0-1, smoothing 1 and 3.
    MeshData input;
    input.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    input.faces = {{0, 1, 2, 1}, {1, 0, 3, 3}};
    Reader3DS reader;
    loadMesh(reader, input);
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetVertexCount(), 6u);
    // The two faces now share no vertex, and each keeps its own flat normal.
    const r3ds::Triangle& t0 = mesh.GetTriangle(0);
    const r3ds::Triangle& t1 = mesh.GetTriangle(1);
    const std::set<unsigned> first = {t0.a, t0.b, t0.c};
    for (unsigned v : {t1.a, t1.b, t1.c}) {
        EXPECT_EQ(first.count(v), 0u);
        expectVec(mesh.GetNormal(v), mesh.GetFace(1).normal);
    }
    EXPECT_EQ(t0.a, 0u);  // the first group keeps the original vertex
}

TEST(MeshNormals, UnusedVertexHasZeroNormal) {
    Cube cube = makeCube({1, 1, 1, 1, 1, 1});
    cube.mesh.vertices.push_back({5, 5, 5});
    Reader3DS reader;
    loadMesh(reader, cube.mesh);
    expectVec(reader.GetMesh(0).GetNormal(8), {0, 0, 0});
}

TEST(MeshNormals, FullTriangleFaceNormalIsNegatedSmoothingNormal) {
    const Cube cube = makeCube({1, 2, 4, 8, 16, 32});
    Reader3DS reader;
    loadMesh(reader, cube.mesh);
    const Mesh& mesh = reader.GetMesh(0);
    for (unsigned t = 0; t < mesh.GetTriangleCount(); ++t) {
        const FullTriangle full = mesh.GetFullTriangle(t);
        expectVec(full.faceNormal, -mesh.GetFace(t).normal);
        expectVec(mesh.GetFace(t).normal, cube.sideNormal[t]);
        const r3ds::Triangle& tri = mesh.GetTriangle(t);
        EXPECT_EQ(full.position[1].x, mesh.GetVertex(tri.b).x);
        EXPECT_EQ(full.position[2].w, 1.0f);
    }
}

TEST(MeshNormals, FacesNamingMissingVerticesAreDropped) {
    MeshData input;
    input.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    input.faces = {{0, 1, 2}, {0, 1, 3}, {7, 1, 2}, {2, 1, 0}};
    Reader3DS reader;
    loadMesh(reader, input);
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetTriangleCount(), 2u);
    EXPECT_EQ(mesh.GetTriangle(1).a, 2u);
    for (unsigned t = 0; t < mesh.GetTriangleCount(); ++t) {
        const r3ds::Triangle& tri = mesh.GetTriangle(t);
        EXPECT_LT(std::max({tri.a, tri.b, tri.c}), mesh.GetVertexCount());
    }
}

TEST(MeshNormals, SplitStopsAtSixteenBitVertexLimit) {
    // Vertex 0 is shared by 20 faces of 20 different values, but only six
    // more vertices fit: the split stops there and indices stay valid.
    Mesh mesh;
    mesh.SetVertexArraySize(Mesh::MAX_VERTICES - 6);
    mesh.SetVertex({1, 0, 0, 1}, 1);
    mesh.SetVertex({0, 1, 0, 1}, 2);
    mesh.SetTriangleArraySize(20);
    for (unsigned i = 0; i < 20; ++i) {
        Face face;
        face.a = 0;
        face.b = 1;
        face.c = 2;
        face.smoothing = i + 1;
        mesh.SetFace(face, i);
    }
    mesh.CalcNormals(true);
    ASSERT_EQ(mesh.GetVertexCount(), Mesh::MAX_VERTICES);
    for (unsigned t = 0; t < mesh.GetTriangleCount(); ++t) {
        EXPECT_LT(mesh.GetTriangle(t).a, mesh.GetVertexCount());
    }
    EXPECT_EQ(mesh.GetTriangle(19).a, 0u);  // late groups keep sharing
}

TEST(MeshNormals, MissingTextureCoordinatesGiveZeroTangentsNotNaN) {
    const Cube cube = makeCube({1, 1, 1, 1, 1, 1});
    Reader3DS reader;
    loadMesh(reader, cube.mesh);
    const Mesh& mesh = reader.GetMesh(0);
    for (unsigned v = 0; v < mesh.GetVertexCount(); ++v) {
        expectVec(mesh.GetTangent(v), {0, 0, 0});
        EXPECT_FALSE(std::isnan(mesh.GetBinormal(v).x));
    }
}

TEST(MeshNormals, TextureCoordinatesGiveUnitTangentFrame) {
    MeshData input;
    input.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    input.uvs = {{0, 0}, {1, 0}, {0, 1}, {9, 9}};  // the extra entry is dropped
    input.faces = {{0, 1, 2}};
    Reader3DS reader;
    loadMesh(reader, input);
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetVertexCount(), 3u);
    EXPECT_EQ(mesh.GetUV(1).u, 1.0f);
    const Vec3 t = mesh.GetTangent(0);
    EXPECT_NEAR(t.x * t.x + t.y * t.y + t.z * t.z, 1.0f, 1e-5f);
}

TEST(MeshNormals, TextureCoordinatesWithoutVerticesCreateZeroVertices) {
    MeshData input;
    input.uvs = {{0.5f, 0.25f}, {1, 1}};
    Reader3DS reader;
    loadMesh(reader, input);
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetVertexCount(), 2u);
    EXPECT_EQ(mesh.GetVertex(0).w, 0.0f);
    EXPECT_EQ(mesh.GetUV(0).v, 0.25f);
}

TEST(MeshNormals, LocalMatrixReadIntoFourRows) {
    const auto file = makeFile([](Writer3ds& w) {
        w.chunk(0x4000, [&] {
            w.str("M");
            w.chunk(0x4100, [&] {
                w.chunk(0x4160, [&] {
                    for (int i = 1; i <= 12; ++i) w.f32(static_cast<float>(i));
                });
            });
        });
    });
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(file));
    const std::array<float, 16> want = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 1};
    EXPECT_EQ(reader.GetMesh(0).GetMatrix(), want);
}
