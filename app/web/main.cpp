// main.cpp: the show's entry on a web page.
//
// The page (index.html) calls main after the visitor's first click, so that
// the music may play. The show then runs from the browser's animation
// frames: each one takes the waiting key events and draws the next frame
// once the show's frame clock (the desktop's FrameClock) releases it, which
// keeps the show at 50 frames a second on any display rate (five frames in
// six refreshes at 60 Hz). The page follows its music as the desktop's
// --follow-music does: a picture behind the <audio> element's position
// steps the frames in between; one ahead of it (the music stalled while
// buffering) waits. Before the music sounds and after its end the frame
// clock alone keeps time. A hidden page (quorl_set_hidden, from the page's
// visibilitychange) draws nothing while the page holds the music.
// window.quorlClock tells any script what is on screen and where the
// music is.
//
// Test hook: with "?frames=A,B,...", main starts on a virtual 20 ms clock,
// draws every frame from 0 to the last one asked for as fast as it can,
// hands each asked-for frame to the page (quorlFrame, which reads the canvas
// back) and counts GL errors; the page reports when it is done.
#include <GLES3/gl3.h>
#include <emscripten.h>
// The layer's error query (its own errors first, then the driver's), by
// name: this file calls WebGL directly.
#define QGL_NO_MACROS
#include "gles/include/GL/gl.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "common/Screen.h"
#include "platform/TickWait.h"
#include "platform/web/WebPlatform.h"
#include "shell/FrameClock.h"
#include "shell/Schedule.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

platform::WebPlatform web;
Timeline* timeline = nullptr;
Shell* shell = nullptr;
bool hidden = false;  // the page is hidden: no frame is drawn

// The test hook's frames, their last, and GL errors seen.
std::set<int> wanted;
int lastWanted = -1;
int glErrors = 0;

// The page's query parameter of that name, empty when absent.
std::string queryParameter(const char* name)
{
    char* text = reinterpret_cast<char*>(EM_ASM_INT({
        const value = new URLSearchParams(window.location.search).get(UTF8ToString($0)) || "";
        const size = lengthBytesUTF8(value) + 1;
        const copy = _malloc(size);
        stringToUTF8(value, copy, size);
        return copy;
    }, name));
    std::string value(text ? text : "");
    std::free(text);
    return value;
}

// The query parameter "frames" as a set of frame numbers.
std::set<int> framesAsked()
{
    std::set<int> frames;
    std::stringstream list(queryParameter("frames"));
    std::string item;
    while (std::getline(list, item, ',')) {
        if (!item.empty() && item.size() < 7 && item.find_first_not_of("0123456789") == std::string::npos) {
            frames.insert(std::stoi(item));
        }
    }
    return frames;
}

void countGlErrors()
{
    for (int i = 0; i < 16 && qglGetError() != GL_NO_ERROR; ++i) ++glErrors;
}

// One animation frame of the test hook: frames in order for up to 150 ms.
void testStep()
{
    const double begin = emscripten_get_now();
    while (timeline->frame <= lastWanted && emscripten_get_now() - begin < 150.0) {
        const int frame = timeline->frame;
        const double frameBegin = emscripten_get_now();
        timeline->renderFrame();
        // The browser draws asynchronously; reading one pixel waits for the
        // frame, so the time is the whole frame's.
        glFinish();
        uint8_t pixel[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        const std::string part(partName(timeline->flags.current()));
        EM_ASM({ window.quorlPartTime(UTF8ToString($0), $1); }, part.c_str(), emscripten_get_now() - frameBegin);
        countGlErrors();
        if (wanted.count(frame)) {
            web.swapBuffers();
            EM_ASM({ window.quorlFrame($0); }, frame);
        }
        timeline->finishFrame();
        countGlErrors();
    }
    if (timeline->frame > lastWanted) {
        emscripten_cancel_main_loop();
        EM_ASM({ window.quorlDone($0); }, glErrors);
    }
}

// The render scale asked for by "?scale=K" (1 to 4), or 0 (auto).
int scaleAsked()
{
    const std::string text = queryParameter("scale");
    return text.size() == 1 && text[0] >= '1' && text[0] - '0' <= MAX_RENDER_SCALE ? text[0] - '0' : 0;
}

// Whether the next frame would run ahead of the music: the music waits
// (buffering, or a seek), so the picture holds until it moves on.
bool aheadOfMusic(int64_t musicMs)
{
    return musicMs >= 0 && timeline->frame > musicMs / TICK_MS + 1;
}

// A frame drawn in one animation frame reaches the screen while the next
// one is on its way, so the show draws the music's frame of then: half the
// time from one drawn animation frame to the next, the smaller of the last
// two (one slow frame, a pause or a hidden page must not push the picture
// ahead), at most two frames.
constexpr double MAX_MUSIC_LEAD_MS = 2.0 * TICK_MS;
double lastDrawnAt = -1.0;
double lastDrawInterval = 0.0;

void noteFrameDrawn(double now)
{
    if (lastDrawnAt >= 0.0) {
        const double interval = now - lastDrawnAt;
        timeline->musicLeadMs =
            static_cast<int64_t>(std::min(0.5 * std::min(interval, lastDrawInterval), MAX_MUSIC_LEAD_MS));
        lastDrawInterval = interval;
    }
    lastDrawnAt = now;
}

// Tells the page what is on screen: window.quorlClock, and quorlTick(clock)
// when the page listens.
void publishClock(int64_t musicMs)
{
    const std::string part(partName(timeline->flags.current()));
    EM_ASM({
        // In parentheses: the macro would split the object at its commas.
        const clock = ({ frame: $0, musicMs: $1, part: UTF8ToString($2), paused: $3 != 0, stepped: $4,
                         scale: $5, hidden: $6 != 0, leadMs: $7 });
        window.quorlClock = clock;
        if (window.quorlTick) window.quorlTick(clock);
    }, timeline->frame - 1, static_cast<double>(musicMs), part.c_str(), shell->paused ? 1 : 0,
       timeline->framesStepped, screenWidth() / PICTURE_WIDTH, hidden ? 1 : 0,
       static_cast<double>(timeline->musicLeadMs));
}

// One animation frame of the show: the waiting events, then the next frame
// once the frame clock releases it, unless it would run ahead of the music.
void showStep()
{
    while (web.eventWaiting()) shell->mainLoopPass();
    if (!hidden && platform::ticksUntil(timeline->clock.releaseTick(), web.ticks()) <= 0 &&
        !aheadOfMusic(web.musicPositionMs())) {
        const int before = timeline->frame;
        shell->mainLoopPass();
        if (timeline->frame != before) noteFrameDrawn(emscripten_get_now());
    }
    publishClock(web.musicPositionMs());
}

}  // namespace

// The page hides (true) or shows (false) the show; the page holds and
// resumes the music itself.
extern "C" EMSCRIPTEN_KEEPALIVE void quorl_set_hidden(int isHidden)
{
    hidden = isHidden != 0;
}

int main()
{
    platform::setCurrent(&web);
    wanted = framesAsked();
    const bool testing = !wanted.empty();
    // The test hook's frames are the desktop's: its own clock, K = 1
    // unless a scale is asked for.
    timeline = new Timeline(web, 0, /*followMusic=*/!testing);
    const int asked = scaleAsked();
    shell = new Shell(web, *timeline,
                      ShellSettings{.fullScreen = false, .scale = testing && asked == 0 ? 1 : asked,
                                    .announceScale = true});
    if (testing) {
        web.useVirtualClock();
        lastWanted = *wanted.rbegin();
    }
    // The page is a window; the browser's own full screen serves F1.
    if (!shell->openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
        // The show's message is on the page already; the test hook reports
        // at once rather than leave its caller waiting for frames.
        if (testing) EM_ASM({ window.quorlReport.errors.push('the show did not open'); window.quorlDone($0); }, glErrors);
        return 1;
    }
    emscripten_set_main_loop(wanted.empty() ? showStep : testStep, 0, 0);
    return 0;
}
