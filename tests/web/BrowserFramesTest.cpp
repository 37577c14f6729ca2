// BrowserFramesTest.cpp: the web page in headless Chromium against the
// desktop program's frames, in every part, with the bounds the GL 1.x
// layer's native test uses; the whole show up to the end picture with no
// JavaScript error and no GL error; and the show played with its music,
// the picture kept on the music's time, a hidden page included.
//
// The page is the one `./quorl web` built (QUORL_WEB_PAGE); without it, or
// without Chromium, the test is skipped (`./quorl test` always builds it).
// tests/web/browser-frames drives the browser and writes the frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/FrameDifference.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

TEST(BrowserFrames, PageFramesStayWithinTheBoundsAndThePageReportsNoError)
{
    const char* page = std::getenv("QUORL_WEB_PAGE");
    if (!page || !fs::is_regular_file(fs::path(page) / "quorl-h.wasm")) GTEST_SKIP() << "no web page built";
    if (runTool("command -v chromium >/dev/null").status != 0) GTEST_SKIP() << "no chromium";
    const fs::path reference = frames::showFrames(frames::COMPARED_FRAMES);
    ASSERT_FALSE(reference.empty()) << "desktop frames could not be rendered";

    const fs::path out = fs::temp_directory_path() / "quorl-browser-frames";
    fs::remove_all(out);
    const std::string list = frames::frameList(frames::COMPARED_FRAMES);
    const ToolRun run = runTool(std::string(QUORL_SOURCE_DIR) + "/tests/web/browser-frames '" + page + "' " +
                                out.string() + " " + list + " 2>&1");
    std::printf("%s", run.output.c_str());
    EXPECT_EQ(run.status, 0) << "the page reported errors or missed frames";
    for (const int n : frames::COMPARED_FRAMES) frames::expectWithinBounds("browser", reference, out, n);
}

TEST(BrowserFrames, MissingAndDamagedFilesGiveTheShowsMessagesOnThePageAndTheShowPlaysOn)
{
    const char* page = std::getenv("QUORL_WEB_PAGE");
    if (!page || !fs::is_regular_file(fs::path(page) / "quorl-h.wasm")) GTEST_SKIP() << "no web page built";
    if (runTool("command -v chromium >/dev/null").status != 0) GTEST_SKIP() << "no chromium";
    const fs::path out = fs::temp_directory_path() / "quorl-browser-broken";
    fs::remove_all(out);
    // A model gone and a picture cut in half: the model's box message, and
    // frames still drawn past the intro's start.
    const ToolRun run = runTool(std::string(QUORL_SOURCE_DIR) + "/tests/web/browser-frames '" + page + "' " +
                                out.string() + " 0,400 --query 'without=/data/allt.3ds&damage=/data/intro1.jpg' 2>&1");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("message [LOADING ERROR] Loading .3ds file in Object.cpp failed"), std::string::npos)
        << run.output;
    EXPECT_TRUE(fs::is_regular_file(out / "frame-000400.png")) << run.output;
}

TEST(BrowserFrames, ThePlayedPageKeepsItsPictureWithItsMusicAlsoAfterBeingHidden)
{
    const char* page = std::getenv("QUORL_WEB_PAGE");
    if (!page || !fs::is_regular_file(fs::path(page) / "quorl-h.wasm")) GTEST_SKIP() << "no web page built";
    if (runTool("command -v chromium >/dev/null").status != 0) GTEST_SKIP() << "no chromium";
    // The whole show up to the end picture (144 s into the music), the page
    // hidden for 5 s in the intro; the software rasteriser draws the intro
    // slower than 20 ms a frame, so the page has to step frames to keep up.
    const ToolRun run = runTool(std::string(QUORL_SOURCE_DIR) + "/tests/web/browser-frames '" + page +
                                "' --play 155 --hide 20,5 2>&1");
    std::printf("%s", run.output.c_str());
    ASSERT_EQ(run.status, 0) << "the page reported errors or no report";
    std::istringstream lines(run.output);
    std::string line;
    int samples = 0;
    bool sawHidden = false;
    std::set<std::string> changes;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string kind, name, frameWord, musicWord, driftWord, hidden;
        double seconds = 0, frame = 0, music = 0, drift = 0;
        if (line.rfind("sample ", 0) == 0) {
            words >> kind >> seconds >> frameWord >> frame >> musicWord >> music >> driftWord >> drift >> hidden;
            if (hidden == "hidden") {
                sawHidden = true;
                continue;
            }
            ++samples;
            EXPECT_LE(std::fabs(drift), 5.0) << line;
        } else if (line.rfind("change ", 0) == 0) {
            words >> kind >> name >> frameWord >> frame >> musicWord >> music >> driftWord >> drift;
            changes.insert(name);
            EXPECT_LE(std::fabs(drift), 5.0) << line;
        }
    }
    EXPECT_TRUE(sawHidden) << "no sample while the page was hidden";
    EXPECT_GE(samples, 130) << "the show did not play through";
    for (const char* part : {"intro", "wave", "metaballs", "spin", "tunnels", "bodies", "end"}) {
        EXPECT_EQ(changes.count(part), 1u) << "no change to " << part;
    }
}
