// SyncLog.cpp: the per-second record of picture against music.
#include "shell/SyncLog.h"

#include "shell/FrameClock.h"

bool SyncLog::open(const std::string& path)
{
    file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    std::fputs("# seconds frame music_ms drift_ms draw_ms present_ms\n", file);
    return true;
}

SyncLog::~SyncLog()
{
    if (file) std::fclose(file);
}

void SyncLog::frameShown(int frame, uint32_t nowMs, int64_t musicMs, double drawMs, double presentMs)
{
    if (!file) return;
    if (!started) {
        started = true;
        firstMs = nowMs;
        nextMs = nowMs;
    }
    ++frames;
    drawTotal += drawMs;
    presentTotal += presentMs;
    if (static_cast<int32_t>(nowMs - nextMs) < 0) return;
    const long long drift = musicMs < 0 ? 0 : static_cast<long long>(frame) * TICK_MS - musicMs;
    std::fprintf(file, "%.3f %d %lld %lld %.3f %.3f\n", (nowMs - firstMs) / 1000.0, frame, static_cast<long long>(musicMs),
                 drift, drawTotal / frames, presentTotal / frames);
    std::fflush(file);
    frames = 0;
    drawTotal = presentTotal = 0.0;
    nextMs += 1000;
    // A long stall (a load, a pause) gives one line, not one per second missed.
    if (static_cast<int32_t>(nowMs - nextMs) >= 0) nextMs = nowMs + 1000;
}
