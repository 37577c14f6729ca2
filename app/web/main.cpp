// main.cpp: the show's entry on a web page.
//
// The page (index.html) calls main after the visitor's first click, so that
// the music may play. The show then runs from the browser's animation
// frames: each one takes the waiting key events and draws the next frame
// once its 20 ms tick has come, which keeps the show at 50 frames a second
// on any display rate (five frames in six refreshes at 60 Hz).
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
#include "platform/web/WebPlatform.h"
#include "shell/FrameClock.h"
#include "shell/Schedule.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

platform::WebPlatform web;
Timeline* timeline = nullptr;
Shell* shell = nullptr;
double nextFrameMs = 0.0;

// The test hook's frames, their last, and GL errors seen.
std::set<int> wanted;
int lastWanted = -1;
int glErrors = 0;

// The query parameter "frames" as a set of frame numbers.
std::set<int> framesAsked()
{
    char* text = reinterpret_cast<char*>(EM_ASM_INT({
        const value = new URLSearchParams(window.location.search).get('frames') || "";
        const size = lengthBytesUTF8(value) + 1;
        const copy = _malloc(size);
        stringToUTF8(value, copy, size);
        return copy;
    }));
    std::set<int> frames;
    std::stringstream list(text ? text : "");
    std::free(text);
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

// One animation frame of the show.
void showStep()
{
    while (web.eventWaiting()) shell->mainLoopPass();
    const double now = emscripten_get_now();
    if (now < nextFrameMs) return;
    nextFrameMs += TICK_MS;
    // After a stall (a hidden tab, a slow frame) the show goes on from now
    // rather than racing to catch up, as the desktop show does.
    if (now - nextFrameMs > 5.0 * TICK_MS) nextFrameMs = now;
    shell->mainLoopPass();
}

}  // namespace

int main()
{
    platform::setCurrent(&web);
    timeline = new Timeline(web);
    shell = new Shell(web, *timeline);
    wanted = framesAsked();
    if (!wanted.empty()) {
        web.useVirtualClock();
        lastWanted = *wanted.rbegin();
    }
    // The page is a window; the browser's own full screen serves F1.
    if (!shell->openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) return 1;
    nextFrameMs = emscripten_get_now();
    emscripten_set_main_loop(wanted.empty() ? showStep : testStep, 0, 0);
    return 0;
}
