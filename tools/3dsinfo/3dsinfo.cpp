// 3dsinfo.cpp: quorl-h-3dsinfo FILE...: loads each 3DS file with the show's
// own reader and prints what it found, so content authors can check a model
// before the show loads it. Per file: a status line, one "damaged WHAT" line
// per kind of damage the reader worked around, then one line per mesh and
// one per material. Exit status 0 when every file loaded clean, 3 when all
// loaded but some were damaged, 1 when any did not load, 2 for a bad
// command line.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "reader3ds/Reader3DS.h"

namespace {

enum class Outcome { Clean, Damaged, Failed };

// Prints one file's report.
Outcome describe(const char* path) {
    Reader3DS reader;
    const bool loaded = reader.LoadFile(path);
    if (loaded) {
        std::printf("%s: loaded\n", path);
    } else if (reader.GetLastError().empty()) {
        std::printf("%s: load failed\n", path);
    } else {
        std::printf("%s: load failed (%s)\n", path, reader.GetLastError().c_str());
    }
    for (const Reader3DS::Damage kind : Reader3DS::ALL_DAMAGE) {
        if (reader.HasDamage(kind)) {
            std::printf("damaged %s\n", Reader3DS::DamageName(kind));
        }
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
    if (!loaded) {
        return Outcome::Failed;
    }
    return reader.GetDamage() != 0 ? Outcome::Damaged : Outcome::Clean;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    cli::CommandLine line("quorl-h-3dsinfo", "Prints what the show's 3DS reader makes of model files.");
    line.app().add_option("FILE", files, "3DS model files")->required();
    if (const auto status = line.parse(argc, argv)) return *status;
    bool anyFailed = false;
    bool anyDamaged = false;
    for (const std::string& file : files) {
        const Outcome outcome = describe(file.c_str());
        anyFailed = anyFailed || outcome == Outcome::Failed;
        anyDamaged = anyDamaged || outcome == Outcome::Damaged;
    }
    if (anyFailed) {
        return 1;
    }
    return anyDamaged ? 3 : 0;
}
