// 3dsinfo.cpp: quorl-h-3dsinfo FILE...: loads each 3DS file with the show's
// own reader and prints what it found, so content authors can check a model
// before the show loads it. Per file: a status line, then one line per mesh
// and one per material. Exit status 0 when every load succeeded, 1 otherwise.
#include <cstdio>

#include "reader3ds/Reader3DS.h"

namespace {

// Prints one file's report; true when the load succeeded.
bool describe(const char* path) {
    Reader3DS reader;
    const bool loaded = reader.LoadFile(path);
    if (loaded) {
        std::printf("%s: loaded\n", path);
    } else if (reader.GetLastError().empty()) {
        std::printf("%s: load failed\n", path);
    } else {
        std::printf("%s: load failed (%s)\n", path, reader.GetLastError().c_str());
    }
    // A failed walk may still have read something worth showing.
    for (unsigned i = 0; i < reader.GetMeshCount(); ++i) {
        const Mesh& mesh = reader.GetMesh(i);
        std::printf("mesh %s vertices %u triangles %u materials %u\n", mesh.GetName().c_str(), mesh.GetVertexCount(),
                    mesh.GetTriangleCount(), mesh.GetMaterialCount());
    }
    for (unsigned i = 0; i < reader.GetMaterialCount(); ++i) {
        std::printf("material %s\n", reader.GetMaterial(i).GetName().c_str());
    }
    return loaded;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorl-h-3dsinfo FILE...\n");
        return 1;
    }
    bool allLoaded = true;
    for (int i = 1; i < argc; ++i) {
        allLoaded = describe(argv[i]) && allLoaded;
    }
    return allLoaded ? 0 : 1;
}
