// quorl-h-bench: the whole show rendered headless, timed frame by frame.
//
//   quorl-h-bench [--to N] [--out DIR] [--compare OLD.csv] [--data DIR] [--floor K] [--scale K]
//
// Renders frames 0..N-1 (default 7,300: the whole running order and the
// first hundred frames of the end picture) with the virtual clock, as
// quorl-h-render does, and reports on standard output:
//   - per part: frames, mean, median, 99th percentile and worst frame time,
//     each frame timed from the clear to a finished picture (glFinish),
//     without the tick wait;
//   - the start-up (loadShow) split into pictures, models, music and the rest;
//   - resident memory at frames 400, 3,600 and N, and its peak;
//   - with --compare, each part's mean and 99th percentile against OLD.csv;
//   - with --floor K, each part's bare GL work: the show is drawn a second
//     time in a new window, every K-th frame recorded into a display list as
//     it is drawn and then replayed from it alone and timed. The replay sends
//     the same primitives, state changes, copies and fill as the frame, with
//     none of the show's computation; what the part takes beyond it is the
//     show's own.
// --scale K (1 to 4, default 1) draws the show at K times its 800 x 600
// picture, for the cost of a larger picture.
// The raw times go to DIR/frames.csv (default DIR: bench). OLD.csv is read
// before the run, so it may be the file this run replaces.
#include <GL/gl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/CommandLine.h"
#include "common/LoadTimes.h"
#include "common/Screen.h"
#include "platform/DataFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"
#include "tools/bench/BenchStats.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    int to = 7300;
    std::string out = "bench";
    std::string compare;  // empty: no comparison
    std::string data;     // empty: ./data, else the installed data
    int floorEvery = 0;   // every how many frames the bare GL work is timed; 0: never
    int scale = 1;        // render scale
};

// The bench's command line, bound to options.
std::unique_ptr<cli::CommandLine> benchCommandLine(Options& options)
{
    auto line = std::make_unique<cli::CommandLine>("quorl-h-bench", "Renders the show headless, timed frame by frame.");
    line->addNumber("--to", options.to, 1, cli::LAST_FRAME, "one past the last frame (default 7300)", "FRAME");
    line->app().add_option("--out", options.out, "folder of frames.csv (default: bench)")->type_name("DIR");
    line->app().add_option("--compare", options.compare, "an earlier run's frames.csv to compare with")
        ->type_name("OLD.csv");
    line->addData(options.data);
    line->addNumber("--floor", options.floorEvery, 1, cli::LAST_FRAME, "time the bare GL work of every K-th frame",
                    "K");
    line->addScale(options.scale, false, "draw at K times the 800 x 600 picture (K = 1 to 4)");
    return line;
}

// Resident memory now, and its peak so far, in MB, from /proc/self.
double residentMb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double peakResidentMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0.0;
}

// The show as the shell drives it, with loadShow timed as a whole and split
// by the loaders' own timers.
class TimedShow final : public Show {
public:
    explicit TimedShow(Timeline& timeline) : timeline(timeline) {}
    void loadShow() override
    {
        const LoadTotals before = loadTotals();
        const Clock::time_point begin = Clock::now();
        timeline.loadShow();
        glFinish();
        totalSeconds = std::chrono::duration<double>(Clock::now() - begin).count();
        const LoadTotals after = loadTotals();
        for (size_t i = 0; i < split.size(); ++i) split[i] = after[i] - before[i];
    }
    void drawFrame() override { timeline.drawFrame(); }

    double totalSeconds = 0.0;
    LoadTotals split{};

private:
    Timeline& timeline;
};

// The show drawn once more from frame 0 in a new window; every `every`-th
// frame is compiled into a display list while it executes, then replayed
// from the list and timed up to a finished picture. Queries and waits run
// at once and are not recorded, so the replay is the frame's GL work alone.
// Replaying repeats the frame's copies into the feedback textures, so the
// pictures after it differ a little from the show's; the work does not.
std::vector<FrameTime> bareGlRun(platform::HeadlessPlatform& headless, int to, int every, int scale)
{
    std::vector<FrameTime> bare;
    Timeline timeline(headless);
    Shell shell(headless, timeline, ShellSettings{.scale = scale});
    if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) return bare;
    const GLuint list = glGenLists(1);
    for (int frame = 0; frame < to; ++frame) {
        if (frame % every != 0) {
            timeline.drawFrame();
            headless.swapBuffers();
            continue;
        }
        glNewList(list, GL_COMPILE_AND_EXECUTE);
        timeline.renderFrame();
        glEndList();
        glFinish();
        const Clock::time_point begin = Clock::now();
        glCallList(list);
        glFinish();
        const Clock::time_point end = Clock::now();
        bare.push_back({frame, timeline.flags.current(), std::chrono::duration<double, std::milli>(end - begin).count()});
        timeline.finishFrame();
        headless.swapBuffers();
    }
    glDeleteLists(list, 1);
    shell.closeWindow();
    return bare;
}

std::optional<std::string> readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const auto status = benchCommandLine(options)->parse(argc, argv)) return *status;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path out = fs::absolute(options.out, error);
    fs::create_directories(out, error);
    if (!fs::is_directory(out)) {
        std::fprintf(stderr, "quorl-h-bench: cannot make %s\n", options.out.c_str());
        return 1;
    }
    std::optional<std::vector<FrameTime>> oldRun;
    if (!options.compare.empty()) {
        const std::optional<std::string> text = readText(fs::absolute(options.compare, error).string());
        if (text) oldRun = runFromCsv(*text);
        if (!oldRun) {
            std::fprintf(stderr, "quorl-h-bench: %s is no frame-time CSV\n", options.compare.c_str());
            return 1;
        }
    }
    if (!platform::useToolData("quorl-h-bench", options.data)) return 1;
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless);
    TimedShow show(timeline);
    Shell shell(headless, show, ShellSettings{.scale = options.scale});
    if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) return 1;

    // Resident memory is sampled once the frame count reaches each of these.
    const int memoryFrames[] = {400, 3600, options.to};
    std::vector<std::pair<int, double>> memory;
    std::vector<FrameTime> run;
    run.reserve(static_cast<size_t>(options.to));
    for (int frame = 0; frame < options.to; ++frame) {
        const Clock::time_point begin = Clock::now();
        timeline.renderFrame();
        glFinish();
        const Clock::time_point end = Clock::now();
        run.push_back({frame, timeline.flags.current(), std::chrono::duration<double, std::milli>(end - begin).count()});
        timeline.finishFrame();
        headless.swapBuffers();
        for (const int at : memoryFrames) {
            if (frame + 1 == at && (memory.empty() || memory.back().first != at)) memory.emplace_back(at, residentMb());
        }
    }
    const double peakMb = peakResidentMb();
    shell.closeWindow();

    const std::string csvPath = (out / "frames.csv").string();
    std::ofstream csv(csvPath, std::ios::binary);
    csv << runToCsv(run);
    if (!csv.flush()) {
        std::fprintf(stderr, "quorl-h-bench: cannot write %s\n", csvPath.c_str());
        return 1;
    }

    // Before the report, so that the loaders' lines of the second show come
    // ahead of it too.
    std::vector<FrameTime> bare;
    if (options.floorEvery > 0) {
        bare = bareGlRun(headless, options.to, options.floorEvery, options.scale);
        if (bare.empty()) return 1;
    }

    const RunStats stats = statsByPart(run);
    std::printf("Frame time per part, frames 0-%d at render scale %d, %d x %d (drawing to a finished picture):\n\n%s\n",
                options.to - 1, options.scale, PICTURE_WIDTH * options.scale, PICTURE_HEIGHT * options.scale,
                statsTable(stats).c_str());
    const auto ms = [](double seconds) { return seconds * 1000.0; };
    const double pictures = show.split[static_cast<int>(LoadKind::Pictures)];
    const double models = show.split[static_cast<int>(LoadKind::Models)];
    const double music = show.split[static_cast<int>(LoadKind::Music)];
    std::printf("Start-up (loadShow): %.0f ms = pictures %.0f + models %.0f + music %.0f + rest %.0f\n",
                ms(show.totalSeconds), ms(pictures), ms(models), ms(music),
                ms(show.totalSeconds - pictures - models - music));
    std::printf("Resident memory:");
    for (const auto& [frame, mb] : memory) std::printf(" frame %d %.1f MB,", frame, mb);
    std::printf(" peak %.1f MB\n", peakMb);
    std::printf("Frame times: %s\n", csvPath.c_str());
    if (!bare.empty()) {
        std::printf("\nBare GL work per part (one frame in %d replayed from a display list):\n\n%s",
                    options.floorEvery, floorTable(stats, statsByPart(bare)).c_str());
    }
    if (oldRun) {
        std::printf("\nAgainst %s (new / old; below 1 is faster):\n\n%s", options.compare.c_str(),
                    compareTable(stats, statsByPart(*oldRun)).c_str());
    }
    return 0;
}
