// MakeSeeds.cpp: writes the fuzzer's seed corpus into the directory given as
// the only argument: small valid 3DS files that between them use every chunk
// the reader knows, and files named damaged-*.3ds with one kind of damage
// each, which the reader loads and reports. Run through
// `tools/fuzz/run-fuzz --make-seeds`.
#include <cstdio>
#include <string>

#include "tools/writers/Writer3ds.h"

using writers::makeFile;
using writers::Writer3ds;

namespace {

void writeRichMaterial(Writer3ds& w) {
    writers::writeMaterial(w, "Chrome", [&] {
        w.chunk(0xA010, [&] { w.chunk(0x0011, [&] { w.u8(255); w.u8(128); w.u8(0); }); });
        w.chunk(0xA020, [&] { w.chunk(0x0010, [&] { w.f32(0.5f); w.f32(0.5f); w.f32(0.5f); }); });
        w.chunk(0xA030, [&] { w.chunk(0x0012, [&] { w.u8(1); w.u8(2); w.u8(3); }); });
        w.chunk(0xA040, [&] { w.chunk(0x0030, [&] { w.u16(75); }); });
        w.chunk(0xA050, [&] { w.chunk(0x0031, [&] { w.f32(0.25f); }); });
        w.chunk(0xA100, [&] { w.u16(3); });
        w.chunk(0xA085);
        w.chunk(0xA200, [&] {
            w.chunk(0x0030, [&] { w.u16(100); });
            w.chunk(0xA300, [&] { w.str("box3.bmp"); });
            w.chunk(0xA354, [&] { w.f32(2.0f); });
            w.chunk(0xA356, [&] { w.f32(2.0f); });
            w.chunk(0xA358, [&] { w.f32(0.5f); });
            w.chunk(0xA35A, [&] { w.f32(0.5f); });
        });
        w.chunk(0xA220, [&] {
            w.chunk(0x0030, [&] { w.u16(40); });
            w.chunk(0xA300, [&] { w.str(""); });
        });
        w.chunk(0xA230, [&] { w.chunk(0xA300, [&] { w.str("bump.bmp"); }); });
    });
}

bool save(const std::string& dir, const char* name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir + "/" + name;
    if (!writers::writeFile(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-seeds DIRECTORY\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;

    const writers::Cube split = writers::makeCube({1, 2, 4, 8, 16, 32});
    ok &= save(dir, "cube-split.3ds", makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "Cube", split.mesh); }));

    writers::Cube textured = writers::makeCube({1, 1, 1, 1, 1, 1});
    for (int i = 0; i < 8; ++i) {
        textured.mesh.uvs.push_back({static_cast<float>(i & 1), static_cast<float>((i >> 1) & 1)});
    }
    textured.mesh.groups = {{"Chrome", {0, 1, 2, 3}}, {"Plain", {4, 5}}};
    ok &= save(dir, "cube-materials.3ds", makeFile([&](Writer3ds& w) {
        writeRichMaterial(w);
        writers::writeMaterial(w, "Plain");
        writers::writeMeshObject(w, "Box", textured.mesh);
    }));

    ok &= save(dir, "light-camera.3ds", makeFile([](Writer3ds& w) {
        w.chunk(0x4000, [&] {
            w.str("Spot01");
            w.chunk(0x4600, [&] {
                w.f32(1); w.f32(2); w.f32(3);
                w.chunk(0x0010, [&] { w.f32(1); w.f32(1); w.f32(1); });
                w.chunk(0x4610, [&] { for (int i = 0; i < 5; ++i) w.f32(1.0f); });
            });
        });
        w.chunk(0x4000, [&] {
            w.str("Camera01");
            w.chunk(0x4700, [&] { for (int i = 0; i < 8; ++i) w.f32(0.5f); });
        });
    }));

    ok &= save(dir, "matrix-keyframer.3ds", [] {
        Writer3ds w;
        w.chunk(0x4D4D, [&] {
            w.chunk(0x3D3D, [&] {
                w.chunk(0x4000, [&] {
                    w.str("Tri");
                    w.chunk(0x4100, [&] {
                        w.chunk(0x4110, [&] { w.u16(3); for (int i = 0; i < 9; ++i) w.f32(i % 4 == 0 ? 1.0f : 0.0f); });
                        w.chunk(0x4160, [&] { for (int i = 0; i < 12; ++i) w.f32(i % 4 == 0 ? 1.0f : 0.0f); });
                        w.chunk(0x4120, [&] { w.u16(1); w.u16(0); w.u16(1); w.u16(2); w.u16(7); });
                    });
                });
            });
            w.chunk(0xB000, [&] {
                w.chunk(0xB002, [&] { w.chunk(0xB010, [&] { w.str("Tri"); w.u16(0); w.u16(0); w.u16(0xFFFF); }); });
            });
        });
        return w.bytes();
    }());
    // Exporters write long names; the object after the name must survive.
    ok &= save(dir, "long-name.3ds", makeFile([](Writer3ds& w) {
        writers::MeshData tri;
        tri.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        tri.faces = {{0, 1, 2}};
        writers::writeMeshObject(w, std::string(140, 'L'), tri);
    }));

    // One kind of damage per file.
    writers::MeshData holes;
    holes.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    holes.faces = {{0, 1, 2}, {0, 1, 9}};
    holes.uvs = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    holes.groups = {{"Nobody", {0}}};
    ok &= save(dir, "damaged-faces-groups-uvs.3ds",
               makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "Holes", holes); }));
    ok &= save(dir, "damaged-chunk-length.3ds", makeFile([](Writer3ds& w) {
        w.chunk(0x4000, [&] {
            w.str("Short");
            w.chunk(0x4100, [&] {
                w.chunk(0x4110, [&] { w.u16(3); for (int i = 0; i < 9; ++i) w.f32(i % 4 == 0 ? 1.0f : 0.0f); });
                w.header(0x4170, 3);
                w.chunk(0x4120, [&] { w.u16(1); w.u16(0); w.u16(1); w.u16(2); w.u16(0); });
            });
        });
    }));
    ok &= save(dir, "damaged-list-count.3ds", makeFile([](Writer3ds& w) {
        w.chunk(0x4000, [&] {
            w.str("Liar");
            w.chunk(0x4100, [&] {
                w.chunk(0x4110, [&] { w.u16(40); for (int i = 0; i < 9; ++i) w.f32(static_cast<float>(i)); });
            });
        });
    }));
    {
        std::vector<std::uint8_t> cut = makeFile([&](Writer3ds& w) { writers::writeMeshObject(w, "Cube", split.mesh); });
        cut.resize(cut.size() * 2 / 3);
        ok &= save(dir, "damaged-file-cut.3ds", cut);
    }
    return ok ? 0 : 1;
}
