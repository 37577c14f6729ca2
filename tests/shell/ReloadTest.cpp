// ReloadTest.cpp: the state loading leaves for the scenes, and window
// re-creations (F1) inside every part through the headless backend. Runs
// alone in its program: the show's random generator and light vector are
// program-wide.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "PngFile.h"
#include "common/Screen.h"
#include "common/ShowGlobals.h"
#include "common/ShowRandom.h"
#include "support/ShowFrames.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

// Resident memory of this process in bytes, from /proc.
long residentBytes()
{
    long pages = 0;
    long resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
    return resident * sysconf(_SC_PAGESIZE);
}

struct Reload : testing::Test {
    platform::HeadlessPlatform headless;
    Timeline timeline{headless};
    Shell shell{headless, timeline};

    void SetUp() override
    {
        platform::setCurrent(&headless);
        if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
            GTEST_SKIP() << "no GL context available";
        }
    }
    void TearDown() override
    {
        shell.closeWindow();
        platform::setCurrent(nullptr);
    }

    // Puts the show at frame, inside part, as if it had played up to there.
    void jumpTo(int frame, PartId part)
    {
        timeline.frame = frame;
        timeline.flags = PartFlags{};
        timeline.flags.logoOn = part == PartId::Logo;
        timeline.flags.introOn = part == PartId::Intro;
        timeline.flags.waveOn = part == PartId::Wave;
        timeline.flags.metaballsOn = part == PartId::Metaballs;
        timeline.flags.spinOn = part == PartId::Spin;
        timeline.flags.tunnelsOn = part == PartId::Tunnels;
        timeline.flags.bodiesOn = part == PartId::Bodies;
        timeline.flags.endOn = part == PartId::End;
    }
};

}  // namespace

// A slip in any of these changes the look of every part after loading.
TEST_F(Reload, LoadingLeavesTheScenesProjectionLightAndIntroCounter)
{
    // gluPerspective(45, 1, 1, 100): a whole-number aspect of 1, not 4/3,
    // and near 1, not the start-up view's 0.1.
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const double focal = 1.0 / std::tan(22.5 * M_PI / 180.0);
    EXPECT_NEAR(projection[0], focal, 1e-5) << "aspect 1";
    EXPECT_NEAR(projection[5], focal, 1e-5);
    EXPECT_NEAR(projection[10], -101.0 / 99.0, 1e-5) << "near 1, far 100";
    EXPECT_NEAR(projection[14], -200.0 / 99.0, 1e-5) << "near 1, far 100";
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);

    // The light vector takes the last position given; light 0 still holds the
    // one before it, from the bodies' set-up.
    EXPECT_EQ(lightVector, (std::array<float, 3>{0.0f, 0.0f, 1000.0f}));
    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_FLOAT_EQ(light[0], -5.0f);
    EXPECT_FLOAT_EQ(light[1], -5.0f);
    EXPECT_FLOAT_EQ(light[2], 9.0f);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 0.0f) << "the logo fades in from black";
    EXPECT_NE(timeline.kit->picture, 0u) << "the logo is the picture on";

    // Frame 0 draws the intro once under the logo; no later logo frame does,
    // so the intro proper starts counting its cycles from 1.
    EXPECT_EQ(timeline.parts->cycle, 0);
    ASSERT_TRUE(shell.mainLoopPass());
    EXPECT_EQ(timeline.parts->cycle, 1);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(shell.mainLoopPass());
    EXPECT_EQ(timeline.parts->cycle, 1);
    EXPECT_EQ(timeline.frame, 4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Twenty F1 presses spread over every part: each re-creates the window and
// context and loads the show again, while the frame number carries on and
// no reload leaves a GL error or the previous show's memory behind.
TEST_F(Reload, TwentyWindowSwitchesInsideEveryPartKeepTheFrameAndFreeTheOldShow)
{
    constexpr int RELOADS = 20;
    long afterFirst = 0;
    for (int reload = 0; reload < RELOADS; ++reload) {
        const int part = reload % PART_COUNT;
        // Somewhere inside the part, a little further in on each round.
        const int frame = PART_START_FRAME[part] + 37 + 53 * (reload / PART_COUNT);
        jumpTo(frame, static_cast<PartId>(part));
        for (int pass = 0; pass < 2; ++pass) ASSERT_TRUE(shell.mainLoopPass());
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "drawing frame " << frame;

        const bool wasFullScreen = shell.fullScreen;
        shell.keyTapped[platform::vk::F1] = true;
        ASSERT_TRUE(shell.mainLoopPass()) << "reload " << reload << " at frame " << frame;
        EXPECT_EQ(timeline.frame, frame + 3) << "the frame drawn before the switch counts";
        EXPECT_NE(shell.fullScreen, wasFullScreen);
        EXPECT_TRUE(headless.hasWindow());
        EXPECT_TRUE(headless.hasContext());
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "after reload " << reload;
        for (int pass = 0; pass < 2; ++pass) ASSERT_TRUE(shell.mainLoopPass());
        EXPECT_EQ(timeline.frame, frame + 5);
        EXPECT_EQ(timeline.flags.current(), static_cast<PartId>(part)) << "the part stays on";
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "drawing after reload " << reload;
        if (reload == 0) afterFirst = residentBytes();
    }
    const long afterLast = residentBytes();
    std::printf("resident memory after the first reload %ld KB, after the last %ld KB\n", afterFirst >> 10,
                afterLast >> 10);
    // The software renderer and the allocator move resident memory up and
    // down by a few MB from one reload to the next; a show's objects left
    // behind would add about 9 MB on every reload.
    constexpr long ALLOWED = 12L << 20;
    EXPECT_LT(afterLast - afterFirst, ALLOWED)
        << "resident memory grew from " << afterFirst << " to " << afterLast << " bytes over " << RELOADS - 1
        << " reloads";
}

// What each part shows a few frames after F1. Loading makes every part
// anew and leaves its own GL state, so a part does not go on as it was:
// the intro starts again from its first picture, the wave (drawn unlit,
// in the current colour) stays black while loading's black is current,
// the bodies fall from their starting places. These pictures are pinned
// as that behaviour gives them, block by block, like the show's frames.
TEST_F(Reload, EachPartShowsWhatItsReloadGivesShortlyAfterTheSwitch)
{
    constexpr int INTO_PART = 200;   // frames into the part when F1 comes
    constexpr int AFTER_SWITCH = 10;  // frames drawn after the switch
    resetShowRandom();
    std::vector<std::pair<std::string, frames::Blocks>> shown;
    for (int part = 0; part < PART_COUNT; ++part) {
        jumpTo(PART_START_FRAME[part] + INTO_PART, static_cast<PartId>(part));
        for (int pass = 0; pass < 2; ++pass) ASSERT_TRUE(shell.mainLoopPass());
        shell.keyTapped[platform::vk::F1] = true;
        ASSERT_TRUE(shell.mainLoopPass());
        for (int pass = 0; pass < AFTER_SWITCH; ++pass) ASSERT_TRUE(shell.mainLoopPass());
        const std::string name = "reload-" + std::string(partName(static_cast<PartId>(part)));
        frames::Picture picture{PICTURE_WIDTH, PICTURE_HEIGHT, headless.readPicture()};
        shown.emplace_back(name, frames::blockMeans(picture));
        if (std::getenv(frames::UPDATE_BLOCKS_VARIABLE)) {
            // For the eye check before the new blocks are committed.
            writePng(name + ".png", PICTURE_WIDTH, PICTURE_HEIGHT, picture.rgb);
        }
    }
    if (std::getenv(frames::UPDATE_BLOCKS_VARIABLE)) {
        ASSERT_TRUE(frames::writeBlocks(QUORL_RELOAD_BLOCKS, shown));
        return;
    }
    const auto stored = frames::readBlocks(QUORL_RELOAD_BLOCKS);
    ASSERT_EQ(stored.size(), shown.size()) << QUORL_RELOAD_BLOCKS;
    for (size_t i = 0; i < shown.size(); ++i) {
        ASSERT_EQ(stored[i].first, shown[i].first);
        EXPECT_EQ(frames::blockDifferences(shown[i].second, stored[i].second, frames::BLOCK_TOLERANCE), "")
            << shown[i].first;
    }
}
