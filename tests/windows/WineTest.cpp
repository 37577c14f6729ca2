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

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "shell/Schedule.h"
#include "support/FrameDifference.h"
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

// The zip's folder copied to `target`, with its programs and data.
void copyWindowsFolder(const fs::path& target)
{
    fs::remove_all(target);
    fs::create_directories(target.parent_path());
    fs::copy(WINDOWS_FOLDER, target, fs::copy_options::recursive);
}

}  // namespace

TEST(WineFrames, WindowsRendererDrawsTheLinuxFramesInEveryPart)
{
    const fs::path scratch = freshFolder("wine-frames");
    const std::string frameArgs = "--step --from 0 --to " + std::to_string(FRAMES.back() + 1) + " --save " + list(FRAMES);
    const ToolRun linux = runTool("./quorl-h-render " + frameArgs + " --out " + ::quoted(scratch / "linux") + " 2>&1");
    ASSERT_EQ(linux.exit, 0) << report(linux);
    const ToolRun windows =
        runTool(underWine(WINDOWS_FOLDER, "quorl-h-render.exe " + frameArgs + " --out 'Z:" +
                                              (scratch / "windows").string() + "' 2>&1"));
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
    const fs::path odd = scratch / "Quorl H \xc3\xa4\xc3\xb6 \xe2\x98\x85";  // "Quorl H äö ★"
    copyWindowsFolder(odd);
    // Started by its full name from another working folder: data\ beside it.
    const std::string program = "'Z:" + (odd / "quorl-h-render.exe").string() + "'";
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
    const ToolRun none = runTool("timeout 60 sh -c " +
                                 ::quoted(underWine(scratch, program + " --from 0 --to 1 2>&1")));
    EXPECT_EQ(none.exit, 1) << report(none);
    EXPECT_NE(none.output.find("are not in"), std::string::npos) << none.output;
    fs::remove_all(scratch);
}
