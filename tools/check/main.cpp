// main.cpp: quorl-h-check [--dump DIR] PATH...: checks the show's files as
// the show would read them, for people who bring their own pictures, models
// or music.
//
// A folder argument is taken as a data folder: every file the show opens
// from it is checked under the name the show uses, and missing ones are
// reported. A file argument checks that file, its kind told by its name or
// its first bytes. One line per file (see FileCheck.h). --dump DIR writes
// each decoded picture to DIR/NAME.png (the full file name, so theend.bmp
// and theend.jpg stay apart), top row first, for comparison with other
// decoders. Exit status 0 when every file is OK, 1 otherwise, 2 for a bad
// command line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "FileCheck.h"
#include "cli/CommandLine.h"
#include "PngFile.h"
#include "ShowFiles.h"

namespace {

struct Target {
    std::string path;
    check::Kind kind;
};


}  // namespace

int main(int argc, char** argv)
{
    std::string dumpDir;
    std::vector<std::string> paths;
    cli::CommandLine line("quorl-h-check",
                          "Checks the show's pictures, models and music as the show reads them. A folder is "
                          "checked as a data folder, file by file.");
    line.app().add_option("PATH", paths, "files or data folders to check")->required();
    line.app()
        .add_option("--dump,--out", dumpDir, "write each decoded picture to DIR/NAME.png")
        ->type_name("DIR");
    if (const auto status = line.parse(argc, argv)) return *status;

    std::vector<Target> targets;
    for (const std::string& path : paths) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            for (const check::ShowFile& file : check::SHOW_FILES) {
                targets.push_back({(std::filesystem::path(path) / file.name).string(), file.kind});
            }
        } else {
            targets.push_back({path, check::kindOf(path)});
        }
    }
    if (!dumpDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(dumpDir, error);
        if (error) {
            std::fprintf(stderr, "quorl-h-check: cannot make %s: %s\n", dumpDir.c_str(), error.message().c_str());
            return 1;
        }
    }

    bool allOk = true;
    for (const Target& target : targets) {
        const check::Report report = check::checkFile(target.path, target.kind);
        std::printf("%s\n", report.line(target.path).c_str());
        std::fflush(stdout);
        allOk = allOk && report.status == check::Status::Ok;
        if (!dumpDir.empty() && report.picture) {
            const std::string name = std::filesystem::path(target.path).filename().string() + ".png";
            const std::string out = (std::filesystem::path(dumpDir) / name).string();
            if (!writePng(out, report.picture->width, report.picture->height, report.picture->rgb)) {
                allOk = false;  // writePng has said why
            }
        }
    }
    return allOk ? 0 : 1;
}
