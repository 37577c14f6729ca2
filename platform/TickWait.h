// TickWait.h: waiting for a tick count without burning a core.
//
// Sleeps in 1 ms steps until the tick counter reaches the target. A sleep
// may end a little late, so a frame can be released up to about a
// millisecond after its tick: invisible at 20 ms a frame, and the frame
// clock counts from its start, so the lateness never adds up. Spinning on
// the counter instead for the last milliseconds would cost a tenth of a
// core at 50 frames a second.
// Pure: the tick source and the sleep are passed in, so tests can fake them.
#pragma once

#include <cstdint>

namespace platform {

// Signed distance from now to target in wrapping 32-bit milliseconds.
constexpr int32_t ticksUntil(uint32_t target, uint32_t now)
{
    return static_cast<int32_t>(target - now);
}

// Returns once ticks() has reached target; sleepOneMs() sleeps about 1 ms.
template <typename Ticks, typename Sleep>
void waitUntilTick(uint32_t target, Ticks&& ticks, Sleep&& sleepOneMs)
{
    while (ticksUntil(target, ticks()) > 0) sleepOneMs();
}

}  // namespace platform
