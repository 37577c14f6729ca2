// MalformedTest.cpp: broken 3DS input must load in bounded time without
// crashing, and whatever it yields must still be safe to hand to the model
// object: no more than 65536 vertices, every triangle naming existing
// vertices. Every loop here is bounded by the size of a small file.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "reader3ds/Reader3DS.h"
#include "tools/writers/Writer3ds.h"

using writers::Writer3ds;

namespace {

// A file using every kind of chunk the reader descends into.
Writer3ds richFile() {
    writers::Cube cube = writers::makeCube({1, 2, 1, 2, 4, 4});
    cube.mesh.uvs = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 0}, {1, 0}, {0, 1}, {1, 1}};
    cube.mesh.groups = {{"Red", {0, 1, 2}}};
    Writer3ds w;
    w.chunk(0x4D4D, [&] {
        w.chunk(0x3D3D, [&] {
            writers::writeMaterial(w, "Red", [&] {
                w.chunk(0xA010, [&] { w.chunk(0x0011, [&] { w.u8(255); w.u8(0); w.u8(0); }); });
                w.chunk(0xA040, [&] { w.chunk(0x0030, [&] { w.u16(50); }); });
                w.chunk(0xA200, [&] { w.chunk(0xA300, [&] { w.str("red.bmp"); }); });
                w.chunk(0xA220, [&] {
                    w.chunk(0x0030, [&] { w.u16(40); });
                    w.chunk(0xA300, [&] { w.str(""); });
                });
            });
            writers::writeMeshObject(w, "Cube", cube.mesh);
            w.chunk(0x4000, [&] {
                w.str("Lamp");
                w.chunk(0x4600, [&] {
                    w.f32s({1, 1, 1});
                    w.chunk(0x0010, [&] { w.f32s({1, 1, 1}); });
                    w.chunk(0x4610, [&] { w.f32s({1, 1, 1, 1, 1}); });
                });
            });
        });
        w.chunk(0xB000, [&] { w.chunk(0xB002, [&] { w.chunk(0xB010, [&] { w.str("Cube"); }); }); });
    });
    return w;
}

// Loads the bytes and checks what a model object may rely on.
void expectSafeResult(const std::vector<std::uint8_t>& bytes) {
    Reader3DS reader;
    reader.LoadFromMemory(bytes);
    for (unsigned m = 0; m < reader.GetMeshCount(); ++m) {
        const Mesh& mesh = reader.GetMesh(m);
        ASSERT_LE(mesh.GetVertexCount(), Mesh::MAX_VERTICES);
        for (unsigned t = 0; t < mesh.GetTriangleCount(); ++t) {
            const r3ds::Triangle& tri = mesh.GetTriangle(t);
            ASSERT_LT(std::max({tri.a, tri.b, tri.c}), mesh.GetVertexCount());
        }
    }
}

void setLength(std::vector<std::uint8_t>& bytes, std::size_t header, std::uint32_t length) {
    for (int i = 0; i < 4; ++i) {
        bytes[header + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
}

}  // namespace

TEST(Malformed, RichFileIsValidToStartWith) {
    const Writer3ds w = richFile();
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(w.bytes()));
    EXPECT_EQ(reader.GetMeshCount(), 1u);
    EXPECT_EQ(reader.GetMaterialCount(), 1u);
    EXPECT_EQ(reader.lights.size(), 1u);
}

// Lengths below 6, zero, ones that point back before the header, and ones
// that reach past the parent or wrap around 32 bits, in every chunk.
TEST(Malformed, BadLengthInAnyChunkTerminatesSafely) {
    const Writer3ds w = richFile();
    const std::uint32_t lengths[] = {0, 1, 5, 6, 7, 0xFFFFFFFAu, 0xFFFFFFFFu, 0x7FFFFFFFu, 100000};
    for (const std::size_t header : w.headerOffsets()) {
        for (const std::uint32_t length : lengths) {
            std::vector<std::uint8_t> bytes = w.bytes();
            setLength(bytes, header, length);
            SCOPED_TRACE(testing::Message() << "header at " << header << " length " << length);
            expectSafeResult(bytes);
        }
    }
}

// Cutting the file anywhere puts headers and values at the very end.
TEST(Malformed, FileCutAtAnyLengthTerminatesSafely) {
    const std::vector<std::uint8_t> whole = richFile().bytes();
    for (std::size_t cut = 1; cut < whole.size(); ++cut) {
        expectSafeResult(std::vector<std::uint8_t>(whole.begin(), whole.begin() + cut));
    }
}

TEST(Malformed, ScrambledBytesTerminateSafely) {
    const std::vector<std::uint8_t> whole = richFile().bytes();
    std::uint32_t state = 12345;
    const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> bytes = whole;
        const int changes = 1 + next() % 4;
        for (int i = 0; i < changes; ++i) {
            bytes[next() % bytes.size()] = static_cast<std::uint8_t>(next() >> 24);
        }
        expectSafeResult(bytes);
    }
}

TEST(Malformed, MeshReachingPastItsObjectStaysInside) {
    // The mesh claims far more than its object holds. The vertex list that
    // follows the object (loose in the editor chunk, where it is skipped) must
    // not be read as part of this mesh.
    Writer3ds w;
    std::size_t meshHeader = 0;
    w.chunk(0x4D4D, [&] {
        w.chunk(0x3D3D, [&] {
            w.chunk(0x4000, [&] {
                w.str("Short");
                meshHeader = w.bytes().size();
                w.chunk(0x4100, [&] {});
            });
            w.chunk(0x4110, [&] {
                w.u16(1);
                w.f32s({1, 2, 3});
            });
            writers::writeMeshObject(w, "Next", {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, {}, {}, true});
        });
        w.chunk(0xB000);
    });
    std::vector<std::uint8_t> bytes = w.bytes();
    setLength(bytes, meshHeader, 5000);
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(bytes));
    ASSERT_EQ(reader.GetMeshCount(), 2u);
    EXPECT_EQ(reader.GetMesh(0).GetVertexCount(), 0u);
    EXPECT_EQ(reader.GetMesh(1).GetTriangleCount(), 1u);
}

TEST(Malformed, ListCountsBeyondTheirChunkAreCut) {
    // Counts of 65535 with three entries present: a few bytes must not
    // become tens of thousands of vertices and faces.
    const auto file = writers::makeFile([](Writer3ds& w) {
        w.chunk(0x4000, [&] {
            w.str("Liar");
            w.chunk(0x4100, [&] {
                w.chunk(0x4110, [&] {
                    w.u16(0xFFFF);
                    for (int i = 0; i < 9; ++i) w.f32(static_cast<float>(i));
                });
                w.chunk(0x4120, [&] {
                    w.u16(0xFFFF);
                    w.u16(0); w.u16(1); w.u16(2); w.u16(0);
                });
            });
        });
    });
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(file));
    const Mesh& mesh = reader.GetMesh(0);
    EXPECT_EQ(mesh.GetVertexCount(), 3u);
    EXPECT_EQ(mesh.GetTriangleCount(), 1u);
    EXPECT_EQ(mesh.GetVertex(2).z, 8.0f);
}

TEST(Malformed, ShortSmoothingChunkLeavesLaterFacesAlone) {
    // One smoothing value for two faces.
    Writer3ds w;
    w.chunk(0x4D4D, [&] {
        w.chunk(0x3D3D, [&] {
            w.chunk(0x4000, [&] {
                w.str("Quad");
                w.chunk(0x4100, [&] {
                    w.chunk(0x4110, [&] {
                        w.u16(4);
                        w.f32s({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0});
                    });
                    w.chunk(0x4120, [&] {
                        w.u16(2);
                        for (std::uint16_t i : {0, 1, 2, 0, 1, 3, 2, 0}) w.u16(i);
                        w.chunk(0x4150, [&] { w.u32(2); });
                    });
                });
            });
        });
        w.chunk(0xB000);
    });
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(w.bytes()));
    EXPECT_EQ(reader.GetMesh(0).GetFace(0).smoothing, 2u);
    EXPECT_EQ(reader.GetMesh(0).GetFace(1).smoothing, 1u);
}

TEST(Malformed, FaceListHandedWrongChunkIsRefused) {
    class Probe : public Reader3DS {
    public:
        using Reader3DS::ReadFaceList;
    };
    Probe probe;
    Mesh mesh;
    mesh.SetTriangleArraySize(2);
    Chunk notFaces;
    notFaces.id = 0x4110;
    probe.ReadFaceList(notFaces, mesh);
    EXPECT_EQ(mesh.GetTriangleCount(), 2u);
    EXPECT_EQ(probe.GetLastError(), "Reader3DS::ReadFaceList - internal error: wrong chunk passed as parameter");
}
