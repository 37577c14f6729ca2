// ScheduleTest.cpp: the running order: which part is on at each frame, the
// flash windows, and the frame clock that paces it.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "platform/TickWait.h"
#include "shell/FrameClock.h"
#include "shell/Schedule.h"

namespace {

// Runs the flags from frame 0 to the given frame, as drawFrame does.
PartId partAt(int frame)
{
    PartFlags flags;
    for (int f = 0; f <= frame; ++f) flags.switchAt(f);
    return flags.current();
}

int flagsOn(const PartFlags& flags)
{
    return flags.logoOn + flags.introOn + flags.waveOn + flags.metaballsOn + flags.spinOn + flags.tunnelsOn +
           flags.bodiesOn + flags.endOn;
}

}  // namespace

TEST(Schedule, PartBoundariesFallOnTheirExactFrames)
{
    const std::pair<int, PartId> expected[] = {
        {0, PartId::Logo},          {399, PartId::Logo},       {400, PartId::Intro},
        {1949, PartId::Intro},      {1950, PartId::Wave},      {2799, PartId::Wave},
        {2800, PartId::Metaballs},  {3599, PartId::Metaballs}, {3600, PartId::Spin},
        {4399, PartId::Spin},       {4400, PartId::Tunnels},   {5199, PartId::Tunnels},
        {5200, PartId::Bodies},     {7199, PartId::Bodies},    {7200, PartId::End},
        {100000, PartId::End},
    };
    for (const auto& [frame, part] : expected) {
        EXPECT_EQ(partAt(frame), part) << "frame " << frame;
    }
}

TEST(Schedule, AtMostOneFlagIsOnAtEveryFrame)
{
    PartFlags flags;
    for (int frame = 0; frame < 8000; ++frame) {
        flags.switchAt(frame);
        ASSERT_EQ(flagsOn(flags), 1) << "frame " << frame;
    }
}

TEST(Schedule, FlashWindowsAreOpenAtBothEnds)
{
    for (const int before : {1190, 2790, 4990, 7190}) {
        EXPECT_EQ(flashStep(before), 0);
        EXPECT_EQ(flashStep(before + 1), 1);
        EXPECT_EQ(flashStep(before + 19), 19);
        EXPECT_EQ(flashStep(before + 20), 0);
    }
    EXPECT_EQ(flashStep(0), 0);
    EXPECT_EQ(flashStep(100000), 0);
}

TEST(FrameClock, FramesAreReleasedOnTickBoundaries)
{
    FakePlatform fake;
    fake.now = 1000;
    FrameClock clock;
    clock.start(fake.ticks());
    // A fast renderer (no drawing time): each frame waits for the next 20 ms boundary.
    for (int frame = 1; frame <= 5; ++frame) {
        clock.waitForNextFrame(fake);
        EXPECT_EQ(fake.now, 1000u + 20u * frame);
        EXPECT_EQ(clock.lastTick, static_cast<uint32_t>(frame));
    }
    // Drawing that ends mid-tick waits only for that tick's end.
    fake.now += 7;
    clock.waitForNextFrame(fake);
    EXPECT_EQ(fake.now, 1000u + 20u * 6);
    // Drawing that takes longer than a tick is released at once.
    fake.now += 27;
    clock.waitForNextFrame(fake);
    EXPECT_EQ(fake.now, 1000u + 20u * 6 + 27u);
    EXPECT_EQ(clock.lastTick, 7u);
}

TEST(FrameClock, AfterALongPauseTheNextFrameDoesNotWait)
{
    FakePlatform fake;
    FrameClock clock;
    clock.start(fake.ticks());
    clock.waitForNextFrame(fake);
    fake.now += 10000;
    const uint32_t before = fake.now;
    clock.waitForNextFrame(fake);
    EXPECT_EQ(fake.now, before);
    // ...and the frame after that is paced again from there.
    clock.waitForNextFrame(fake);
    EXPECT_EQ(fake.now, before + 20 - (before % 20));
}

TEST(FrameClock, SlowRendererSlowsTheShow)
{
    FakePlatform fake;
    FrameClock clock;
    clock.start(fake.ticks());
    for (int frame = 0; frame < 400; ++frame) {
        fake.now += 40;  // 25 frames a second
        clock.waitForNextFrame(fake);
    }
    EXPECT_NEAR(fake.now, 16000u, 40u);
}

TEST(FrameClock, WaitSurvivesTickCounterWrapAround)
{
    FakePlatform fake;
    fake.now = 0xFFFFFFF0u;
    FrameClock clock;
    clock.start(fake.ticks());
    clock.waitForNextFrame(fake);
    EXPECT_EQ(fake.now, 0x00000004u);
    EXPECT_EQ(clock.lastTick, 1u);
}

TEST(TickWait, SleepsUntilTheTickAndOversleepingEndsTheWait)
{
    uint32_t now = 100;
    int sleeps = 0;
    platform::waitUntilTick(
        120, [&] { return now; }, [&] { ++sleeps; ++now; });
    EXPECT_EQ(now, 120u);
    EXPECT_EQ(sleeps, 20);
    // A sleep that ends late, past the target, ends the wait at once.
    now = 100;
    sleeps = 0;
    platform::waitUntilTick(
        103, [&] { return now; }, [&] { ++sleeps; now += 5; });
    EXPECT_EQ(sleeps, 1);
}

TEST(TickWait, ReachedTargetReturnsAtOnce)
{
    int calls = 0;
    platform::waitUntilTick(
        50, [] { return 60u; }, [&] { ++calls; });
    EXPECT_EQ(calls, 0);
}
