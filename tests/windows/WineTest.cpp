// WineTest.cpp: the Windows programs (./quorl windows) under Wine, against
// the Linux ones.
//
// Wine draws through this machine's own Mesa, so the Windows renderer's
// frames can be held against the Linux renderer's: both render the same
// frames with --step (every part, a flash, the spin trail grown 300
// frames). A frame is byte-identical where the two builds compute the
// same; where the C libraries' sin, cos, pow or sqrt round differently the
// part's frames must stay within that part's bounds below. Then the
// programs' console output and the data folder found beside the .exe from
// another working folder and from a folder whose name has a space and
// letters outside ASCII. Wine's prefix lives in the Windows build folder
// (QUORL_WINE_PREFIX), made once by the wine_prefix fixture.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "shell/Schedule.h"
#include "support/FrameDifference.h"
#include "support/ShowProcess.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

// The unpacked zip's folder (programs and data/), from CMake.
const fs::path WINDOWS_FOLDER = QUORL_WINDOWS_FOLDER;

// The frames compared: the logo, the intro's echo under the flash, the
// wave, the metaballs in a flash, the spin part's first frame and its trail
// 300 frames on, the tunnels, the bodies early and late, the last flash and
// the end picture.
const std::vector<int> FRAMES = {399, 1200, 1950, 2810, 3600, 3900, 4450, 5300, 7000, 7199, 7250};

// Bounds of a part's frames that are not byte-identical, {mean, worst
// 16 x 16 block} in levels of 255. Zero: the part must be identical.
std::map<PartId, std::pair<double, double>> boundsByPart()
{
    return {
        {PartId::Logo, {0.0, 0.0}},      {PartId::Intro, {0.0, 0.0}},  {PartId::Wave, {0.0, 0.0}},
        {PartId::Metaballs, {0.0, 0.0}}, {PartId::Spin, {0.0, 0.0}},   {PartId::Tunnels, {0.0, 0.0}},
        {PartId::Bodies, {0.0, 0.0}},    {PartId::End, {0.0, 0.0}},
    };
}

PartId partOf(int frame)
{
    int part = 0;
    while (part + 1 < PART_COUNT && frame >= PART_START_FRAME[part + 1]) ++part;
    return static_cast<PartId>(part);
}

// A command under Wine, in `folder` (a Linux path), with Wine's own chatter off.
std::string underWine(const fs::path& folder, const std::string& command)
{
    return "cd " + ::quoted(folder) + " && WINEDEBUG=-all SDL_AUDIODRIVER=dummy wine " + command;
}

std::string list(const std::vector<int>& numbers)
{
    return frames::frameList(numbers);
}

// The zip unpacked into `folder` as a person would: its one top folder,
// programs and data inside, under `folder`. Returns that top folder.
fs::path unpackZip(const fs::path& folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path zip = WINDOWS_FOLDER.string() + ".zip";
    const ToolRun unpacked = runTool("python3 -m zipfile -e " + ::quoted(zip) + " " + ::quoted(folder) + " 2>&1");
    EXPECT_EQ(unpacked.exit, 0) << report(unpacked);
    return folder / WINDOWS_FOLDER.filename();
}

// A Windows path (Wine's Z: drive) for a Linux one, quoted for the shell.
std::string windowsPath(const fs::path& path)
{
    return ::quoted("Z:" + path.string());
}

}  // namespace

TEST(WineFrames, WindowsRendererDrawsTheLinuxFramesInEveryPart)
{
    const fs::path scratch = freshFolder("wine-frames");
    const std::string frameArgs = "--step --from 0 --to " + std::to_string(FRAMES.back() + 1) + " --save " + list(FRAMES);
    const ToolRun linux = runTool("./quorl-h-render " + frameArgs + " --out " + ::quoted(scratch / "linux") + " 2>&1");
    ASSERT_EQ(linux.exit, 0) << report(linux);
    const ToolRun windows =
        runTool(underWine(WINDOWS_FOLDER, "quorl-h-render.exe " + frameArgs + " --out " +
                                              windowsPath(scratch / "windows") + " 2>&1"));
    ASSERT_EQ(windows.exit, 0) << report(windows);
    const auto bounds = boundsByPart();
    for (const int n : FRAMES) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", n);
        const frames::Picture a = frames::readPng(scratch / "linux" / name);
        const frames::Picture b = frames::readPng(scratch / "windows" / name);
        ASSERT_FALSE(a.empty() || b.empty()) << "frame " << n << " missing";
        const PartId part = partOf(n);
        if (a.rgb == b.rgb) {
            std::printf("wine frame %d (%s) identical\n", n, std::string(partName(part)).c_str());
            continue;
        }
        const frames::Difference d = frames::difference(a, b);
        std::printf("wine %s (%s)\n", frames::describe(n, d).c_str(), std::string(partName(part)).c_str());
        const auto [mean, block] = bounds.at(part);
        EXPECT_TRUE(mean > 0.0) << "frame " << n << " of " << partName(part) << " should be byte-identical";
        EXPECT_LE(d.mean, mean) << frames::describe(n, d);
        EXPECT_LE(d.worstBlock, block) << frames::describe(n, d);
    }
}

TEST(WineConsole, HelpAndVersionReachTheConsoleThatStartedTheProgram)
{
    // cmd is a console program: the show, a GUI program, attaches to its
    // console and prints there; cmd's console output is this pipe.
    for (const std::string program : {"quorl-h.exe", "quorl-h-render.exe", "quorl-h-check.exe", "quorl-h-3dsinfo.exe"}) {
        const ToolRun help = runTool(underWine(WINDOWS_FOLDER, "cmd /c " + program + " --help 2>&1"));
        EXPECT_EQ(help.exit, 0) << program << ": " << report(help);
        EXPECT_NE(help.output.find("--version"), std::string::npos) << program << ": " << help.output;
        const ToolRun version = runTool(underWine(WINDOWS_FOLDER, "cmd /c " + program + " --version 2>&1"));
        EXPECT_NE(version.output.find(QUORL_VERSION_TEXT), std::string::npos) << program << ": " << version.output;
    }
}

TEST(WineData, DataBesideTheProgramIsFoundFromAnyFolderAndAnyFolderName)
{
    const fs::path scratch = freshFolder("wine-data");
    const fs::path odd = unpackZip(scratch / "Quorl H \xc3\xa4\xc3\xb6 \xe2\x98\x85");  // "Quorl H äö ★"
    // Started by its full name from another working folder: data\ beside it.
    const std::string program = windowsPath(odd / "quorl-h-render.exe");
    const ToolRun run = runTool(underWine(scratch, program + " --from 0 --to 1 --save 0 --out out 2>&1"));
    EXPECT_EQ(run.exit, 0) << report(run);
    EXPECT_NE(run.output.find("data from"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\xc3\xa4\xc3\xb6 \xe2\x98\x85"), std::string::npos) << "the folder's name, as UTF-8: "
                                                                                   << run.output;
    const frames::Picture first = frames::readPng(scratch / "out" / "frame-000000.png");
    EXPECT_FALSE(first.empty()) << "no frame drawn from the data beside the program";

    // No data anywhere: one message naming where it looked, a failing
    // status, and no message box waiting for a click.
    fs::remove_all(odd / "data");
    for (const std::string& command : {program + " --from 0 --to 1", windowsPath(odd / "quorl-h.exe") + " --window"}) {
        const ToolRun none = runTool("timeout 60 sh -c " + ::quoted(underWine(scratch, command + " 2>&1")));
        EXPECT_EQ(none.exit, 1) << command << ": " << report(none);
        EXPECT_NE(none.output.find("are not in"), std::string::npos) << command << ": " << none.output;
    }
    fs::remove_all(scratch);
}

namespace {

// The last "seconds frame ..." line of the show's sync log: the frame it
// showed at that second, or -1 before the first line.
int lastSyncFrame(const fs::path& log)
{
    std::istringstream lines(readFile(log));
    std::string line;
    int frame = -1;
    while (std::getline(lines, line)) {
        double seconds = 0;
        int n = -1;
        if (line.empty() || line[0] == '#') continue;
        if (std::istringstream(line) >> seconds >> n) frame = n;
    }
    return frame;
}

// The show's window under Wine: quorl-h.exe started by its full name, from
// the zip unpacked into a folder whose name has a space.
class WineWindow : public testing::Test {
protected:
    fs::path scratch;
    ShowProcess show;

    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
        if (runTool("command -v xdotool && command -v xwininfo && command -v import").status != 0) {
            GTEST_SKIP() << "xdotool, xwininfo or ImageMagick's import missing";
        }
        scratch = freshFolder("wine-window");
    }

    void TearDown() override
    {
        show.stop();
        runTool("wineserver -k 2>/dev/null");  // whatever Wine still runs for the show
        if (!scratch.empty()) fs::remove_all(scratch);
    }

    void start(const fs::path& program, const std::string& arguments)
    {
        ASSERT_TRUE(show.start("cd " + ::quoted(scratch) + " && SDL_AUDIODRIVER=dummy exec wine " +
                                   windowsPath(program) + " " + arguments,
                               scratch / "show.log"));
    }

    // Polls every 100 ms, at most `polls` times, while the show runs.
    template <typename Done>
    bool waitFor(int polls, Done done)
    {
        for (int poll = 0; poll < polls && show.running(); ++poll) {
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
};

}  // namespace

TEST_F(WineWindow, TheShowPlaysInItsWindowDrawsTheRenderersFramesAndEndsOnEscape)
{
    const fs::path folder = unpackZip(scratch / "Unpacked here");
    start(folder / "quorl-h.exe", "--window --sync-log " + windowsPath(scratch / "sync.txt"));
    std::string window;
    ASSERT_TRUE(waitFor(600, [&] {
        window = runTool("xdotool search --onlyvisible --classname quorl-h.exe 2>/dev/null | head -n 1").output;
        return !window.empty();
    })) << "no window; the show " << show.endReport();
    window.erase(window.find_last_not_of("\n") + 1);
    const auto opened = std::chrono::steady_clock::now();
    const std::string info = runTool("xwininfo -id " + window).output;
    EXPECT_NE(info.find("Width: 800"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 600"), std::string::npos) << info;

    // A grab in the logo, between two lines of the sync log: the frame on
    // screen then is one of those the two lines bracket.
    const fs::path sync = scratch / "sync.txt";
    ASSERT_TRUE(waitFor(300, [&] { return lastSyncFrame(sync) >= 25; })) << "the show does not play; " << show.endReport();
    const int before = lastSyncFrame(sync);
    const ToolRun grab = runTool("import -window " + window + " -depth 8 PNG24:" + ::quoted(scratch / "grab.png") + " 2>&1");
    ASSERT_EQ(grab.exit, 0) << report(grab);
    ASSERT_TRUE(waitFor(50, [&] { return lastSyncFrame(sync) > before; })) << "the show " << show.endReport();
    const int after = lastSyncFrame(sync);
    ASSERT_LT(after, PART_START_FRAME[1]) << "the logo was over before the grab";

    const fs::path linux = scratch / "linux";
    const ToolRun render = runTool("./quorl-h-render --from " + std::to_string(std::max(0, before - 1)) + " --to " +
                                   std::to_string(after + 2) + " --save all --out " + ::quoted(linux) + " 2>&1");
    ASSERT_EQ(render.exit, 0) << report(render);
    const frames::Picture grabbed = frames::readPng(scratch / "grab.png");
    ASSERT_FALSE(grabbed.empty());
    frames::Difference best{1e9, 1e9};
    int bestFrame = -1;
    for (int n = std::max(0, before - 1); n <= after + 1; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", n);
        const frames::Difference d = frames::difference(frames::readPng(linux / name), grabbed);
        if (d.mean < best.mean) std::tie(best, bestFrame) = std::tie(d, n);
    }
    std::printf("wine window grab between frames %d and %d: closest %s\n", before, after,
                frames::describe(bestFrame, best).c_str());
    EXPECT_LE(best.mean, 0.5) << frames::describe(bestFrame, best);
    EXPECT_LE(best.worstBlock, 4.0) << frames::describe(bestFrame, best);

    // Ten seconds of playing, then Escape, the pointer over the picture
    // after a click that gives the window the keyboard (there is no window
    // manager to give it).
    std::this_thread::sleep_until(opened + std::chrono::seconds(10));
    ASSERT_TRUE(show.running()) << "the show " << show.endReport();
    EXPECT_GT(lastSyncFrame(sync), after) << "the show stopped playing";
    // The keyboard follows the pointer, as on a fresh X server: a full
    // screen window of an earlier test may have left the focus nowhere.
    // Wine takes the click's focus in its own time, so a press that came
    // too soon is pressed again, as a person would.
    const std::string root = runTool("xwininfo -root | awk '/Window id/ { print $4 }'").output;
    runTool("xdotool windowfocus " + root);
    for (int press = 0; press < 5 && show.running(); ++press) {
        runTool("xdotool mousemove --window " + window + " 400 300 click 1 sleep 0.5 keydown Escape sleep 0.2 keyup Escape");
        waitFor(30, [] { return false; });  // up to 3 s for it to end
    }
    ASSERT_FALSE(show.running()) << "Escape did not end the show; it " << show.endReport();
    EXPECT_TRUE(show.endedWithStatus0()) << "the show " << show.endReport();
}
