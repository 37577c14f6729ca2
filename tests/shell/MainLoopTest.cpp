// MainLoopTest.cpp: keys, pause, minimise and window switching in the main
// loop, with a fake platform and a show that only counts its calls.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

class CountingShow : public Show {
public:
    int loads = 0;
    int frames = 0;
    void loadShow() override { ++loads; }
    void drawFrame() override { ++frames; }
};

platform::Event key(platform::Event::Type type, int code)
{
    platform::Event event;
    event.type = type;
    event.key = code;
    return event;
}

platform::Event simple(platform::Event::Type type)
{
    platform::Event event;
    event.type = type;
    return event;
}

using Type = platform::Event::Type;

struct MainLoop : testing::Test {
    FakePlatform fake;
    CountingShow show;
    Shell shell{fake, show};

    // Runs passes until the event queue is empty and one more pass ran.
    bool drain()
    {
        for (int guard = 0; guard < 100; ++guard) {
            const bool more = shell.mainLoopPass();
            if (!more) return false;
            if (fake.events.empty()) return shell.mainLoopPass();
        }
        return true;
    }
};

}  // namespace

TEST_F(MainLoop, SpaceKeyDownFlipsPauseOnceAndDrawsNothingThatPass)
{
    fake.events.push_back(key(Type::KeyDown, platform::vk::SPACE));
    EXPECT_TRUE(shell.mainLoopPass());  // takes the message
    EXPECT_TRUE(shell.mainLoopPass());  // sees the key
    EXPECT_TRUE(shell.paused);
    EXPECT_EQ(show.frames, 0);
    EXPECT_EQ(fake.swaps, 0);
    // Held key without new key-down messages: no further flips; swaps go on.
    EXPECT_TRUE(shell.mainLoopPass());
    EXPECT_TRUE(shell.paused);
    EXPECT_EQ(show.frames, 0);
    EXPECT_EQ(fake.swaps, 1);
    // An auto-repeat key-down flips it back.
    fake.events.push_back(key(Type::KeyDown, platform::vk::SPACE));
    drain();
    EXPECT_FALSE(shell.paused);
}

TEST_F(MainLoop, MinimisedWindowIgnoresQuitAndPauseKeysButSwitchesOnF1)
{
    ASSERT_TRUE(shell.openWindow("Quorl-H", 800, 600, 16, true));
    fake.events.push_back(simple(Type::Minimized));
    fake.events.push_back(key(Type::KeyDown, platform::vk::ESCAPE));
    fake.events.push_back(key(Type::KeyDown, platform::vk::KEY_Q));
    fake.events.push_back(key(Type::KeyDown, platform::vk::SPACE));
    EXPECT_TRUE(drain());
    EXPECT_FALSE(shell.paused);
    EXPECT_EQ(show.frames, 0);
    EXPECT_EQ(fake.swaps, 0);

    fake.events.push_back(key(Type::KeyDown, platform::vk::F1));
    EXPECT_TRUE(drain());
    EXPECT_FALSE(shell.fullScreen);
    EXPECT_EQ(fake.windowsCreated, 2);
    EXPECT_EQ(show.loads, 2) << "the reopened window loads the show again";
}

// Taking the window system down and up on each switch let it come back on
// an invisible driver; a switch re-creates the window and context only.
TEST_F(MainLoop, F1KeepsTheWindowSystemUpUntilTheShowCloses)
{
    ASSERT_TRUE(shell.openWindow("Quorl-H", 800, 600, 16, true));
    for (int n = 0; n < 3; ++n) {
        fake.events.push_back(key(Type::KeyDown, platform::vk::F1));
        fake.events.push_back(key(Type::KeyUp, platform::vk::F1));
        EXPECT_TRUE(drain());
    }
    EXPECT_EQ(fake.windowsCreated, 4);
    EXPECT_EQ(fake.videoShutdowns, 0);
    EXPECT_TRUE(fake.hasWindow());
    EXPECT_TRUE(fake.hasContext());
    shell.closeWindow();
    EXPECT_EQ(fake.videoShutdowns, 1);
    EXPECT_FALSE(fake.hasWindow());
}

TEST_F(MainLoop, EscapeEndsTheLoopAfterThatPassFrameIsDrawn)
{
    fake.events.push_back(key(Type::KeyDown, platform::vk::ESCAPE));
    EXPECT_TRUE(shell.mainLoopPass());
    EXPECT_FALSE(shell.mainLoopPass());
    EXPECT_EQ(show.frames, 1);
    EXPECT_EQ(fake.swaps, 1);
}

TEST_F(MainLoop, QEndsTheLoopAndQuitMessageEndsItWithoutDrawing)
{
    fake.events.push_back(key(Type::KeyDown, platform::vk::KEY_Q));
    EXPECT_TRUE(shell.mainLoopPass());
    EXPECT_FALSE(shell.mainLoopPass());

    FakePlatform otherFake;
    CountingShow otherShow;
    Shell other(otherFake, otherShow);
    otherFake.events.push_back(simple(Type::Quit));
    EXPECT_FALSE(other.mainLoopPass());
    EXPECT_EQ(otherShow.frames, 0);
}

TEST_F(MainLoop, QuickTapsOfEveryKeyAreSeenByTheNextFrameStep)
{
    // Press and release both waiting before the next frame step, as on a
    // machine drawing ten frames a second.
    ASSERT_TRUE(shell.openWindow("Quorl-H", 800, 600, 16, true));
    const auto tap = [this](int code) {
        fake.events.push_back(key(Type::KeyDown, code));
        fake.events.push_back(key(Type::KeyUp, code));
    };
    tap(platform::vk::SPACE);
    drain();
    EXPECT_TRUE(shell.paused);
    tap(platform::vk::SPACE);
    drain();
    EXPECT_FALSE(shell.paused);  // one flip per tap, not one per pass

    const int windows = fake.windowsCreated;
    tap(platform::vk::F1);
    drain();
    EXPECT_EQ(fake.windowsCreated, windows + 1);
    EXPECT_FALSE(shell.fullScreen);

    for (const int quitKey : {platform::vk::ESCAPE, platform::vk::KEY_Q}) {
        FakePlatform otherFake;
        CountingShow otherShow;
        Shell other(otherFake, otherShow);
        otherFake.events.push_back(key(Type::KeyDown, quitKey));
        otherFake.events.push_back(key(Type::KeyUp, quitKey));
        EXPECT_TRUE(other.mainLoopPass());
        EXPECT_TRUE(other.mainLoopPass());
        EXPECT_FALSE(other.mainLoopPass()) << "key " << quitKey;
    }
}

TEST_F(MainLoop, HeldKeyKeepsActingAfterTheTapIsSeen)
{
    fake.events.push_back(key(Type::KeyDown, 70));
    drain();
    EXPECT_TRUE(shell.keyDown[70]);
    EXPECT_FALSE(shell.keyTapped[70]);  // seen by the step, still held
}

TEST_F(MainLoop, KeyUpClearsAndOutOfRangeKeysAreIgnored)
{
    fake.events.push_back(key(Type::KeyDown, 70));
    fake.events.push_back(key(Type::KeyDown, 999));
    fake.events.push_back(key(Type::KeyDown, -5));
    drain();
    EXPECT_TRUE(shell.keyDown[70]);
    fake.events.push_back(key(Type::KeyUp, 70));
    drain();
    EXPECT_FALSE(shell.keyDown[70]);
}

TEST_F(MainLoop, RefusedFullScreenAsksAndYesOpensAWindow)
{
    fake.refuseFullScreen = true;
    EXPECT_TRUE(shell.openWindow("Quorl-H", 800, 600, 16, true));
    EXPECT_FALSE(shell.fullScreen);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0],
              "Quorl-GL: The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
              "Instead?");
    EXPECT_EQ(show.loads, 1);
}

TEST_F(MainLoop, RefusedFullScreenAndNoClosesWithMessage)
{
    fake.refuseFullScreen = true;
    fake.answerYes = false;
    EXPECT_FALSE(shell.openWindow("Quorl-H", 800, 600, 16, true));
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[1], "ERROR: Program Will Now Close.");
    EXPECT_EQ(show.loads, 0);
    EXPECT_EQ(shell.run(), 0);
}

TEST_F(MainLoop, ResizeToZeroHeightUsesHeightOne)
{
    const ViewSize view = viewSizeFor(640, 0);
    EXPECT_EQ(view.height, 1);
    EXPECT_DOUBLE_EQ(view.aspect, 640.0);
    EXPECT_DOUBLE_EQ(viewSizeFor(800, 600).aspect, 800.0 / 600.0);
}

TEST_F(MainLoop, ResizeLeavesTheDrawnPictureAlone)
{
    // A resize must not reach the show: the platform rescales the picture.
    fake.events.push_back({Type::Resized, 0, 1920, 1080});
    drain();
    EXPECT_EQ(show.loads, 0);
    EXPECT_TRUE(shell.active);
}
