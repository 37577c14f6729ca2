// SyncLog.h: the per-second record of picture against music.
//
// Written only when asked for (--sync-log FILE, or the QUORL_SYNC_LOG
// environment variable naming the file): once a second of the tick clock,
// one line with the frame number, the music's position and how far the
// picture's time (frame x 20 ms) is from it, and the mean drawing and
// present times of the frames in that second:
//   seconds frame music_ms drift_ms draw_ms present_ms
// A negative drift is a picture behind its music. The benchmark plots it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class SyncLog {
public:
    // Opens path for writing; false (with nothing written) when it cannot.
    bool open(const std::string& path);
    ~SyncLog();

    // One shown frame: its number after the step, the tick clock, the music's
    // position (-1: none), and the frame's drawing and present times.
    void frameShown(int frame, uint32_t nowMs, int64_t musicMs, double drawMs, double presentMs);

private:
    std::FILE* file = nullptr;
    bool started = false;
    uint32_t firstMs = 0;
    uint32_t nextMs = 0;
    int frames = 0;
    double drawTotal = 0.0;
    double presentTotal = 0.0;
};
