// DamageTest.cpp: damaged 3DS files still load with what could be read, but
// never in silence: each kind of damage is printed once, named by GetDamage
// and told by GetLastError. Clean files, however they end, report nothing.
// Every file here is written by the test; every loop is bounded by its size.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reader3ds/Reader3DS.h"
#include "tools/writers/Writer3ds.h"

using writers::makeFile;
using writers::MeshData;
using writers::Writer3ds;
using Bytes = std::vector<std::uint8_t>;
using Damage = Reader3DS::Damage;

namespace {

// Loads bytes with standard output captured.
std::string loadCaptured(Reader3DS& reader, const Bytes& bytes, bool& ok) {
    ::testing::internal::CaptureStdout();
    ok = reader.LoadFromMemory(bytes);
    return ::testing::internal::GetCapturedStdout();
}

std::uint32_t bits(std::initializer_list<Damage> kinds) {
    std::uint32_t all = 0;
    for (const Damage kind : kinds) all |= static_cast<std::uint32_t>(kind);
    return all;
}

// The lines a load must print for the given damage bits, in the fixed order.
std::string linesFor(std::uint32_t damage) {
    std::string lines;
    for (const Damage kind : Reader3DS::ALL_DAMAGE) {
        if (damage & static_cast<std::uint32_t>(kind)) lines += Reader3DS::DamageMessage(kind) + "\n";
    }
    return lines;
}

// The last line of printed text, without its line end.
std::string lastLine(std::string printed) {
    if (!printed.empty() && printed.back() == '\n') printed.pop_back();
    const std::size_t cut = printed.rfind('\n');
    return cut == std::string::npos ? printed : printed.substr(cut + 1);
}

MeshData triangle() {
    MeshData input;
    input.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    input.faces = {{0, 1, 2}};
    return input;
}

void setLength(Bytes& bytes, std::size_t header, std::uint32_t length) {
    for (int i = 0; i < 4; ++i) bytes[header + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
}

// What a load kept, to compare a damaged file's load with the clean one's.
struct Kept {
    std::vector<std::string> meshes;  // name, vertex and triangle counts, material groups
    std::vector<std::string> materials;
    std::size_t lights = 0;
    bool operator==(const Kept&) const = default;
};

Kept keptBy(const Reader3DS& reader) {
    Kept kept;
    for (unsigned i = 0; i < reader.GetMeshCount(); ++i) {
        const Mesh& m = reader.GetMesh(i);
        kept.meshes.push_back(m.GetName() + " " + std::to_string(m.GetVertexCount()) + " " +
                              std::to_string(m.GetTriangleCount()) + " " + std::to_string(m.GetMaterialCount()));
    }
    for (unsigned i = 0; i < reader.GetMaterialCount(); ++i) kept.materials.push_back(reader.GetMaterial(i).GetName());
    kept.lights = reader.lights.size();
    return kept;
}

// A file using every kind of chunk the reader keeps something from, with
// the offset of every header written.
Writer3ds richFile() {
    writers::Cube cube = writers::makeCube({1, 2, 1, 2, 4, 4});
    cube.mesh.uvs = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 0}, {1, 0}, {0, 1}, {1, 1}};
    cube.mesh.groups = {{"Red", {0, 1, 2}}, {"Blue", {3}}};
    Writer3ds w;
    w.chunk(0x4D4D, [&] {
        w.chunk(0x3D3D, [&] {
            writers::writeMaterial(w, "Red", [&] {
                w.chunk(0xA010, [&] { w.chunk(0x0011, [&] { w.u8(255); w.u8(0); w.u8(0); }); });
                w.chunk(0xA200, [&] { w.chunk(0xA300, [&] { w.str("red.bmp"); }); });
                w.chunk(0xA220, [&] {
                    w.chunk(0x0030, [&] { w.u16(40); });
                    w.chunk(0xA300, [&] { w.str(""); });
                });
            });
            writers::writeMaterial(w, "Blue");
            writers::writeMeshObject(w, "Cube", cube.mesh);
            w.chunk(0x4000, [&] {
                w.str("Lamp");
                w.chunk(0x4600, [&] {
                    w.f32s({1, 1, 1});
                    w.chunk(0x0010, [&] { w.f32s({1, 1, 1}); });
                });
            });
            writers::writeMeshObject(w, "Tri", triangle());
        });
        w.chunk(0xB000, [&] { w.chunk(0xB002, [&] { w.chunk(0xB010, [&] { w.str("Cube"); }); }); });
    });
    return w;
}

}  // namespace

// The end of a file is where a walk is most easily mistaken for damaged:
// reads that would end on the last byte fail by design, and seeks to the end
// land on the last byte. None of these clean files may report anything.
TEST(Damage, CleanFilesHoweverTheyEndReportNothing) {
    const auto mainOnly = [](auto&& editor) {
        Writer3ds w;
        w.chunk(0x4D4D, [&] { w.chunk(0x3D3D, [&] { editor(w); }); });
        return w.bytes();
    };
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"rich file", richFile().bytes()},
        {"empty keyframer header last", makeFile([](Writer3ds& w) { writers::writeMeshObject(w, "A", triangle()); })},
        {"smoothing list last", mainOnly([](Writer3ds& w) { writers::writeMeshObject(w, "A", triangle()); })},
        {"face list last", mainOnly([](Writer3ds& w) {
             MeshData plain = triangle();
             plain.smoothingChunk = false;
             writers::writeMeshObject(w, "A", plain);
         })},
        {"material last", mainOnly([](Writer3ds& w) { writers::writeMaterial(w, "M", [&] { w.chunk(0xA085); }); })},
        {"light last", mainOnly([](Writer3ds& w) {
             w.chunk(0x4000, [&] {
                 w.str("L");
                 w.chunk(0x4600, [&] { w.f32s({1, 2, 3}); });
             });
         })},
        {"object with a name only", mainOnly([](Writer3ds& w) { w.chunk(0x4000, [&] { w.str("Empty"); }); })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reader3DS reader;
        bool ok = false;
        EXPECT_EQ(loadCaptured(reader, c.file, ok), "");
        EXPECT_TRUE(ok);
        EXPECT_EQ(reader.GetDamage(), 0u);
        EXPECT_EQ(reader.GetLastError(), "");
    }
}

// One file per kind of damage: the load succeeds and keeps what lies
// outside the damage, prints exactly the kind's line, and GetLastError
// tells it.
TEST(Damage, EachKindKeepsTheRestAndIsPrintedOnce) {
    struct Case {
        const char* what;
        Bytes file;
        std::uint32_t damage;
        Kept kept;
    };
    std::vector<Case> cases;

    // A chunk of length 3 inside a mesh: the face list after it is lost.
    cases.push_back({"chunk shorter than its header", makeFile([](Writer3ds& w) {
                         w.chunk(0x4000, [&] {
                             w.str("Short");
                             w.chunk(0x4100, [&] {
                                 w.chunk(0x4110, [&] { w.u16(3); w.f32s({0, 0, 0, 1, 0, 0, 0, 1, 0}); });
                                 w.header(0x4170, 3);
                                 w.chunk(0x4120, [&] { w.u16(1); w.u16(0); w.u16(1); w.u16(2); w.u16(0); });
                             });
                         });
                         writers::writeMeshObject(w, "Next", triangle());
                     }),
                     bits({Damage::ChunkLength}), {{"Short 3 0 0", "Next 3 1 0"}, {}, 0}});

    // A vertex list claiming to reach past its mesh.
    {
        Writer3ds w;
        std::size_t vertexHeader = 0;
        w.chunk(0x4D4D, [&] {
            w.chunk(0x3D3D, [&] {
                w.chunk(0x4000, [&] {
                    w.str("Long");
                    w.chunk(0x4100, [&] {
                        vertexHeader = w.bytes().size();
                        w.chunk(0x4110, [&] { w.u16(3); w.f32s({0, 0, 0, 1, 0, 0, 0, 1, 0}); });
                        w.chunk(0x4120, [&] { w.u16(1); w.u16(0); w.u16(1); w.u16(2); w.u16(0); });
                    });
                });
                writers::writeMeshObject(w, "Next", triangle());
            });
            w.chunk(0xB000);
        });
        Bytes file = w.bytes();
        setLength(file, vertexHeader, 200);
        cases.push_back({"chunk longer than its parent", file, bits({Damage::ChunkOverrun}),
                         {{"Long 0 0 0", "Next 3 1 0"}, {}, 0}});
    }

    // Cut in the middle of the second object's vertex list.
    {
        Bytes whole = makeFile([](Writer3ds& w) {
            writers::writeMeshObject(w, "First", triangle());
            writers::writeMeshObject(w, "Second", triangle());
        });
        const Bytes first = makeFile([](Writer3ds& w) { writers::writeMeshObject(w, "First", triangle()); });
        // The second object starts where the first file's keyframer did.
        const std::size_t second = first.size() - 6;
        whole.resize(second + 6 + 7 + 6 + 6 + 2 + 12 + 5);  // object, name, mesh, list headers, count, 1 vertex, 5 bytes
        cases.push_back({"file cut short", whole, bits({Damage::FileCut, Damage::ListCut}),
                         {{"First 3 1 0", "Second 1 0 0"}, {}, 0}});
    }

    // Ten vertices claimed, three present; the faces follow in their own chunk.
    cases.push_back({"list count beyond its chunk", makeFile([](Writer3ds& w) {
                         w.chunk(0x4000, [&] {
                             w.str("Liar");
                             w.chunk(0x4100, [&] {
                                 w.chunk(0x4110, [&] { w.u16(10); w.f32s({0, 0, 0, 1, 0, 0, 0, 1, 0}); });
                                 w.chunk(0x4120, [&] { w.u16(1); w.u16(0); w.u16(1); w.u16(2); w.u16(0); });
                             });
                         });
                     }),
                     bits({Damage::ListCut}), {{"Liar 3 1 0"}, {}, 0}});

    {
        MeshData input = triangle();
        input.faces.push_back({0, 1, 7});
        input.faces.push_back({2, 1, 0});
        cases.push_back({"faces naming missing vertices",
                         makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "Holes", input); }),
                         bits({Damage::DroppedFaces}), {{"Holes 3 2 0"}, {}, 0}});
    }
    {
        MeshData input = triangle();
        input.groups = {{"Nobody", {0}}, {"Red", {0, 99}}};
        cases.push_back({"groups naming an unknown material or face", makeFile([&](Writer3ds& w) {
                             writers::writeMaterial(w, "Red");
                             writers::writeMeshObject(w, "Grouped", input);
                         }),
                         bits({Damage::DroppedGroups}), {{"Grouped 3 1 1"}, {"Red"}, 0}});
    }
    {
        MeshData input = triangle();
        input.uvs = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 2}};
        cases.push_back({"texture coordinates beyond the vertices",
                         makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "Mapped", input); }),
                         bits({Damage::DroppedUVs}), {{"Mapped 3 1 0"}, {}, 0}});
    }
    {
        MeshData input = triangle();
        input.uvs = {{0, 0}, {1, 0}};
        cases.push_back({"texture coordinates for only some vertices",
                         makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "Patchy", input); }),
                         bits({Damage::ShortUVs}), {{"Patchy 3 1 0"}, {}, 0}});
    }
    // The one object under 50,000 scene chunks, each inside the one before.
    cases.push_back({"object hidden in nested scene chunks", makeFile([](Writer3ds& w) {
                         for (int depth = 0; depth < 50000; ++depth) w.begin(0x3D3D);
                         writers::writeMeshObject(w, "Deep", triangle());
                         for (int depth = 0; depth < 50000; ++depth) w.end();
                     }),
                     bits({Damage::NestedScene}), {{}, {}, 0}});
    // A main chunk in the scene and no scene chunk: only the search for the
    // main chunk, from the scene's start again, finds it.
    cases.push_back({"object hidden in a main chunk inside the scene", makeFile([](Writer3ds& w) {
                         w.chunk(0x4D4D, [&] { writers::writeMeshObject(w, "Inner", triangle()); });
                     }),
                     bits({Damage::NestedScene}), {{}, {}, 0}});
    cases.push_back({"reflection map without its file name", makeFile([](Writer3ds& w) {
                         writers::writeMaterial(w, "Broken", [&] {
                             w.chunk(0xA220, [&] { w.chunk(0x0030, [&] { w.u16(40); }); });
                         });
                         writers::writeMaterial(w, "Fine");
                     }),
                     bits({Damage::DroppedMaterial}), {{}, {"Fine"}, 0}});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reader3DS reader;
        bool ok = false;
        const std::string printed = loadCaptured(reader, c.file, ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(reader.GetDamage(), c.damage);
        EXPECT_EQ(printed, linesFor(c.damage));
        EXPECT_EQ(reader.GetLastError(), lastLine(printed));
        EXPECT_EQ(keptBy(reader), c.kept);
    }
}

TEST(Damage, KindMetManyTimesIsPrintedOnce) {
    MeshData input = triangle();
    input.faces.push_back({0, 1, 9});
    input.uvs = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    Reader3DS reader;
    bool ok = false;
    const std::string printed = loadCaptured(reader, makeFile([&](Writer3ds& w) {
        for (const char* name : {"A", "B", "C"}) writers::writeMeshObject(w, name, input);
    }), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(printed, linesFor(bits({Damage::DroppedFaces, Damage::DroppedUVs})));
    EXPECT_EQ(reader.GetLastError(), Reader3DS::DamageMessage(Damage::DroppedUVs));
}

// A refused file reports why it was refused, not the damage met on the way;
// the next load starts with no damage.
TEST(Damage, RefusalAndReloadReportOnlyTheirOwnOutcome) {
    Writer3ds noEditor;
    noEditor.chunk(0x4D4D, [&] {
        noEditor.header(0xB000, 2);
        noEditor.u32(0);
    });
    Reader3DS reader;
    bool ok = true;
    EXPECT_EQ(loadCaptured(reader, noEditor.bytes(), ok), "");
    EXPECT_FALSE(ok);
    EXPECT_EQ(reader.GetDamage(), 0u);
    EXPECT_EQ(reader.GetLastError(), "Reader3DS::Read3DS - no editor chunk in the main chunk");

    MeshData holes = triangle();
    holes.faces.push_back({5, 6, 7});
    loadCaptured(reader, makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "H", holes); }), ok);
    EXPECT_NE(reader.GetDamage(), 0u);
    EXPECT_EQ(loadCaptured(reader, makeFile([](Writer3ds& w) { writers::writeMeshObject(w, "A", triangle()); }), ok),
              "");
    EXPECT_TRUE(ok);
    EXPECT_EQ(reader.GetDamage(), 0u);
    EXPECT_EQ(reader.GetLastError(), "");
}

// Any chunk length too short for its header or reaching past its parent,
// in any chunk of the file: whatever the load loses, it must say so.
TEST(Damage, BadLengthNeverLosesDataInSilence) {
    const Writer3ds w = richFile();
    Reader3DS clean;
    bool ok = false;
    ASSERT_EQ(loadCaptured(clean, w.bytes(), ok), "");
    ASSERT_TRUE(ok);
    const Kept whole = keptBy(clean);
    const std::uint32_t lengths[] = {0, 1, 5, 0xFFFFFFFAu, 0xFFFFFFFFu, 0x7FFFFFFFu, 100000};
    for (const std::size_t header : w.headerOffsets()) {
        for (const std::uint32_t length : lengths) {
            SCOPED_TRACE(testing::Message() << "header at " << header << " length " << length);
            Bytes bytes = w.bytes();
            setLength(bytes, header, length);
            Reader3DS reader;
            const std::string printed = loadCaptured(reader, bytes, ok);
            if (ok && keptBy(reader) != whole) {
                EXPECT_NE(reader.GetDamage(), 0u);
                EXPECT_NE(printed, "");
            }
        }
    }
}
