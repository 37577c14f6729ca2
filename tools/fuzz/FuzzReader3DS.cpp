// FuzzReader3DS.cpp: libFuzzer target for the 3DS reader. Feeds arbitrary
// bytes through the same walk LoadFile uses (LoadFromMemory shares it), then
// reads every mesh the way the model object does and checks the promises
// made to it: at most 65536 vertices and every triangle naming existing
// vertices. Built by tools/fuzz/run-fuzz with clang++ -fsanitize=fuzzer,
// address,undefined; any sanitizer report or broken promise is a finding.
#include <cstddef>
#include <cstdint>
#include <span>

#include "reader3ds/Reader3DS.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t length) {
    Reader3DS reader;
    reader.LoadFromMemory(std::span<const std::uint8_t>(bytes, length));

    for (unsigned m = 0; m < reader.GetMeshCount(); ++m) {
        const Mesh& mesh = reader.GetMesh(m);
        const unsigned vertices = mesh.GetVertexCount();
        if (vertices > Mesh::MAX_VERTICES) {
            __builtin_trap();
        }
        float sink = 0.0f;
        for (unsigned v = 0; v < vertices; ++v) {
            sink += mesh.GetVertex(v).x + mesh.GetNormal(v).y;
        }
        for (unsigned t = 0; t < mesh.GetTriangleCount(); ++t) {
            const r3ds::Triangle& tri = mesh.GetTriangle(t);
            if (tri.a >= vertices || tri.b >= vertices || tri.c >= vertices) {
                __builtin_trap();
            }
            const FullTriangle full = mesh.GetFullTriangle(t);
            sink += full.faceNormal.x + full.uv[2].u;
        }
        // Keeps the reads above from being optimised away.
        asm volatile("" : : "g"(sink) : "memory");
    }
    for (unsigned i = 0; i < reader.GetMaterialCount(); ++i) {
        if (reader.FindMaterial(reader.GetMaterial(i).GetName()) == nullptr) {
            __builtin_trap();
        }
    }
    return 0;
}
