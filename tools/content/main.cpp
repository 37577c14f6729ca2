// main.cpp: make-content, the generator of the show's pictures and models.
//
//   make-content OUT_DIR            write every picture and model into OUT_DIR
//   make-content --preview DIR      write contact-sheet.png, models.png and
//                                   each picture as <file>.png into DIR
//                                   (both options may be given together)
//
// Everything is computed from fixed seeds with deterministic arithmetic, in
// one thread, so each run writes the same bytes. Exit status 1 on any error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "models.h"
#include "preview.h"

#include <filesystem>
#include "text.h"
#include "writers.h"

using namespace content;

namespace {

int usage() {
    std::fprintf(stderr, "usage: make-content [--preview DIR] [OUT_DIR]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string outDir;
    std::string previewDir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) previewDir = argv[++i];
        else if (argv[i][0] != '-' && outDir.empty()) outDir = argv[i];
        else return usage();
    }
    if (outDir.empty() && previewDir.empty()) return usage();
    // Output folders are made as needed, so one command does the whole job.
    std::error_code made;
    for (const std::string& dir : {outDir, previewDir}) {
        if (!dir.empty()) std::filesystem::create_directories(dir, made);
    }

    // Pictures are painted one at a time and dropped after writing unless a
    // preview needs them; each gets its own dither seed.
    bool ok = true;
    std::vector<PaintedPicture> painted;
    uint32_t seed = 1;
    for (const PictureSpec& spec : pictureList()) {
        PaintedPicture p{&spec, spec.paint()};
        if (!outDir.empty()) {
            const std::vector<uint8_t> bytes =
                spec.format == Format::Bmp ? encodeBmp(p.canvas, seed) : encodeJpeg(p.canvas, seed);
            ok = writeFile(outDir + "/" + spec.file, bytes) && ok;
        }
        if (!previewDir.empty()) {
            ok = writeFile(previewDir + "/" + spec.file + ".png", encodePng(p.canvas, seed)) && ok;
            painted.push_back(std::move(p));
        }
        ++seed;
    }
    std::vector<ModelFile> models = buildModels();
    if (!outDir.empty())
        for (const ModelFile& m : models) ok = writeFile(outDir + "/" + m.file, encode3ds(m)) && ok;
    if (!previewDir.empty()) {
        ok = writeFile(previewDir + "/contact-sheet.png", encodePng(contactSheet(painted), 7u)) && ok;
        const Canvas atlas = paintBoxAtlas();
        ok = writeFile(previewDir + "/models.png", encodePng(modelSheet(models, atlas), 8u)) && ok;
    }
    shutdownText();
    return ok ? 0 : 1;
}
