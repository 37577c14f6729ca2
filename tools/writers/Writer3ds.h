// Writer3ds.h: the one writer of 3DS chunk trees, shared by the content
// generator (the show's models), the fuzzer's seed writer and the tests.
// Chunks are nested through callbacks (or begin/end) and their lengths
// patched when they close; raw headers with any length can be written too,
// to build malformed files. Below the writer: small meshes, materials and
// whole files as the tests and seeds need them. Header-only, standard
// library plus the reader's small vector types.
//
//   writers::Writer3ds w;
//   w.chunk(0x4D4D, [&] { w.chunk(0x3D3D, [&] { writers::writeMeshObject(w, "Box", ...); }); });
//   reader.LoadFromMemory(w.bytes());
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reader3ds/Vectors3DS.h"

namespace writers {

class Writer3ds {
public:
    void u8(std::uint8_t value) { data.push_back(value); }
    void u16(std::uint16_t value) {
        u8(static_cast<std::uint8_t>(value));
        u8(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value));
        u16(static_cast<std::uint16_t>(value >> 16));
    }
    void f32(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        u32(bits);
    }
    void f32s(std::initializer_list<float> values) {
        for (const float value : values) f32(value);
    }
    // Zero-terminated text.
    void str(std::string_view text) {
        data.insert(data.end(), text.begin(), text.end());
        u8(0);
    }
    // A header with whatever length the test wants, right or wrong.
    void header(std::uint16_t id, std::uint32_t length) {
        headers.push_back(data.size());
        u16(id);
        u32(length);
    }

    // A chunk whose content body() writes; the length is filled in afterwards.
    template <class Body>
    void chunk(std::uint16_t id, Body&& body) {
        begin(id);
        body();
        end();
    }
    void chunk(std::uint16_t id) { header(id, 6); }

    // The same as chunk(id, body) in two calls: begin writes the header,
    // end patches the length of the innermost open chunk.
    void begin(std::uint16_t id) {
        open.push_back(data.size());
        header(id, 0);
    }
    void end() {
        const std::size_t at = open.back();
        open.pop_back();
        const auto length = static_cast<std::uint32_t>(data.size() - at);
        for (int i = 0; i < 4; ++i) {
            data[at + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
        }
    }

    const std::vector<std::uint8_t>& bytes() const { return data; }
    std::vector<std::uint8_t> take() { return std::move(data); }
    // Offset of every header written, in order: lets tests corrupt lengths.
    const std::vector<std::size_t>& headerOffsets() const { return headers; }

private:
    std::vector<std::uint8_t> data;
    std::vector<std::size_t> headers;
    std::vector<std::size_t> open;  // starts of the chunks begun and not yet ended
};

// A face as written: corners and, when the mesh has a smoothing chunk, its value.
struct FaceData {
    std::uint16_t a, b, c;
    std::uint32_t smoothing = 1;
};

// A face material group: material name and the face numbers it covers.
struct GroupData {
    std::string material;
    std::vector<std::uint16_t> faces;
};

struct MeshData {
    std::vector<r3ds::Vec3> vertices;
    std::vector<FaceData> faces;
    std::vector<r3ds::Vec2> uvs;
    std::vector<GroupData> groups;
    bool smoothingChunk = true;
};

inline void writeMesh(Writer3ds& w, const MeshData& mesh) {
    w.chunk(0x4100, [&] {
        if (!mesh.vertices.empty()) {
            w.chunk(0x4110, [&] {
                w.u16(static_cast<std::uint16_t>(mesh.vertices.size()));
                for (const r3ds::Vec3& v : mesh.vertices) {
                    w.f32(v.x);
                    w.f32(v.y);
                    w.f32(v.z);
                }
            });
        }
        if (!mesh.uvs.empty()) {
            w.chunk(0x4140, [&] {
                w.u16(static_cast<std::uint16_t>(mesh.uvs.size()));
                for (const r3ds::Vec2& t : mesh.uvs) {
                    w.f32(t.u);
                    w.f32(t.v);
                }
            });
        }
        w.chunk(0x4120, [&] {
            w.u16(static_cast<std::uint16_t>(mesh.faces.size()));
            for (const FaceData& f : mesh.faces) {
                w.u16(f.a);
                w.u16(f.b);
                w.u16(f.c);
                w.u16(7);  // edge flags
            }
            for (const GroupData& g : mesh.groups) {
                w.chunk(0x4130, [&] {
                    w.str(g.material);
                    w.u16(static_cast<std::uint16_t>(g.faces.size()));
                    for (std::uint16_t n : g.faces) {
                        w.u16(n);
                    }
                });
            }
            if (mesh.smoothingChunk) {
                w.chunk(0x4150, [&] {
                    for (const FaceData& f : mesh.faces) {
                        w.u32(f.smoothing);
                    }
                });
            }
        });
    });
}

inline void writeMeshObject(Writer3ds& w, std::string_view name, const MeshData& mesh) {
    w.chunk(0x4000, [&] {
        w.str(name);
        writeMesh(w, mesh);
    });
}

// A material block with a name; extra() adds property chunks after the name.
template <class Extra>
void writeMaterial(Writer3ds& w, std::string_view name, Extra&& extra) {
    w.chunk(0xAFFF, [&] {
        w.chunk(0xA000, [&] { w.str(name); });
        extra();
    });
}
inline void writeMaterial(Writer3ds& w, std::string_view name) {
    writeMaterial(w, name, [] {});
}

// A whole file: main chunk, editor chunk holding whatever editor() writes,
// and an empty keyframer chunk at the end as real files have.
template <class Editor>
std::vector<std::uint8_t> makeFile(Editor&& editor) {
    Writer3ds w;
    w.chunk(0x4D4D, [&] {
        w.chunk(0x3D3D, [&] { editor(w); });
        w.chunk(0xB000);
    });
    return w.bytes();
}

inline bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The closed cube of the normal tests: corners at +-1 (vertex i has x from
// bit 0, y from bit 1, z from bit 2), two triangles per side, wound so that
// (B - A) x (C - A) points out of the cube. side[i] is the side of face i.
struct Cube {
    MeshData mesh;
    std::vector<r3ds::Vec3> sideNormal;  // per face
};

inline Cube makeCube(const std::uint32_t (&sideSmoothing)[6]) {
    Cube cube;
    for (int i = 0; i < 8; ++i) {
        cube.mesh.vertices.push_back({i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
    }
    // Each side as a quad in cyclic order, with its outward normal.
    struct Side {
        std::uint16_t q[4];
        r3ds::Vec3 out;
    };
    const Side sides[6] = {
        {{0, 2, 6, 4}, {-1, 0, 0}}, {{1, 3, 7, 5}, {1, 0, 0}}, {{0, 1, 5, 4}, {0, -1, 0}},
        {{2, 3, 7, 6}, {0, 1, 0}},  {{0, 1, 3, 2}, {0, 0, -1}}, {{4, 5, 7, 6}, {0, 0, 1}},
    };
    for (int s = 0; s < 6; ++s) {
        std::uint16_t q[4] = {sides[s].q[0], sides[s].q[1], sides[s].q[2], sides[s].q[3]};
        const r3ds::Vec3& a = cube.mesh.vertices[q[0]];
        const r3ds::Vec3 n = r3ds::Cross(cube.mesh.vertices[q[1]] - a, cube.mesh.vertices[q[2]] - a);
        if (n.x * sides[s].out.x + n.y * sides[s].out.y + n.z * sides[s].out.z < 0) {
            std::swap(q[1], q[3]);
        }
        cube.mesh.faces.push_back({q[0], q[1], q[2], sideSmoothing[s]});
        cube.mesh.faces.push_back({q[0], q[2], q[3], sideSmoothing[s]});
        cube.sideNormal.push_back(sides[s].out);
        cube.sideNormal.push_back(sides[s].out);
    }
    return cube;
}

}  // namespace writers
