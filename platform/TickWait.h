// TickWait.h: waiting for a tick count without burning a core.
//
// Sleeps in 1 ms steps while more than SPIN_MS remain, then spins on the
// tick counter for the rest, so a frame is released on the same tick it
// would be with a pure busy wait but the CPU is idle most of the time.
// Pure: the tick source and the sleep are passed in, so tests can fake them.
#pragma once

#include <cstdint>

namespace platform {

constexpr int32_t SPIN_MS = 2;

// Signed distance from now to target in wrapping 32-bit milliseconds.
constexpr int32_t ticksUntil(uint32_t target, uint32_t now)
{
    return static_cast<int32_t>(target - now);
}

// Returns once ticks() has reached target. sleepOneMs() sleeps about 1 ms;
// spin() is called once per spin iteration (a pause hint or nothing).
template <typename Ticks, typename Sleep, typename Spin>
void waitUntilTick(uint32_t target, Ticks&& ticks, Sleep&& sleepOneMs, Spin&& spin)
{
    for (;;) {
        const int32_t remaining = ticksUntil(target, ticks());
        if (remaining <= 0) return;
        if (remaining > SPIN_MS) {
            sleepOneMs();
        } else {
            spin();
        }
    }
}

}  // namespace platform
