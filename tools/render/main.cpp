// quorl-h-render: renders frames of the show to PNG files, headless.
//
//   quorl-h-render --from A --to B [--save LIST] [--out DIR] [--data DIR] [--check-gl]
//                  [--watch N] [--scale K] [--step] [--layer-counters LIST]
//
// Renders frames A..B-1 (and, unsaved, every frame before A, since the show
// has memory) with a virtual clock of exactly 20 ms per frame, writes the
// frames in LIST (comma-separated numbers, or "all") as DIR/frame-NNNNNN.png,
// and prints one timing line per part drawn in A..B-1:
//   part NAME frames N mean_ms X max_ms Y
// then one line per part with the mean CPU time of the whole process (the
// software renderer's threads too) over the same frames:
//   cpu NAME mean_ms X
// The time is the drawing of the frame up to a finished picture (glFinish),
// without the tick wait. The show reads its files from ./data, or else from
// the installed data folder; --data points it elsewhere. --check-gl reads
// glGetError after loading, after each part's draw and after each frame's
// end, prints every error as "gl-error frame N PLACE 0xCODE" on standard
// error and makes the exit status 3 when there was any. --watch N prints,
// every N frames, the resident memory and the mean drawing time of those N
// frames, for long runs:
//   watch frame F rss_kb R mean_ms X
// --scale K (1 to 4, default 1) draws the show at K times its 800 x 600
// picture and writes 800K x 600K pictures. --layer-counters LIST (frame
// numbers, or "all"; the renderer through the GL 1.x layer only) prints,
// for each such frame, what the layer asked of the driver while drawing it:
//   layer-counters frame N part NAME draws D buffer_uploads U ...
// --step steps, as the show's --start does, every frame it does not save:
// all its calls are made but no pixel is filled, so distant frames come
// quickly. The spin part's frames
// before a saved one of that part are drawn still, as its trail is made of
// its own earlier pictures; other feedback pictures (the intro's echo) then
// hold what the undrawn frames left, the same on every run with --step.
#include <GL/gl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "PngFile.h"
#ifdef QUORL_GLES
#include "gles/Counters.h"
#endif
#include "cli/CommandLine.h"
#include "common/Screen.h"
#include "platform/CrashReport.h"
#include "platform/DataFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Schedule.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

struct Options {
    int from = 0;
    int to = 0;
    std::vector<std::string> save;  // --save: frame numbers, or "all"
    std::string out = ".";
    std::string data;  // empty: ./data, which may be missing
    bool checkGl = false;
    int watch = 0;  // frames between memory and time lines; 0: none
    int scale = 1;  // render scale
    std::vector<std::string> layerCounters;  // --layer-counters: frame numbers, or "all"
    bool step = false;  // step the frames not saved instead of drawing them
};

#ifdef QUORL_GLES
// Whether `frame` is in a list of frame numbers or "all".
bool listed(const std::vector<std::string>& list, const std::set<int>& numbers, int frame)
{
    return numbers.count(frame) || std::find(list.begin(), list.end(), "all") != list.end();
}
#endif

// The CPU time of the whole process so far, in ms.
double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

// The renderer's command line.
std::unique_ptr<cli::CommandLine> renderCommandLine(Options& options)
{
    auto line = std::make_unique<cli::CommandLine>("quorl-h-render", "Renders frames of the show to PNG files, headless.");
    line->addFrameRange(options.from, options.to, "first frame rendered and timed (those before it are drawn, unsaved)",
                        "one past the last frame rendered")
        ->required();
    // Each item of the list: a frame number within the show's range, or "all".
    const auto frameOrAll = [](std::string& item) -> std::string {
        if (item == "all" || (!item.empty() && item.size() <= 6 &&
                              item.find_first_not_of("0123456789") == std::string::npos &&
                              std::stoi(item) <= cli::LAST_FRAME)) {
            return {};
        }
        return "takes frame numbers separated by commas, or all, not '" + item + "'";
    };
    line->app()
        .add_option("--save", options.save, "frames to write as DIR/frame-NNNNNN.png: comma-separated, or all")
        ->type_name("LIST")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->check(CLI::Validator(frameOrAll, ""));
#ifdef QUORL_GLES
    line->app()
        .add_option("--layer-counters", options.layerCounters,
                    "frames whose GL layer counters are printed: comma-separated, or all")
        ->type_name("LIST")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->check(CLI::Validator(frameOrAll, ""));
#endif
    line->app().add_option("--out", options.out, "folder of the saved frames (default: .)")->type_name("DIR");
    line->addData(options.data);
    line->app().add_flag("--check-gl", options.checkGl, "report every GL error; exit status 3 when there was any");
    line->addNumber("--watch", options.watch, 1, cli::LAST_FRAME, "every N frames, print resident memory and time");
    line->addScale(options.scale, false, "draw at K times the 800 x 600 picture (K = 1 to 4): the PNGs are 800K x 600K");
    line->app().add_flag("--step", options.step,
                         "step the frames not saved (every call made, no pixel filled), except the spin part's "
                         "frames before a saved one; timings are then of the drawn frames only");
    return line;
}

// Whether --step draws `frame`: a saved one, or one of the spin part's
// frames before a saved frame of that part.
bool drawnWhenStepping(int frame, bool saveAll, const std::set<int>& saved)
{
    if (saveAll || saved.count(frame)) return true;
    const int spin = PART_START_FRAME[static_cast<int>(PartId::Spin)];
    const int tunnels = PART_START_FRAME[static_cast<int>(PartId::Tunnels)];
    if (frame < spin || frame >= tunnels) return false;
    const auto next = saved.upper_bound(frame);
    return next != saved.end() && *next < tunnels;
}

struct PartTiming {
    int frames = 0;
    double totalMs = 0.0;
    double maxMs = 0.0;
    double cpuMs = 0.0;
};

// Resident memory of this process in KB, from /proc; 0 when unreadable
// (always on Windows, which has no /proc).
long residentKb()
{
#ifdef _WIN32
    return 0;
#else
    FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file) return 0;
    long pages = 0;
    long resident = 0;
    const int read = std::fscanf(file, "%ld %ld", &pages, &resident);
    std::fclose(file);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
#endif
}

// Drains GL's error flags, one line per error naming the frame and the
// place; returns how many there were. The loop is bounded because a lost
// context can report an error on every call.
int reportGlErrors(int frame, std::string_view place)
{
    int count = 0;
    for (GLenum code = glGetError(); code != GL_NO_ERROR && count < 16; code = glGetError()) {
        std::fprintf(stderr, "gl-error frame %d %.*s 0x%04x\n", frame, static_cast<int>(place.size()), place.data(),
                     code);
        ++count;
    }
    return count;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const auto status = renderCommandLine(options)->parse(argc, argv)) return *status;
    const bool saveAll = std::find(options.save.begin(), options.save.end(), "all") != options.save.end();
    std::set<int> saved;
    for (const std::string& item : options.save) {
        if (item != "all") saved.insert(std::stoi(item));
    }
    std::set<int> counted;
    for (const std::string& item : options.layerCounters) {
        if (item != "all") counted.insert(std::stoi(item));
    }
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path out = fs::absolute(options.out, error);
    fs::create_directories(out, error);
    if (!fs::is_directory(out)) {
        std::fprintf(stderr, "quorl-h-render: cannot make %s\n", options.out.c_str());
        return 1;
    }
    if (!platform::useToolData("quorl-h-render", options.data)) return 1;
    // Rendering makes no sound unless asked to.
#ifdef _WIN32
    if (!std::getenv("SDL_AUDIODRIVER")) _putenv_s("SDL_AUDIODRIVER", "dummy");
#else
    setenv("SDL_AUDIODRIVER", "dummy", 0);
#endif

    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless);
    platform::installCrashReport("quorl-h-render", &timeline.frame);
    Shell shell(headless, timeline, ShellSettings{.scale = options.scale});
    if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) return 1;
    int glErrors = options.checkGl ? reportGlErrors(0, "load") : 0;

    std::array<PartTiming, PART_COUNT> timing{};
    double watchMs = 0.0;  // drawing time since the last watch line
    bool ok = true;
    for (int frame = 0; frame < options.to; ++frame) {
        if (options.step && !drawnWhenStepping(frame, saveAll, saved)) {
            timeline.stepFrame();
            if (options.checkGl) glErrors += reportGlErrors(frame, "step");
            continue;
        }
#ifdef QUORL_GLES
        gles::counters() = gles::Counters{};
#endif
        const double cpuBegin = processCpuMs();
        const auto begin = std::chrono::steady_clock::now();
        timeline.renderFrame();
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        const double cpuMs = processCpuMs() - cpuBegin;
        const PartId part = timeline.flags.current();
#ifdef QUORL_GLES
        // Counted before the picture is read for saving, which is no part of the frame.
        if (!options.layerCounters.empty() && listed(options.layerCounters, counted, frame)) {
            std::printf("layer-counters frame %d part %s %s\n", frame, std::string(partName(part)).c_str(),
                        gles::describe(gles::counters()).c_str());
        }
#endif
        if (options.checkGl) glErrors += reportGlErrors(frame, "part " + std::string(partName(part)));
        if (frame >= options.from && (saveAll || saved.count(frame))) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06d.png", frame);
            ok = writePng((out / name).string(), screenWidth(), screenHeight(), headless.readPicture()) && ok;
        }
        timeline.finishFrame();
        headless.swapBuffers();
        if (options.checkGl) glErrors += reportGlErrors(frame, "end");
        if (frame >= options.from) {
            PartTiming& t = timing[static_cast<int>(part)];
            const double ms = std::chrono::duration<double, std::milli>(end - begin).count();
            ++t.frames;
            t.totalMs += ms;
            t.maxMs = std::max(t.maxMs, ms);
            t.cpuMs += cpuMs;
            watchMs += ms;
        }
        if (options.watch > 0 && (frame + 1) % options.watch == 0) {
            std::printf("watch frame %d rss_kb %ld mean_ms %.3f\n", frame + 1, residentKb(), watchMs / options.watch);
            std::fflush(stdout);
            watchMs = 0.0;
        }
    }
    for (int i = 0; i < PART_COUNT; ++i) {
        const PartTiming& t = timing[i];
        if (t.frames == 0) continue;
        std::printf("part %s frames %d mean_ms %.3f max_ms %.3f\n", std::string(partName(static_cast<PartId>(i))).c_str(),
                    t.frames, t.totalMs / t.frames, t.maxMs);
    }
    for (int i = 0; i < PART_COUNT; ++i) {
        const PartTiming& t = timing[i];
        if (t.frames == 0) continue;
        std::printf("cpu %s mean_ms %.3f\n", std::string(partName(static_cast<PartId>(i))).c_str(), t.cpuMs / t.frames);
    }
    // Said before the window system and the driver are taken down, so that
    // a failure there cannot take the timings with it.
    std::fflush(stdout);
    shell.closeWindow();
    if (glErrors > 0) {
        std::fprintf(stderr, "quorl-h-render: %d GL error(s)\n", glErrors);
        return 3;
    }
    return ok ? 0 : 1;
}
