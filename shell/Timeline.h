// Timeline.h: the show's clock and running order.
//
// loadShow creates every object of the show in a fixed order, loads all
// files, starts the music and the frame clock. drawFrame, once per pass of
// the main loop, clears the picture, switches parts at their exact frames,
// draws the part that is on, adds the transition flashes, waits for the
// next 20 ms tick and advances the frame number. The frame number is the
// only clock the running order reads; it survives a window re-creation.
#pragma once

#include <cstdint>
#include <memory>

#include "shell/DemoParts.h"
#include "shell/Fader.h"
#include "shell/FrameClock.h"
#include "shell/RenderKit.h"
#include "shell/Schedule.h"

namespace platform { class Platform; }

// What the main loop drives: loading in a fresh context, and one frame.
class Show {
public:
    virtual ~Show() = default;
    virtual void loadShow() = 0;
    virtual void drawFrame() = 0;
    // Whether the pictures keep to the music's time (then a pause holds the
    // music too).
    virtual bool followsMusic() const { return false; }
};

// Longest stretch of stepped frames between two looks at the window's events.
constexpr uint32_t CATCH_UP_SLICE_MS = 100;

class Timeline final : public Show {
public:
    int frame = 0;             // frames drawn so far
    const int startFrame;      // the first frame shown; those before it are only stepped
    // Keep the picture on the music's time: when behind, the frames up to
    // the one the music is at are stepped, not drawn or shown.
    const bool followMusic;
    bool warnedBehind = false;  // the hint about followMusic was printed
    int framesStepped = 0;      // frames stepped without being drawn, for the record and tests
    // Following the music, the frame drawn is the one the music will be at
    // this many ms on, when the picture is seen; 0 draws the music's frame
    // of now. The page sets it from how long its frames take to show.
    int64_t musicLeadMs = 0;
    FrameClock clock;    // startTick and lastTick of the 20 ms wait
    PartFlags flags;     // which part is on
    std::unique_ptr<RenderKit> kit;
    std::unique_ptr<DemoParts> parts;
    std::unique_ptr<Fader> faderA;
    std::unique_ptr<Fader> faderB;

    explicit Timeline(platform::Platform& platform, int startFrame = 0, bool followMusic = false);

    void loadShow() override;
    void drawFrame() override;
    bool followsMusic() const override { return followMusic; }
    void startClock();

    // The picture of the frame: steps up to the flashes, without the wait.
    void renderFrame();
    // The tick wait, the frame count and the frame-rate title.
    void finishFrame();
    // One frame with every call made but no pixel filled (see Timeline.cpp),
    // then the frame count; no wait, no title.
    void stepFrame();
    // Steps frames towards startFrame for at most CATCH_UP_SLICE_MS and
    // shows the progress in the title; once there, starts the music where
    // startFrame falls and the clock, and returns true.
    bool catchUpStep();
    // Follow mode: steps frames until frame is the one the music is at.
    // Exact mode: prints, once, a hint when the picture falls more than a
    // second behind the music.
    void keepUpWithMusic();
    // Where in the track the music starts: startFrame at 20 ms a frame.
    uint32_t musicPosition() const;

private:
    platform::Platform& platform;
};
