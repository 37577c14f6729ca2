// RenderToolTest.cpp: quorl-h-render end to end: frames written as 800 x 600
// PNG files, one timing line per part, and the same frame twice the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "support/ShowFrames.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

// Runs the renderer and captures standard output.
ToolRun render(const std::string& arguments, const std::string& environment = "")
{
    return runTool(environment + " ./quorl-h-render " + arguments + " 2>/dev/null");
}

}  // namespace

TEST(RenderTool, WritesRequestedFramesAndOneTimingLinePerPart)
{
    const fs::path out = freshFolder("render-test-frames");
    const ToolRun run = render("--from 0 --to 450 --save 0,420 --out " + out.string());
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* name : {"frame-000000.png", "frame-000420.png"}) {
        const frames::Picture picture = frames::readPng(out / name);
        EXPECT_EQ(std::make_pair(picture.width, picture.height), std::make_pair(800, 600)) << name;
    }
    EXPECT_FALSE(fs::exists(out / "frame-000001.png"));
    const std::regex line(R"(part (logo|intro) frames (\d+) mean_ms [0-9.]+ max_ms [0-9.]+\n)");
    std::smatch match;
    std::string rest = run.output;
    int lines = 0;
    int frames = 0;
    while (std::regex_search(rest, match, line)) {
        ++lines;
        frames += std::stoi(match[2]);
        rest = match.suffix();
    }
    EXPECT_EQ(lines, 2) << run.output;
    EXPECT_EQ(frames, 450);
}

TEST(RenderTool, SameFrameNumberGivesTheSamePicture)
{
    const fs::path first = freshFolder("render-test-first");
    const fs::path second = freshFolder("render-test-second");
    ASSERT_EQ(render("--from 395 --to 405 --save 399,404 --out " + first.string()).status, 0);
    ASSERT_EQ(render("--from 399 --to 405 --save 399,404 --out " + second.string()).status, 0);
    for (const char* name : {"frame-000399.png", "frame-000404.png"}) {
        const std::string a = readFile(first / name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, readFile(second / name)) << name;
    }
}

TEST(RenderTool, RefusesBadArgumentsInOneLineWithStatusTwoBeforeRendering)
{
    // An empty range (from = to) renders nothing: refused as one the wrong
    // way round is, while one frame (to = from + 1) is a range.
    const char* const bad[] = {"--from 10", "--from 10 --to 5", "--from 5 --to 5", "--from x --to 5",
                               "--from 0 --to 5 --save 1,x", "--from 0 --to 5 --save 100001", "--from 0 --to 5 --save 1 2"};
    for (const char* arguments : bad) {
        // Standard error alone, through the pipe.
        const ToolRun run = runTool("./quorl-h-render " + std::string(arguments) + " 2>&1 >/dev/null");
        EXPECT_EQ(run.exit, 2) << arguments << ": " << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << arguments << ": " << run.output;
        EXPECT_EQ(run.output.rfind("quorl-h-render: ", 0), 0u) << arguments << ": " << run.output;
    }
    EXPECT_EQ(render("--from 5 --to 6").status, 0);
    EXPECT_NE(render("--from 0 --to 5 --data /nonexistent-folder").status, 0);
}

TEST(RenderTool, ShowRunsSilentWithoutMusicFileOrAudioDevice)
{
    const fs::path out = freshFolder("render-test-silent");
    const fs::path empty = freshFolder("render-test-empty-data");
    // No file at all: every picture, model and the music are missing.
    ToolRun run = render("--from 0 --to 60 --save 59 --out " + out.string() + " --data " + empty.string());
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(fs::exists(out / "frame-000059.png"));
    // The show's own files, but an audio driver that cannot open.
    fs::remove(out / "frame-000059.png");
    run = render("--from 0 --to 60 --save 59 --out " + out.string(), "SDL_AUDIODRIVER=nonexistent");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(fs::exists(out / "frame-000059.png"));
}

TEST(RenderTool, DataFolderUnderAnotherNameLeavesNoLinkFolderBehind)
{
    // --data with a folder not named "data" runs in a private folder holding
    // a "data" link; it must go with the run.
    auto linkFolders = [] {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("quorl-h-render-", 0) == 0) names.insert(name);
        }
        return names;
    };
    const std::set<std::string> before = linkFolders();
    const fs::path out = freshFolder("render-test-linked");
    const ToolRun run = render("--from 0 --to 2 --save 1 --out " + out.string() + " --data build-data-elsewhere",
                                 "mkdir -p build-data-elsewhere &&");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(fs::exists(out / "frame-000001.png"));
    EXPECT_EQ(linkFolders(), before);
    fs::remove_all("build-data-elsewhere");
}

// A renderer that dies of a signal says so on standard error, with the
// frame it was at and its call stack, and still ends with that signal's
// status: a crash in a long run leaves a lead instead of a bare status.
TEST(RenderTool, DyingOfASignalNamesItTheFrameAndTheStack)
{
    const fs::path folder = freshFolder("render-test-signal");
    const std::string out = (folder / "out").string(), err = (folder / "err").string();
    // The first watch line comes after the report is installed; polls are
    // bounded to a minute.
    const ToolRun run = runTool("./quorl-h-render --from 0 --to 100000 --watch 1 >" + out + " 2>" + err +
                                " </dev/null & pid=$!; for i in $(seq 1 600); do grep -q 'watch frame' " + out +
                                " && break; sleep 0.1; done; kill -SEGV $pid; wait $pid; echo \"status $?\"");
    const std::string said = readFile(err);
    EXPECT_NE(run.output.find("status 139"), std::string::npos) << run.output;
    EXPECT_TRUE(std::regex_search(said, std::regex(R"(quorl-h-render: died of SIGSEGV \(invalid memory access\) at frame \d+; call stack:\n)")))
        << said;
    // The signal may land on any of the process's threads: a stack line of any library will do.
    EXPECT_TRUE(std::regex_search(said, std::regex(R"(\n[^\n]+\[0x[0-9a-f]+\]\n)"))) << "no stack lines:\n" << said;
    fs::remove_all(folder);
}
