// quorl-h-render: renders frames of the show to PNG files, headless.
//
//   quorl-h-render --from A --to B [--save LIST] [--out DIR] [--data DIR]
//
// Renders frames A..B-1 (and, unsaved, every frame before A, since the show
// has memory) with a virtual clock of exactly 20 ms per frame, writes the
// frames in LIST (comma-separated numbers, or "all") as DIR/frame-NNNNNN.png,
// and prints one timing line per part drawn in A..B-1:
//   part NAME frames N mean_ms X max_ms Y
// The time is the drawing of the frame up to a finished picture (glFinish),
// without the tick wait. The show reads its files from ./data, or else from
// the installed data folder; --data points it elsewhere.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "PngFile.h"
#include "common/Screen.h"
#include "platform/DataFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

struct Options {
    int from = 0;
    int to = 0;
    bool saveAll = false;
    std::set<int> save;
    std::string out = ".";
    std::string data;  // empty: ./data, which may be missing
};

void usage()
{
    std::fprintf(stderr, "usage: quorl-h-render --from A --to B [--save LIST|all] [--out DIR] [--data DIR]\n");
}

// Parses a whole non-negative number; false on anything else.
bool parseFrame(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::stoi(text);
    return true;
}

bool parseOptions(int argc, char** argv, Options& options)
{
    bool haveFrom = false;
    bool haveTo = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        if (arg == "--from") {
            if (!parseFrame(value, options.from)) return false;
            haveFrom = true;
        } else if (arg == "--to") {
            if (!parseFrame(value, options.to)) return false;
            haveTo = true;
        } else if (arg == "--save") {
            if (value == "all") {
                options.saveAll = true;
                continue;
            }
            size_t begin = 0;
            while (begin <= value.size()) {
                const size_t comma = std::min(value.find(',', begin), value.size());
                int frame = 0;
                if (!parseFrame(value.substr(begin, comma - begin), frame)) return false;
                options.save.insert(frame);
                begin = comma + 1;
            }
        } else if (arg == "--out") {
            options.out = value;
        } else if (arg == "--data") {
            options.data = value;
        } else {
            return false;
        }
    }
    return haveFrom && haveTo && options.from <= options.to;
}

struct PartTiming {
    int frames = 0;
    double totalMs = 0.0;
    double maxMs = 0.0;
};

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        usage();
        return 2;
    }
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path out = fs::absolute(options.out, error);
    fs::create_directories(out, error);
    if (!fs::is_directory(out)) {
        std::fprintf(stderr, "quorl-h-render: cannot make %s\n", options.out.c_str());
        return 1;
    }
    if (options.data.empty()) {
        // ./data, else the installed data; the show reports each missing
        // file itself and runs on without it.
        platform::useShowData("quorl-h-render");
    } else if (!platform::useExistingDataFolder("quorl-h-render", options.data)) {
        return 1;
    }
    // Rendering makes no sound unless asked to.
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless);
    Shell shell(headless, timeline);
    if (!shell.openWindow("Quorl-H", SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BITS, false)) return 1;

    std::array<PartTiming, PART_COUNT> timing{};
    bool ok = true;
    for (int frame = 0; frame < options.to; ++frame) {
        const auto begin = std::chrono::steady_clock::now();
        timeline.renderFrame();
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        const PartId part = timeline.flags.current();
        if (frame >= options.from && (options.saveAll || options.save.count(frame))) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06d.png", frame);
            ok = writePng((out / name).string(), SCREEN_WIDTH, SCREEN_HEIGHT, headless.readPicture()) && ok;
        }
        timeline.finishFrame();
        headless.swapBuffers();
        if (frame >= options.from) {
            PartTiming& t = timing[static_cast<int>(part)];
            const double ms = std::chrono::duration<double, std::milli>(end - begin).count();
            ++t.frames;
            t.totalMs += ms;
            t.maxMs = std::max(t.maxMs, ms);
        }
    }
    for (int i = 0; i < PART_COUNT; ++i) {
        const PartTiming& t = timing[i];
        if (t.frames == 0) continue;
        std::printf("part %s frames %d mean_ms %.3f max_ms %.3f\n", std::string(partName(static_cast<PartId>(i))).c_str(),
                    t.frames, t.totalMs / t.frames, t.maxMs);
    }
    shell.closeWindow();
    return ok ? 0 : 1;
}
