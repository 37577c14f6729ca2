// content_reader3ds_test.cpp: the show's three model files load through the
// show's own 3DS reader with the meshes, vertex, triangle and material counts
// the generator puts in them (vertex counts after the smoothing-group split).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader3ds/Reader3DS.h"

namespace {

struct MeshCounts {
    std::string name;
    unsigned vertices;
    unsigned triangles;
};

void expectModel(const std::string& path, const std::vector<MeshCounts>& meshes, const std::string& material)
{
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFile(path)) << path << ": " << reader.GetLastError();
    ASSERT_EQ(reader.GetMeshCount(), meshes.size()) << path;
    for (unsigned i = 0; i < meshes.size(); ++i) {
        const Mesh& mesh = reader.GetMesh(i);
        EXPECT_EQ(mesh.GetName(), meshes[i].name) << path;
        EXPECT_EQ(mesh.GetVertexCount(), meshes[i].vertices) << path << " " << meshes[i].name;
        EXPECT_EQ(mesh.GetTriangleCount(), meshes[i].triangles) << path << " " << meshes[i].name;
        EXPECT_EQ(mesh.GetMaterialCount(), 1u) << path << " " << meshes[i].name;
    }
    ASSERT_EQ(reader.GetMaterialCount(), 1u) << path;
    EXPECT_EQ(reader.GetMaterial(0).GetName(), material) << path;
}

}  // namespace

TEST(ContentModels, LoadThroughTheShowsReaderWithTheGeneratedCounts)
{
    expectModel("data/allt.3ds", {{"Knot", 1056, 2112}, {"Band", 864, 864}, {"Core", 150, 192}}, "Sculpture");
    expectModel("data/fish.3ds", {{"Fish", 432, 804}}, "FishSkin");
    expectModel("data/boxtex.3ds", {{"Box", 24, 12}}, "CrateMetal");
}
