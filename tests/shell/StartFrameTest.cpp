// StartFrameTest.cpp: a show started at a later frame presents, as its first
// picture, exactly what the frame renderer draws for that frame, and hands
// the music player the matching position in the track. Runs alone in its
// program: the show's random generator is program-wide.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "PngFile.h"
#include "common/Screen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

constexpr int START = 3600;

}  // namespace

TEST(StartFrame, FirstPresentedFrameIsTheRenderersFrameAndMusicStartsWhereItFalls)
{
    const fs::path out = fs::temp_directory_path() / ("quorl-start-test-" + std::to_string(::getpid()));
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string frame = "frame-00" + std::to_string(START) + ".png";
    const std::string command = "./quorl-h-render --from " + std::to_string(START) + " --to " +
                                std::to_string(START + 1) + " --save " + std::to_string(START) + " --out '" +
                                out.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string rendered = readFile(out / frame);
    ASSERT_FALSE(rendered.empty());

    // The program's own wiring of --start, on the headless backend.
    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless);
    timeline.startFrame = START;
    Shell shell(headless, timeline);
    if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
        GTEST_SKIP() << "no GL context available";
    }
    EXPECT_EQ(timeline.frame, START) << "loading catches up to the start frame";
    EXPECT_EQ(headless.musicStarts(), 1) << "the music starts once, after catching up";
    EXPECT_EQ(headless.lastMusicPosition(), 72000u) << "frame 3600 at 20 ms a frame";
    ASSERT_TRUE(shell.mainLoopPass());
    EXPECT_EQ(timeline.frame, START + 1);
    ASSERT_TRUE(writePng((out / "presented.png").string(), PICTURE_WIDTH, PICTURE_HEIGHT, headless.readPicture()));
    EXPECT_TRUE(readFile(out / "presented.png") == rendered) << "first presented picture differs from the renderer's";
    shell.closeWindow();
    platform::setCurrent(nullptr);
    fs::remove_all(out);
}
