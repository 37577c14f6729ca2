// FrameClock.cpp: tick arithmetic of the frame clock, in wrapping 32-bit
// milliseconds like the system tick counter.
#include "shell/FrameClock.h"

#include "platform/Platform.h"

void FrameClock::start(uint32_t now)
{
    startTick = now;
    lastTick = 0;
}

uint32_t FrameClock::releaseTick() const
{
    // (now - startTick) / 20 > lastTick  <=>  now - startTick >= (lastTick + 1) * 20
    return startTick + (lastTick + 1) * TICK_MS;
}

void FrameClock::frameDone(uint32_t now)
{
    lastTick = (now - startTick) / TICK_MS;
}

void FrameClock::waitForNextFrame(platform::Platform& platform)
{
    platform.waitForTick(releaseTick());
    frameDone(platform.ticks());
}
