// FrameClock.h: the 50-frames-a-second tick wait.
//
// The show's time is the frame number; this clock only keeps it from running
// faster than one frame per 20 ms tick. A frame is released as soon as the
// tick count since the clock started has moved past the tick of the previous
// frame, so a slow renderer slows the show and a pause never makes it race.
#pragma once

#include <cstdint>

namespace platform { class Platform; }

constexpr uint32_t TICK_MS = 20;

struct FrameClock {
    uint32_t startTick = 0;  // platform tick count when the clock was started
    uint32_t lastTick = 0;   // 20 ms ticks since startTick at the end of the previous frame

    // Restarts the clock at the given tick count.
    void start(uint32_t now);
    // Earliest tick count at which the next frame may be released.
    uint32_t releaseTick() const;
    // Records the end of a frame released at tick count now.
    void frameDone(uint32_t now);
    // Waits through the platform until the next frame may be released, then records it.
    void waitForNextFrame(platform::Platform& platform);
};
