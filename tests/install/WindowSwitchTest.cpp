// WindowSwitchTest.cpp: the show switched between a window and full screen
// with F1 as a person does it, under the X server the tests run on: the key
// is held for a few frames through the X test extension (xdotool), and after
// each switch exactly one window of the show must be on screen at the size
// of the mode it switched to. Needs DISPLAY, xdotool and xwininfo.
//
// QUORL_F1_SWITCHES sets the number of switches (default 50, about 20 s
// under a software renderer).
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/ShowProcess.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 600;
// Polls of 100 ms for a window to appear; loading the show takes a few
// seconds on a software renderer.
constexpr int WINDOW_POLLS = 300;

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Size& size)
{
    return out << size.width << " x " << size.height;
}

class WindowSwitch : public testing::Test {
protected:
    fs::path scratch;
    mutable ShowProcess show;

    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
        scratch = fs::temp_directory_path() / ("quorl-switch-test-" + std::to_string(::getpid()));
        fs::create_directories(scratch);
        if (runCommand("command -v xdotool && command -v xwininfo", scratch).status != 0) {
            GTEST_SKIP() << "xdotool or xwininfo missing";
        }
    }

    void TearDown() override
    {
        show.stop();
        if (!scratch.empty()) fs::remove_all(scratch);
    }

    // Starts the show in its window from the build folder, where data/ lies.
    void startShow() { ASSERT_TRUE(show.start("exec ./quorl-h --window", scratch / "show.log")); }

    // Sizes of the show's windows that are on screen.
    std::vector<Size> visibleWindows() const
    {
        const CommandRun found =
            runCommand("xdotool search --onlyvisible --pid " + std::to_string(show.processId()), scratch);
        std::vector<Size> sizes;
        std::istringstream ids(found.out);
        std::string id;
        for (int guard = 0; guard < 16 && ids >> id; ++guard) {
            const CommandRun info = runCommand("xwininfo -id " + id, scratch);
            Size size;
            std::istringstream lines(info.out);
            std::string line;
            for (int n = 0; n < 64 && std::getline(lines, line); ++n) {
                if (line.find("  Width: ") == 0) size.width = std::atoi(line.c_str() + 9);
                if (line.find("  Height: ") == 0) size.height = std::atoi(line.c_str() + 10);
            }
            if (info.out.find("Map State: IsViewable") != std::string::npos) sizes.push_back(size);
        }
        return sizes;
    }

    // Waits until exactly one window of the show is on screen at that size.
    bool waitForWindow(const Size& want, std::vector<Size>& seen) const
    {
        for (int poll = 0; poll < WINDOW_POLLS && show.running(); ++poll) {
            seen = visibleWindows();
            if (seen.size() == 1 && seen[0] == want) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    // A key held for about a fifth of a second, pointer over the picture so
    // the show's window has the keyboard.
    void press(const std::string& key) const
    {
        runCommand("xdotool mousemove 512 384 keydown " + key + " sleep 0.2 keyup " + key, scratch);
    }
};

Size screenSize(const fs::path& scratch)
{
    const CommandRun root = runCommand("xdotool getdisplaygeometry", scratch);
    Size size;
    std::istringstream(root.out) >> size.width >> size.height;
    return size;
}

}  // namespace

TEST_F(WindowSwitch, EveryF1LeavesOneWindowOnScreenAtTheModesSize)
{
    const char* asked = std::getenv("QUORL_F1_SWITCHES");
    const int switches = asked ? std::atoi(asked) : 50;
    ASSERT_GT(switches, 0);
    ASSERT_LE(switches, 1000);
    const Size windowed{WINDOW_WIDTH, WINDOW_HEIGHT};
    // Without a window manager full screen is a window covering the screen.
    const Size fullScreen = screenSize(scratch);
    ASSERT_GT(fullScreen.width, 0);

    startShow();
    std::vector<Size> seen;
    ASSERT_TRUE(waitForWindow(windowed, seen)) << "no window after starting; the show " << show.endReport();
    for (int n = 1; n <= switches; ++n) {
        press("F1");
        const Size want = n % 2 == 1 ? fullScreen : windowed;
        ASSERT_TRUE(waitForWindow(want, seen))
            << "after F1 number " << n << " want one window of " << want << ", see " << seen.size()
            << (seen.empty() ? "" : " first ") << (seen.empty() ? Size{} : seen[0]) << "; the show " << show.endReport();
    }
    press("Escape");
    for (int poll = 0; poll < 100 && show.running(); ++poll) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_FALSE(show.running()) << "the show did not end on Escape";
    EXPECT_TRUE(show.endedWithStatus0()) << "the show " << show.endReport();
    // The render scale is chosen and said at every opening; on the software
    // renderer the tests run on, auto keeps 1 even full screen.
    const std::string log = readFile(scratch / "show.log");
    int said = 0;
    for (size_t at = log.find("render scale "); at != std::string::npos; at = log.find("render scale ", at + 1)) {
        EXPECT_EQ(log.compare(at, 26, "render scale 1 (800 x 600)"), 0) << log.substr(at, 40);
        ++said;
    }
    EXPECT_EQ(said, switches + 1);
}
