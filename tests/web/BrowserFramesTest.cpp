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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/FrameDifference.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

// The "part NAME frames N mean_ms M ..." lines of a renderer or of
// browser-frames, as NAME -> M.
std::map<std::string, double> partMeans(const std::string& text)
{
    std::map<std::string, double> means;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string tag, part, framesWord, meanWord;
        int count = 0;
        double ms = 0;
        if (words >> tag >> part >> framesWord >> count >> meanWord >> ms && tag == "part" && meanWord == "mean_ms") {
            means[part] = ms;
        }
    }
    return means;
}

// The page's mean per part beside the native renderer's from the same test
// run (the shared frames' render), for the log: the two rasterisers'
// costs told apart on this machine. Timing is reported, never tested.
void printBesideNative(const std::string& pageOutput, const fs::path& nativeOutput)
{
    const std::map<std::string, double> page = partMeans(pageOutput);
    const std::map<std::string, double> native = partMeans(readFile(nativeOutput));
    for (const char* part : {"logo", "intro", "wave", "metaballs", "spin", "tunnels", "bodies", "end"}) {
        const auto p = page.find(part);
        const auto n = native.find(part);
        if (p == page.end() || n == native.end()) continue;
        std::printf("part %s page_mean_ms %.1f native_mean_ms %.1f ratio %.2f\n", part, p->second, n->second,
                    n->second > 0 ? p->second / n->second : 0.0);
    }
}

}  // namespace

// Each test needs the page `./quorl web` built and Chromium.
class BrowserFrames : public testing::Test {
protected:
    std::string page;

    void SetUp() override
    {
        const char* built = std::getenv("QUORL_WEB_PAGE");
        if (!built || !fs::is_regular_file(fs::path(built) / "quorl-h.wasm")) GTEST_SKIP() << "no web page built";
        if (runTool("command -v chromium >/dev/null").status != 0) GTEST_SKIP() << "no chromium";
        page = built;
    }

    // The command line of browser-frames on the page, before its arguments.
    std::string browserFrames() const
    {
        return std::string(QUORL_SOURCE_DIR) + "/tests/web/browser-frames " + ::quoted(page) + " ";
    }
};

TEST_F(BrowserFrames, PageFramesStayWithinTheBoundsAndThePageReportsNoError)
{
    const fs::path reference = frames::showFrames(frames::COMPARED_FRAMES);
    ASSERT_FALSE(reference.empty()) << "desktop frames could not be rendered";

    const fs::path out = fs::temp_directory_path() / "quorl-browser-frames";
    fs::remove_all(out);
    const std::string list = frames::frameList(frames::COMPARED_FRAMES);
    const ToolRun run = runTool(browserFrames() + out.string() + " " + list + " 2>&1");
    std::printf("%s", run.output.c_str());
    EXPECT_EQ(run.status, 0) << "the page reported errors or missed frames";
    for (const int n : frames::COMPARED_FRAMES) frames::expectWithinBounds("browser", reference, out, n);
    printBesideNative(run.output, reference / "render.txt");
}

TEST_F(BrowserFrames, MissingAndDamagedFilesGiveTheShowsMessagesOnThePageAndTheShowPlaysOn)
{
    const fs::path out = fs::temp_directory_path() / "quorl-browser-broken";
    fs::remove_all(out);
    // A model gone and a picture cut in half: the model's box message, and
    // frames still drawn past the intro's start.
    const ToolRun run = runTool(browserFrames() + out.string() +
                                " 0,400 --query 'without=/data/allt.3ds&damage=/data/intro1.jpg' 2>&1");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("message [LOADING ERROR] Loading .3ds file in Object.cpp failed"), std::string::npos)
        << run.output;
    EXPECT_TRUE(fs::is_regular_file(out / "frame-000400.png")) << run.output;
}

TEST_F(BrowserFrames, AScaleTheBrowsersGlCannotDrawIsRefusedWithTheShowsMessageAndReportedAtOnce)
{
    const fs::path out = fs::temp_directory_path() / "quorl-browser-refused";
    fs::remove_all(out);
    // Software WebGL draws lines 1 pixel wide at most: K = 4 is refused.
    const ToolRun run = runTool(browserFrames() + out.string() + " 10 --query scale=4 --timeout 60 2>&1");
    EXPECT_NE(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("message [ERROR] This GL cannot draw the show at "), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("no report from the page"), std::string::npos) << run.output;
}

// One "sample" or "change" line of browser-frames --play.
struct PlayRecord {
    std::string part;
    double frame = 0, musicMs = 0, drift = 0;
    bool hidden = false;
};

TEST_F(BrowserFrames, ThePlayedPageKeepsItsPictureWithItsMusicAlsoAfterBeingHidden)
{
    // The whole show and 20 s of the end picture (from 144 s into the
    // music), the page hidden for 5 s in the intro.
    const ToolRun run = runTool(browserFrames() + "--play 165 --hide 20,5 2>&1");
    std::printf("%s", run.output.c_str());
    ASSERT_EQ(run.status, 0) << "the page reported errors or no report";
    std::istringstream lines(run.output);
    std::string line, word;
    std::vector<PlayRecord> samples, hidden;
    std::map<std::string, PlayRecord> changes;
    std::map<std::string, double> longestStep;  // ms from one drawn frame to the next, by part
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        PlayRecord r;
        std::string kind, flag;
        words >> kind;
        if (kind == "sample") {
            words >> word >> word >> r.frame >> word >> r.musicMs >> word >> r.drift >> word >> r.part >> flag;
            r.hidden = flag == "hidden";
            (r.hidden ? hidden : samples).push_back(r);
        } else if (kind == "change") {
            words >> r.part >> word >> r.frame >> word >> r.musicMs >> word >> r.drift;
            changes[r.part] = r;
        } else if (line.rfind("play part ", 0) == 0) {
            double ms = 0;
            words >> word >> r.part >> word >> word >> word >> word >> word >> ms;
            longestStep[r.part] = ms;
        }
    }
    // How far behind the music a frame may be seen: it was the music's
    // frame when its step began, and stays on screen until the next one
    // is drawn, so two of the page's own steps (the slowest of its part
    // and the one before, on this machine) and a frame's rounding. Never
    // ahead by more than the frame the page may draw before the music's.
    const std::vector<std::string> order = {"logo", "intro", "wave", "metaballs", "spin", "tunnels", "bodies", "end"};
    const auto behindBound = [&](const std::string& part) {
        double ms = longestStep[part];
        for (size_t i = 1; i < order.size(); ++i) {
            if (order[i] == part) ms = std::max(ms, longestStep[order[i - 1]]);
        }
        return 2.0 * ms / 20.0 + 1.0;
    };
    int endSamples = 0;
    for (const PlayRecord& r : samples) {
        EXPECT_LE(r.drift, 2.0) << "ahead of the music in " << r.part << " at frame " << r.frame;
        EXPECT_GE(r.drift, -behindBound(r.part)) << "behind the music in " << r.part << " at frame " << r.frame;
        if (r.part == "end") ++endSamples;
    }
    EXPECT_GE(samples.size(), 130u) << "the show did not play through";
    EXPECT_GE(endSamples, 5) << "the end picture was not reached";
    // Hidden, picture and music stand still together.
    ASSERT_GE(hidden.size(), 3u) << "no samples while the page was hidden";
    for (const PlayRecord& r : hidden) {
        EXPECT_EQ(r.frame, hidden.front().frame);
        EXPECT_EQ(r.musicMs, hidden.front().musicMs);
    }
    for (size_t i = 1; i < order.size(); ++i) {
        ASSERT_EQ(changes.count(order[i]), 1u) << "no change to " << order[i];
        const PlayRecord& r = changes[order[i]];
        EXPECT_LE(r.drift, 2.0) << order[i];
        EXPECT_GE(r.drift, -behindBound(order[i])) << order[i];
    }
}
