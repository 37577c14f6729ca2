// FollowMusicTest.cpp: the picture against the music when drawing is slower
// than 50 frames a second, on the headless backend's virtual clock and
// virtual music position (no timing): each pass takes 40 ms of drawing, so
// every frame takes 40 ms. In follow mode the frame shown is the one the
// music is at and the frames in between are stepped; in exact mode every
// frame is shown and the picture falls behind, with one hint, and the sync
// record says by how much. Pause and F1 keep them together; the end picture
// is reached in both. Runs alone in its
// program: the show's state is program-wide.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "common/Screen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/SyncLog.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

constexpr int SLOW_MS = 40;  // drawing time per frame: 25 frames a second

struct SlowShow {
    platform::HeadlessPlatform headless;
    Timeline timeline;
    SyncLog syncLog;  // written once opened, as --sync-log does
    Shell shell;

    SlowShow(bool follow, int start)
        : timeline(headless, start, follow),
          shell(headless, timeline, ShellSettings{.fullScreen = false, .frameShown = [this](double draw, double present) {
                    syncLog.frameShown(timeline.frame, headless.ticks(), headless.musicPositionMs(), draw, present);
                }})
    {
    }
    bool open()
    {
        platform::setCurrent(&headless);
        return shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false);
    }
    // One slow pass of the main loop.
    void pass()
    {
        ASSERT_TRUE(shell.mainLoopPass());
        headless.advanceClock(SLOW_MS);
    }
    void press(int key)
    {
        shell.keyTapped[key] = true;
        pass();
    }
    // The frame whose 20 ms the music is in.
    int64_t musicFrame() { return headless.musicPositionMs() / TICK_MS; }
    // Frames the picture is behind the music (positive: behind).
    int64_t behind() { return musicFrame() - timeline.frame; }
    ~SlowShow()
    {
        shell.closeWindow();
        platform::setCurrent(nullptr);
    }
};

}  // namespace

TEST(FollowMusic, SlowDrawingShowsTheMusicsFrameStepsTheOnesBetweenAndKeepsTogetherThroughPauseAndF1)
{
    SlowShow run(true, 7100);
    if (!run.open()) GTEST_SKIP() << "no GL context available";
    run.pass();  // the quick start, then frame 7100 as the music starts there
    for (int i = 0; i < 60; ++i) {
        // The frame drawn (the count has moved past it) is exactly the one
        // the music was at when the pass began: not one before, not one after.
        const int64_t musicFrame = run.musicFrame();
        run.pass();
        EXPECT_EQ(run.timeline.frame - 1, musicFrame) << "pass " << i;
    }
    // 60 shown frames of 40 ms cover 120 frames of music: half were stepped.
    EXPECT_NEAR(run.timeline.frame - 7100, 120, 2);
    EXPECT_NEAR(run.timeline.framesStepped - 7100, 60, 2);

    // Pausing holds the music too; resuming goes on from the same place.
    run.press(platform::vk::SPACE);
    run.headless.advanceClock(10000);
    const int pausedAt = run.timeline.frame;
    run.press(platform::vk::SPACE);
    run.pass();
    EXPECT_LE(run.timeline.frame - pausedAt, 4) << "a pause must not be caught up afterwards";
    EXPECT_LE(std::llabs(run.behind()), 2);

    // A window switch takes time; the music plays on and the picture catches up.
    run.press(platform::vk::F1);
    for (int i = 0; i < 5; ++i) run.pass();
    EXPECT_LE(std::llabs(run.behind()), 2);
    EXPECT_GE(run.timeline.frame, 7200);
    EXPECT_EQ(run.timeline.flags.current(), PartId::End) << "the end picture is reached";
}

TEST(FollowMusic, ExactModeShowsEveryFrameFallsBehindAndSaysOnceWhichOptionHelps)
{
    SlowShow run(false, 7100);
    const std::string record = testing::TempDir() + "quorl-follow-sync.txt";
    ASSERT_TRUE(run.syncLog.open(record));
    if (!run.open()) GTEST_SKIP() << "no GL context available";
    testing::internal::CaptureStderr();
    for (int i = 0; i < 150; ++i) run.pass();
    const std::string said = testing::internal::GetCapturedStderr();

    // The record, a line a second: each shown frame is 20 ms of picture in
    // 40 ms of music, so after the first (at the music's start) the picture
    // is 20 ms further behind with every frame: drift = -20 ms x frames since.
    std::ifstream lines(record);
    int written = 0;
    double seconds;
    long long frame, music, drift;
    lines.ignore(1000, '\n');  // the heading
    while (lines >> seconds >> frame >> music >> drift && lines.ignore(1000, '\n')) {
        EXPECT_EQ(drift, -20 * (frame - 7101)) << "at " << seconds << " s";
        ++written;
    }
    EXPECT_GE(written, 5) << "six seconds of virtual time";
    EXPECT_EQ(run.timeline.frame, 7250) << "every frame shown, one a pass";
    EXPECT_EQ(run.timeline.framesStepped, 7100) << "only the quick start steps";
    EXPECT_GE(run.behind(), 140);
    EXPECT_EQ(run.timeline.flags.current(), PartId::End);
    const size_t hint = said.find("--follow-music");
    EXPECT_NE(hint, std::string::npos) << said;
    EXPECT_EQ(said.find("--follow-music", hint + 1), std::string::npos) << "said once: " << said;

    // Pausing leaves the music playing, as it always did.
    const int64_t before = run.headless.musicPositionMs();
    run.press(platform::vk::SPACE);
    run.headless.advanceClock(1000);
    EXPECT_GE(run.headless.musicPositionMs() - before, 1000);
    run.press(platform::vk::SPACE);
}
