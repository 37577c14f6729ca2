// MaterialTest.cpp: material blocks: colours, clamped percentages, shading
// codes, texture maps, the reflection map's required file name and the
// renumbering when a material is dropped, and face material groups.
#include <gtest/gtest.h>

#include <string>

#include "reader3ds/Reader3DS.h"
#include "tools/writers/Writer3ds.h"

using writers::makeFile;
using writers::MeshData;
using writers::Writer3ds;

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
        writers::writeMaterial(w, "Paint", [&] {
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
        writers::writeMaterial(w, "Wire", [&] { w.chunk(0xA085); });
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

// Every field the reader fills gets a value no other field has, so a value
// stored in the wrong field (specular into diffuse, one map's scale into
// another's) shows as a mismatch here.
TEST(Materials, EveryFieldLandsInItsOwnPlace) {
    const std::uint16_t mapIds[5] = {0xA200, 0xA33A, 0xA210, 0xA230, 0xA204};
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([&](Writer3ds& w) {
        writers::writeMaterial(w, "Every", [&] {
            w.chunk(0xA010, [&] { w.chunk(0x0010, [&] { w.f32s({0.11f, 0.12f, 0.13f}); }); });
            w.chunk(0xA020, [&] { w.chunk(0x0010, [&] { w.f32s({0.21f, 0.22f, 0.23f}); }); });
            w.chunk(0xA030, [&] { w.chunk(0x0010, [&] { w.f32s({0.31f, 0.32f, 0.33f}); }); });
            percentChunk(w, 0xA040, 41);
            percentChunk(w, 0xA050, 51);
            shadingChunk(w, 4);
            for (int i = 0; i < 5; ++i) {
                w.chunk(mapIds[i], [&] {
                    w.chunk(0x0030, [&] { w.u16(static_cast<std::uint16_t>(10 + i)); });
                    w.chunk(0xA300, [&] { w.str("map" + std::to_string(i) + ".bmp"); });
                    w.chunk(0xA354, [&] { w.f32(2.0f + i); });
                    w.chunk(0xA356, [&] { w.f32(3.0f + i); });
                    w.chunk(0xA358, [&] { w.f32(0.25f + i); });
                    w.chunk(0xA35A, [&] { w.f32(0.75f + i); });
                });
            }
            reflectionChunk(w, "mirror.bmp");
        });
    })));
    ASSERT_EQ(reader.GetMaterialCount(), 1u);
    const Material& m = reader.GetMaterial(0);
    EXPECT_EQ(m.GetName(), "Every");
    const auto expectColour = [](const Color3& c, float r, float g, float b, const char* field) {
        EXPECT_FLOAT_EQ(c.r, r) << field;
        EXPECT_FLOAT_EQ(c.g, g) << field;
        EXPECT_FLOAT_EQ(c.b, b) << field;
    };
    expectColour(m.ambient, 0.11f, 0.12f, 0.13f, "ambient");
    expectColour(m.diffuse, 0.21f, 0.22f, 0.23f, "diffuse");
    expectColour(m.specular, 0.31f, 0.32f, 0.33f, "specular");
    EXPECT_FLOAT_EQ(m.shininess, 0.41f);
    EXPECT_FLOAT_EQ(m.transparency, 0.51f);
    EXPECT_EQ(m.shading, 4u);
    const TextureMap* const maps[5] = {&m.textureMap1, &m.textureMap2, &m.opacityMap, &m.bumpMap, &m.specularMap};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE("map chunk " + std::to_string(mapIds[i]));
        EXPECT_FLOAT_EQ(maps[i]->strength, (10 + i) / 100.0f);
        EXPECT_EQ(std::string(maps[i]->fileName), "map" + std::to_string(i) + ".bmp");
        EXPECT_FLOAT_EQ(maps[i]->uScale, 2.0f + i);
        EXPECT_FLOAT_EQ(maps[i]->vScale, 3.0f + i);
        EXPECT_FLOAT_EQ(maps[i]->uOffset, 0.25f + i);
        EXPECT_FLOAT_EQ(maps[i]->vOffset, 0.75f + i);
    }
    EXPECT_FLOAT_EQ(m.reflectionMap.strength, 0.4f);
    EXPECT_STREQ(m.reflectionMap.fileName, "mirror.bmp");
}

TEST(Materials, ShadingCodeSevenKeepsDefault) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        writers::writeMaterial(w, "M", [&] { shadingChunk(w, 7); });
    })));
    EXPECT_EQ(reader.GetMaterial(0).shading, 2u);
}

TEST(Materials, TextureMapsReadNameScaleAndOffset) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        writers::writeMaterial(w, "Textured", [&] {
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
        writers::writeMaterial(w, "First");
        writers::writeMaterial(w, "Broken", [&] { reflectionChunk(w, nullptr); });
        writers::writeMaterial(w, "Third");
        writers::writeMeshObject(w, "Quad", input);
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
        writers::writeMaterial(w, "Auto", [&] { reflectionChunk(w, ""); });
        writers::writeMaterial(w, "Named", [&] { reflectionChunk(w, "sky.bmp"); });
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
        writers::writeMaterial(w, "Other");
        writers::writeMaterial(w, "Same", [&] { shadingChunk(w, 1); });
        writers::writeMaterial(w, "Same", [&] { shadingChunk(w, 4); });
        writers::writeMeshObject(w, "Quad", input);
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
        writers::writeMaterial(w, "Other");
        writers::writeMaterial(w, "Known");
        writers::writeMeshObject(w, "Quad", input);
    })));
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetMaterialCount(), 1u);
    EXPECT_EQ(mesh.GetMaterialIndex(0), 1u);
    EXPECT_EQ(mesh.GetFace(1).material, 0u);
    EXPECT_EQ(mesh.GetTriangleCount(), 2u);
}
