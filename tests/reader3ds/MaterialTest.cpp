// MaterialTest.cpp: material blocks: colours, clamped percentages, shading
// codes, texture maps, the reflection map's required file name and the
// renumbering when a material is dropped, and face material groups.
#include <gtest/gtest.h>

#include "reader3ds/Reader3DS.h"
#include "reader3ds/Writer3ds.h"

using test3ds::makeFile;
using test3ds::MeshData;
using test3ds::Writer3ds;

namespace {

void percentChunk(Writer3ds& w, std::uint16_t property, std::int16_t value) {
    w.chunk(property, [&] { w.chunk(0x0030, [&] { w.u16(static_cast<std::uint16_t>(value)); }); });
}

void shadingChunk(Writer3ds& w, std::uint16_t code) {
    w.chunk(0xA100, [&] { w.u16(code); });
}

// A reflection map with a strength and, unless fileName is null, a file name.
void reflectionChunk(Writer3ds& w, const char* fileName) {
    w.chunk(0xA220, [&] {
        w.chunk(0x0030, [&] { w.u16(40); });
        if (fileName) {
            w.chunk(0xA300, [&] { w.str(fileName); });
        }
    });
}

MeshData twoTriangles() {
    MeshData input;
    input.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    input.faces = {{0, 1, 2}, {1, 3, 2}};
    return input;
}

}  // namespace

TEST(Materials, ColoursPercentagesAndShadingAreStored) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        test3ds::writeMaterial(w, "Paint", [&] {
            w.chunk(0xA010, [&] {
                w.chunk(0x0011, [&] {
                    w.u8(255);
                    w.u8(128);
                    w.u8(0);
                });
            });
            w.chunk(0xA020, [&] {
                w.chunk(0x0013, [&] { w.f32s({0.1f, 0.2f, 0.3f}); });
            });
            percentChunk(w, 0xA040, 150);
            percentChunk(w, 0xA050, -20);
            shadingChunk(w, 3);
            shadingChunk(w, 7);  // unknown code: ignored
        });
        test3ds::writeMaterial(w, "Wire", [&] { w.chunk(0xA085); });
    })));
    ASSERT_EQ(reader.GetMaterialCount(), 2u);
    const Material& paint = reader.GetMaterial(0);
    EXPECT_EQ(paint.ambient.r, 1.0f);
    EXPECT_EQ(paint.ambient.g, 0.5019608f);
    EXPECT_EQ(paint.ambient.b, 0.0f);
    EXPECT_EQ(paint.diffuse.b, 0.3f);
    EXPECT_EQ(paint.shininess, 1.0f);
    EXPECT_EQ(paint.transparency, 0.0f);
    EXPECT_EQ(paint.shading, 3u);
    EXPECT_EQ(reader.GetMaterial(1).shading, 0u);
    EXPECT_EQ(reader.GetMaterial(1).GetId(), 1u);
}

TEST(Materials, ShadingCodeSevenKeepsDefault) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        test3ds::writeMaterial(w, "M", [&] { shadingChunk(w, 7); });
    })));
    EXPECT_EQ(reader.GetMaterial(0).shading, 2u);
}

TEST(Materials, TextureMapsReadNameScaleAndOffset) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        test3ds::writeMaterial(w, "Textured", [&] {
            w.chunk(0xA200, [&] {
                w.chunk(0x0030, [&] { w.u16(60); });
                w.chunk(0xA300, [&] { w.str("a-rather-long-texture-name.bmp"); });
                w.chunk(0xA354, [&] { w.f32(2.0f); });
                w.chunk(0xA35A, [&] { w.f32(0.5f); });
                w.chunk(0xA35C, [&] { w.f32(45.0f); });
            });
            w.chunk(0xA230, [&] { w.chunk(0xA300, [&] { w.str("bump.bmp"); }); });
        });
    })));
    const Material& m = reader.GetMaterial(0);
    EXPECT_FLOAT_EQ(m.textureMap1.strength, 0.6f);
    EXPECT_STREQ(m.textureMap1.fileName, "a-rather-long-textu");  // 19 characters kept
    EXPECT_EQ(m.textureMap1.uScale, 2.0f);
    EXPECT_EQ(m.textureMap1.vScale, 1.0f);
    EXPECT_EQ(m.textureMap1.vOffset, 0.5f);
    EXPECT_STREQ(m.bumpMap.fileName, "bump.bmp");
    EXPECT_STREQ(m.textureMap2.fileName, "");
}

TEST(Materials, ReflectionMapWithoutFileNameDropsMaterialAndRenumbers) {
    MeshData input = twoTriangles();
    input.groups = {{"Third", {1}}};
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([&](Writer3ds& w) {
        test3ds::writeMaterial(w, "First");
        test3ds::writeMaterial(w, "Broken", [&] { reflectionChunk(w, nullptr); });
        test3ds::writeMaterial(w, "Third");
        test3ds::writeMeshObject(w, "Quad", input);
    })));
    ASSERT_EQ(reader.GetMaterialCount(), 2u);
    EXPECT_EQ(reader.FindMaterial("Broken"), nullptr);
    ASSERT_NE(reader.FindMaterial("Third"), nullptr);
    EXPECT_EQ(reader.FindMaterial("Third")->GetId(), 1u);
    EXPECT_EQ(reader.GetMesh(0).GetMaterialIndex(0), 1u);
    EXPECT_TRUE(reader.HasDamage(Reader3DS::Damage::DroppedMaterial));
    EXPECT_EQ(reader.GetLastError(), Reader3DS::DamageMessage(Reader3DS::Damage::DroppedMaterial));
}

TEST(Materials, ReflectionMapFileNames) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        test3ds::writeMaterial(w, "Auto", [&] { reflectionChunk(w, ""); });
        test3ds::writeMaterial(w, "Named", [&] { reflectionChunk(w, "sky.bmp"); });
    })));
    ASSERT_EQ(reader.GetMaterialCount(), 2u);
    EXPECT_STREQ(reader.GetMaterial(0).reflectionMap.fileName, "auto");
    EXPECT_FLOAT_EQ(reader.GetMaterial(0).reflectionMap.strength, 0.4f);
    EXPECT_STREQ(reader.GetMaterial(1).reflectionMap.fileName, "sky.bmp");
}

TEST(Materials, DuplicateNamesBothKeptFirstOneFound) {
    MeshData input = twoTriangles();
    input.groups = {{"Same", {0}}};
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([&](Writer3ds& w) {
        test3ds::writeMaterial(w, "Other");
        test3ds::writeMaterial(w, "Same", [&] { shadingChunk(w, 1); });
        test3ds::writeMaterial(w, "Same", [&] { shadingChunk(w, 4); });
        test3ds::writeMeshObject(w, "Quad", input);
    })));
    ASSERT_EQ(reader.GetMaterialCount(), 3u);
    EXPECT_EQ(reader.FindMaterial("Same")->shading, 1u);
    EXPECT_EQ(reader.GetMesh(0).GetMaterialIndex(0), 1u);
}

TEST(FaceGroups, UnknownMaterialAndFaceNumbersOutsideListAreSkipped) {
    MeshData input = twoTriangles();
    input.groups = {{"Nowhere", {0, 1}}, {"Known", {1, 2, 60000}}};
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([&](Writer3ds& w) {
        test3ds::writeMaterial(w, "Other");
        test3ds::writeMaterial(w, "Known");
        test3ds::writeMeshObject(w, "Quad", input);
    })));
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetMaterialCount(), 1u);
    EXPECT_EQ(mesh.GetMaterialIndex(0), 1u);
    EXPECT_EQ(mesh.GetFace(1).material, 0u);
    EXPECT_EQ(mesh.GetTriangleCount(), 2u);
}
