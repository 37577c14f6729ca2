// ChunkLayerTest.cpp: the 3DS file and chunk layer: bounded primitive reads,
// seeking, colours and percentages, file-level failures and their messages,
// the two-pass walk, object kinds and names, reloading a reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "reader3ds/Reader3DS.h"
#include "tools/writers/Writer3ds.h"

using writers::makeFile;
using writers::MeshData;
using writers::Writer3ds;

namespace {

// Opens the reader's internals on a buffer of the test's choosing.
class ReaderProbe : public Reader3DS {
public:
    explicit ReaderProbe(std::vector<std::uint8_t> bytes) {
        data = std::move(bytes);
        size = static_cast<std::uint32_t>(data.size());
    }
    using Reader3DS::ReadByte;
    using Reader3DS::ReadChunk;
    using Reader3DS::ReadColor;
    using Reader3DS::ReadFloat;
    using Reader3DS::ReadInt;
    using Reader3DS::ReadPercentage;
    using Reader3DS::ReadShort;
    using Reader3DS::Seek;
    std::uint32_t position() const { return cursor; }
};

// A buffer holding one chunk (written by body) and a pad byte, so that the
// chunk's last value does not end on the last byte.
template <class Body>
std::vector<std::uint8_t> oneChunk(std::uint16_t id, Body&& body) {
    Writer3ds w;
    w.chunk(id, [&] { body(w); });
    w.u8(0);
    return w.bytes();
}

MeshData triangle() {
    MeshData input;
    input.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    input.faces = {{0, 1, 2}};
    return input;
}

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("quorl-reader3ds-" + name)).string();
}

}  // namespace

TEST(ChunkReads, ValueEndingOnLastByteReadsZeroAndKeepsCursor) {
    ReaderProbe probe({1, 2, 3, 4});
    EXPECT_EQ(probe.ReadInt(), 0u);
    EXPECT_EQ(probe.position(), 0u);
    EXPECT_EQ(probe.ReadShort(), 0x0201u);
    EXPECT_EQ(probe.ReadShort(), 0u);  // bytes 2..3 end on the last byte
    EXPECT_EQ(probe.ReadByte(), 3u);
    EXPECT_EQ(probe.ReadByte(), 0u);
    EXPECT_EQ(probe.ReadFloat(), 0.0f);
    EXPECT_EQ(probe.position(), 3u);
}

TEST(ChunkReads, SeekPastEndLandsOnLastByte) {
    ReaderProbe probe({1, 2, 3, 4, 5});
    probe.Seek(100, Reader3DS::SeekMode::Absolute);
    EXPECT_EQ(probe.position(), 4u);
    probe.Seek(-2, Reader3DS::SeekMode::Relative);
    EXPECT_EQ(probe.position(), 2u);
    probe.Seek(0xFFFFFFFFll, Reader3DS::SeekMode::Relative);
    EXPECT_EQ(probe.position(), 4u);
}

TEST(ChunkReads, ColourBytesScaleToUnitFloats) {
    ReaderProbe colour(oneChunk(0x0011, [](Writer3ds& w) {
        w.u8(200);
        w.u8(0);
        w.u8(255);
    }));
    const Color3 c = colour.ReadColor(colour.ReadChunk());
    EXPECT_EQ(c.r, 0.7843138f);
    EXPECT_EQ(c.g, 0.0f);
    EXPECT_EQ(c.b, 1.0f);
    EXPECT_TRUE(colour.GetLastError().empty());
}

TEST(ChunkReads, WrongColourOrPercentageChunkGivesZeroWithMessage) {
    ReaderProbe colour(oneChunk(0x0030, [](Writer3ds&) {}));
    const Color3 c = colour.ReadColor(colour.ReadChunk());
    EXPECT_EQ(c.r + c.g + c.b, 0.0f);
    EXPECT_EQ(colour.GetLastError(), "Reader3DS::ReadColor - error this is not a color chunk");
    ReaderProbe percent(oneChunk(0x0011, [](Writer3ds&) {}));
    EXPECT_EQ(percent.ReadPercentage(percent.ReadChunk()), 0.0f);
    EXPECT_EQ(percent.GetLastError(), "Reader3DS::ReadPercentage - error, the chunk is not a percentage chunk");
}

TEST(ChunkReads, PercentagesIntegerScaledFloatAsStored) {
    const struct {
        std::int16_t stored;
        float want;
    } cases[] = {{75, 0.75f}, {-10, -0.099999994f}, {150, 1.5f}};
    for (const auto& c : cases) {
        ReaderProbe percent(oneChunk(0x0030, [&](Writer3ds& w) { w.u16(static_cast<std::uint16_t>(c.stored)); }));
        EXPECT_EQ(percent.ReadPercentage(percent.ReadChunk()), c.want) << c.stored;
    }
    ReaderProbe percent(oneChunk(0x0031, [](Writer3ds& w) { w.f32(75.0f); }));
    EXPECT_EQ(percent.ReadPercentage(percent.ReadChunk()), 75.0f);
}

TEST(LoadFailures, NotA3dsFileLoadsNothing) {
    Reader3DS reader;
    const std::vector<std::uint8_t> bytes = {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(reader.LoadFromMemory(bytes));
    EXPECT_EQ(reader.GetLastError(), "Reader3DS::Read3DS - wrong file format");
    EXPECT_EQ(reader.GetMeshCount(), 0u);
}

TEST(LoadFailures, MainWithoutEditorEmptiesArraysAndSaysWhy) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) { writers::writeMeshObject(w, "A", triangle()); })));
    Writer3ds w;
    w.chunk(0x4D4D, [&] { w.chunk(0xB000, [&] { w.u32(0); }); });
    EXPECT_FALSE(reader.LoadFromMemory(w.bytes()));
    EXPECT_EQ(reader.GetMeshCount(), 0u);
    EXPECT_EQ(reader.GetMaterialCount(), 0u);
    EXPECT_EQ(reader.GetLastError(), "Reader3DS::Read3DS - no editor chunk in the main chunk");
}

TEST(LoadFailures, EmptyOrMissingFileKeepsEarlierContent) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) { writers::writeMeshObject(w, "A", triangle()); })));
    const std::string empty = tempPath("empty.3ds");
    ASSERT_TRUE(writers::writeFile(empty, {}));
    EXPECT_FALSE(reader.LoadFile(empty));
    EXPECT_EQ(reader.GetLastError(), "Reader3DS::LoadFile - error reading from file");
    EXPECT_FALSE(reader.LoadFile(tempPath("does-not-exist.3ds")));
    EXPECT_EQ(reader.GetLastError(), "Reader3DS::LoadFile - cannot open file");
    EXPECT_FALSE(reader.LoadFile(std::filesystem::temp_directory_path().string()));
    EXPECT_EQ(reader.GetMeshCount(), 1u);
    std::filesystem::remove(empty);
}

TEST(Walk, SecondLoadLeavesOnlySecondFile) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        writers::writeMaterial(w, "Old");
        writers::writeMeshObject(w, "First", triangle());
        writers::writeMeshObject(w, "Second", triangle());
    })));
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) { writers::writeMeshObject(w, "Third", triangle()); })));
    ASSERT_EQ(reader.GetMeshCount(), 1u);
    EXPECT_EQ(reader.GetMesh(0).GetName(), "Third");
    EXPECT_EQ(reader.GetMaterialCount(), 0u);
}

TEST(Walk, MaterialAfterObjectsIsKnownToFaceGroups) {
    MeshData input = triangle();
    input.groups = {{"Late", {0}}};
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([&](Writer3ds& w) {
        writers::writeMaterial(w, "Early");
        writers::writeMeshObject(w, "Tri", input);
        writers::writeMaterial(w, "Late");
    })));
    const Mesh& mesh = reader.GetMesh(0);
    ASSERT_EQ(mesh.GetMaterialCount(), 1u);
    EXPECT_EQ(mesh.GetMaterialIndex(0), 1u);
    EXPECT_EQ(mesh.GetFullTriangle(0).material, 0u);
}

TEST(Walk, CameraObjectAddsNothing) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        w.chunk(0x4000, [&] {
            w.str("Camera01");
            w.chunk(0x4700, [&] { w.f32s({1, 1, 1, 0, 0, 0, 0, 45}); });
        });
    })));
    EXPECT_EQ(reader.GetMeshCount(), 0u);
    EXPECT_EQ(reader.lights.size(), 0u);
    EXPECT_EQ(reader.GetMaterialCount(), 0u);
}

// Exporters write long names. The name is cut to the 98 characters kept,
// but the rest of it must be skipped: read as a chunk header it would lose
// the whole object.
TEST(Walk, ObjectNameOver98CharactersIsCutButTheObjectKept) {
    const std::string longest(98, 'n');
    const std::string longer = longest + "X";
    const std::string veryLong(300, 'v');
    Reader3DS reader;
    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([&](Writer3ds& w) {
        writers::writeMeshObject(w, longest, triangle());
        writers::writeMeshObject(w, longer, triangle());
        writers::writeMeshObject(w, veryLong, triangle());
        writers::writeMeshObject(w, "After", triangle());
    })));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(reader.GetMeshCount(), 4u);
    EXPECT_EQ(reader.GetMesh(0).GetName(), longest);
    EXPECT_EQ(reader.GetMesh(1).GetName(), longest);
    EXPECT_EQ(reader.GetMesh(2).GetName(), veryLong.substr(0, 98));
    EXPECT_EQ(reader.GetMesh(3).GetName(), "After");
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_EQ(reader.GetMesh(i).GetTriangleCount(), 1u) << i;
        EXPECT_EQ(reader.GetMesh(i).GetVertex(1).x, 1.0f) << i;
    }
    EXPECT_EQ(reader.GetDamage(), 0u);
}

// A long name with no terminator before the object's end must not carry
// the skip into the next object.
TEST(Walk, UnterminatedLongNameStopsAtItsObjectsEnd) {
    Reader3DS reader;
    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([&](Writer3ds& w) {
        w.chunk(0x4000, [&] {
            for (int i = 0; i < 120; ++i) w.u8('u');
        });
        writers::writeMeshObject(w, "Next", triangle());
    })));
    ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(reader.GetMeshCount(), 1u);
    EXPECT_EQ(reader.GetMesh(0).GetName(), "Next");
}

TEST(Walk, LightWithColourAndSpotlight) {
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(makeFile([](Writer3ds& w) {
        w.chunk(0x4000, [&] {
            w.str("Spot");
            w.chunk(0x4600, [&] {
                w.f32s({1, 2, 3});
                w.chunk(0x0010, [&] { w.f32s({0.5f, 0.25f, 1}); });
                w.chunk(0x4610, [&] { w.f32s({10, 20, 30, 40, 50}); });
            });
        });
    })));
    ASSERT_EQ(reader.lights.size(), 1u);
    const Light& light = reader.lights[0];
    EXPECT_EQ(light.GetName(), "Spot");
    EXPECT_EQ(light.position.z, 3.0f);
    EXPECT_EQ(light.color.g, 0.25f);
    EXPECT_EQ(light.target.x, 10.0f);
    EXPECT_EQ(light.falloff, 50.0f);
}
