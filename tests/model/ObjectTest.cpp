// ObjectTest.cpp: the model object without GL: flattening several meshes
// into one list, scaling, the rotation's sign conventions, turning about the
// moved centre, and what a file that does not load leaves.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "common/ShowGlobals.h"
#include "model/Object.h"
#include "reader3ds/Reader3DS.h"
#include "tools/writers/Writer3ds.h"

using writers::MeshData;
using writers::Writer3ds;

namespace {

class ObjectTest : public testing::Test {
protected:
    void SetUp() override { fillTrigTables(); }
};

// A single triangle at the given vertices, one smoothing group.
MeshData triangle(r3ds::Vec3 a, r3ds::Vec3 b, r3ds::Vec3 c)
{
    MeshData mesh;
    mesh.vertices = {a, b, c};
    mesh.faces = {{0, 1, 2}};
    return mesh;
}

// A square of two triangles in the plane z = `z`, sharing corners 0 and 2.
MeshData square(float z)
{
    MeshData mesh;
    mesh.vertices = {{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    mesh.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    return mesh;
}

// An Object built from two mesh objects written into one file.
void buildTwoMeshes(Object& object, bool hasMaterials)
{
    const auto file = writers::makeFile([&](Writer3ds& w) {
        writers::writeMeshObject(w, "First", triangle({5, 0, 0}, {6, 0, 0}, {5, 1, 0}));
        writers::writeMeshObject(w, "Second", square(2.0f));
    });
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(file));
    ASSERT_EQ(reader.GetMeshCount(), 2u);
    object.buildFrom(reader, hasMaterials);
}

void expectVector(const float* got, float x, float y, float z, float tolerance = 1e-4f)
{
    EXPECT_NEAR(got[0], x, tolerance);
    EXPECT_NEAR(got[1], y, tolerance);
    EXPECT_NEAR(got[2], z, tolerance);
}

}  // namespace

TEST_F(ObjectTest, SecondMeshFacesIndexPastTheFirstMeshVertices)
{
    Object object;
    buildTwoMeshes(object, false);
    ASSERT_EQ(object.vertexCount, 7);
    ASSERT_EQ(object.faceCount, 3);
    ASSERT_EQ(object.positions.size(), 21u);
    // Face 1 is the second mesh's first triangle (0, 1, 2), offset by 3.
    const ObjectFace& face = object.faces[1];
    EXPECT_EQ(face.index[0], 3);
    EXPECT_EQ(face.index[1], 4);
    EXPECT_EQ(face.index[2], 5);
    EXPECT_EQ(object.faces[2].index[2], 6);
    for (int f = 0; f < 3; ++f) {
        for (int k = 0; k < 3; ++k) {
            const int v = object.faces[f].index[k];
            EXPECT_EQ(object.faces[f].position[k], &object.positions[v * 3]);
            EXPECT_EQ(object.faces[f].normal[k], &object.normals[v * 3]);
        }
        EXPECT_EQ(object.faces[f].faceNormal, &object.faceNormals[f * 3]);
    }
    expectVector(face.position[1], 1, 0, 2, 0);
    expectVector(object.faces[0].position[0], 5, 0, 0, 0);
    // The square faces +z or -z; either way its normals are unit and along z.
    EXPECT_NEAR(std::abs(face.faceNormal[2]), 1.0f, 1e-6f);
    EXPECT_NEAR(std::abs(face.normal[0][2]), 1.0f, 1e-6f);
}

TEST_F(ObjectTest, TextureCoordinatesAreCopiedOnlyWhenTheFileHasMaterials)
{
    Object with;
    buildTwoMeshes(with, true);
    // Second mesh, second triangle (0, 2, 3): uvs (0, 0), (1, 1), (0, 1).
    const float* uv = with.faces[2].texCoord;
    EXPECT_FLOAT_EQ(uv[2], 1.0f);
    EXPECT_FLOAT_EQ(uv[3], 1.0f);
    EXPECT_FLOAT_EQ(uv[4], 0.0f);
    EXPECT_FLOAT_EQ(uv[5], 1.0f);

    Object without;
    buildTwoMeshes(without, false);
    for (float value : without.faces[2].texCoord) EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(without.textureB, 0u);
}

TEST_F(ObjectTest, ScaleTwiceScalesBaseAndDrawnEachTimeAndSurvivesSetRotation)
{
    Object object;
    buildTwoMeshes(object, false);
    object.scale(0.5f);
    object.scale(0.5f);
    expectVector(&object.positions[0], 1.25f, 0, 0, 0);
    expectVector(&object.basePositions[0], 1.25f, 0, 0, 0);
    object.setRotation(0, 0, 0);
    expectVector(&object.positions[5 * 3], 0.25f, 0.25f, 0.5f, 0);
    // Normals and the pivot are not scaled.
    EXPECT_NEAR(std::abs(object.normals[5 * 3 + 2]), 1.0f, 1e-6f);
    EXPECT_EQ(object.centre, (std::array<float, 3>{0, 0, 0}));
}

TEST_F(ObjectTest, RotationOfUnitVectorsByNinetyDegreesKeepsTheShowsSigns)
{
    // The tables use 3.1415 for pi, so cos 90 is about 4.6e-5, not 0.
    const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1};
    float out[3];
    rotateVector(90, 0, 0, y, out);  // about x: y goes to +z
    expectVector(out, 0, 0, 1);
    rotateVector(90, 0, 0, z, out);  // and z to -y
    expectVector(out, 0, -1, 0);
    rotateVector(0, 90, 0, x, out);  // about y: x goes to +z (x' = x cos - z sin)
    expectVector(out, 0, 0, 1);
    rotateVector(0, 90, 0, z, out);  // and z to -x
    expectVector(out, -1, 0, 0);
    rotateVector(0, 0, 90, x, out);  // about z: x goes to +y
    expectVector(out, 0, 1, 0);
    rotateVector(0, 0, 90, y, out);  // and y to -x
    expectVector(out, -1, 0, 0);
    // x first, then y, then z: y -> +z (about x) -> -x (about y) -> -y (about z).
    rotateVector(90, 90, 90, y, out);
    expectVector(out, 0, -1, 0);
}

TEST_F(ObjectTest, AnglesOutsideTheTableAreBroughtIntoRangeInsteadOfReadingPastIt)
{
    const float v[3] = {0.3f, -0.7f, 0.2f};
    float inRange[3], outside[3];
    rotateVector(90, 270, 5, v, inRange);
    rotateVector(450, -90, 365 + 720, v, outside);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(outside[i], inRange[i]);
}

TEST_F(ObjectTest, RotateAfterTranslateTurnsAboutTheMovedCentreAndLeavesNormalsUnmoved)
{
    Object object;
    buildTwoMeshes(object, false);
    const float normalBefore[3] = {object.normals[3], object.normals[4], object.normals[5]};
    object.translate(10, 20, 30);
    EXPECT_EQ(object.centre, (std::array<float, 3>{10, 20, 30}));
    expectVector(&object.basePositions[0], 5, 0, 0, 0);  // base untouched
    expectVector(&object.positions[0], 15, 20, 30, 0);
    // Vertex 0 sits 5 along x from the centre; a quarter turn about z puts
    // it 5 along y from the centre, not from the origin.
    object.rotate(0, 0, 90);
    expectVector(&object.positions[0], 10, 25, 30, 1e-3f);
    float turnedNormal[3];
    rotateVector(0, 0, 90, normalBefore, turnedNormal);
    expectVector(&object.normals[3], turnedNormal[0], turnedNormal[1], turnedNormal[2], 0);
    float* vertices = nullptr;
    int count = 0;
    object.getVertices(vertices, count);
    EXPECT_EQ(vertices, object.positions.data());
    EXPECT_EQ(count, 7);
}

TEST_F(ObjectTest, SetRotationZeroCopiesBaseToDrawnExactly)
{
    Object object;
    buildTwoMeshes(object, false);
    object.scale(0.37f);
    object.translate(1, 2, 3);
    object.rotate(33, 200, 7);
    object.setRotation(0, 0, 0);
    for (std::size_t i = 0; i < object.positions.size(); ++i) {
        EXPECT_EQ(object.positions[i], object.basePositions[i]) << i;
        EXPECT_EQ(object.normals[i], object.baseNormals[i]) << i;
    }
    for (std::size_t i = 0; i < object.faceNormals.size(); ++i) {
        EXPECT_EQ(object.faceNormals[i], object.baseFaceNormals[i]) << i;
    }
}

TEST_F(ObjectTest, MovedObjectsFacesStillPointIntoItsArrays)
{
    Object first;
    buildTwoMeshes(first, false);
    Object moved = std::move(first);
    moved.translate(1, 0, 0);
    expectVector(moved.faces[0].position[0], 6, 0, 0, 0);
    EXPECT_EQ(moved.faces[2].position[2], &moved.positions[6 * 3]);
}

TEST_F(ObjectTest, FileThatDoesNotLoadGivesAnEmptyObject)
{
    Object object;
    object.load("data/no-such-model.3ds");
    EXPECT_EQ(object.vertexCount, 0);
    EXPECT_EQ(object.faceCount, 0);
    EXPECT_TRUE(object.positions.empty());
    EXPECT_TRUE(object.faces.empty());
    EXPECT_EQ(object.textureB, 0u);
    object.setRotation(10, 20, 30);  // nothing to turn, nothing to crash
    object.rotate(10, 20, 30);
}

TEST_F(ObjectTest, FileWithoutMaterialsLoadsWithoutTexture)
{
    const auto file = writers::makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "Only", square(0)); });
    const auto path = std::filesystem::temp_directory_path() / "quorl-object-test.3ds";
    ASSERT_TRUE(writers::writeFile(path.string(), file));
    Object object;
    object.load(path.string());
    std::filesystem::remove(path);
    EXPECT_EQ(object.vertexCount, 4);
    EXPECT_EQ(object.faceCount, 2);
    EXPECT_EQ(object.textureB, 0u);
}

TEST_F(ObjectTest, FailedAllocationEndsTheProcessWithAFailureStatus)
{
    std::vector<float> array;
    // More than the address space can hold, but within max_size.
    const std::size_t huge = array.max_size() / 2;
    EXPECT_EXIT(allocateModelArray(array, huge), testing::ExitedWithCode(EXIT_FAILURE), "malloc: ");
}
