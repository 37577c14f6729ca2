// Timeline.cpp: loading order and the frame step.
#include "shell/Timeline.h"

#include <GL/gl.h>

#include <cstdio>

#include "common/Screen.h"
#include "platform/Platform.h"
#include "shell/Music.h"

namespace {

// The frame's commands sent to the driver: flushed, or finished where
// unwaited flushes race with the rasterizer (see common/Screen.h), so that
// the next frame's first draw finds no scene of this one still being
// signalled.
void sendFrameOff()
{
    if (waitForFlushes()) {
        glFinish();
    } else {
        glFlush();
    }
}

}  // namespace

Timeline::Timeline(platform::Platform& platform, int startFrame, bool followMusic)
    : startFrame(startFrame), followMusic(followMusic), platform(platform)
{
}

void Timeline::startClock()
{
    clock.start(platform.ticks());
}

void Timeline::loadShow()
{
    // A reload (new window) makes every object anew; the frame number and
    // the part flags stay as they were. The old objects go first: the parts
    // refer to the kit, and two shows' worth of memory is never held at once.
    // Their GL objects died with the old context, so nothing is deleted here.
    parts.reset();
    faderA.reset();
    faderB.reset();
    kit.reset();
    kit = std::make_unique<RenderKit>(platform);
    parts = std::make_unique<DemoParts>(*kit);
    faderA = std::make_unique<Fader>();
    faderB = std::make_unique<Fader>();
    parts->setupLights();
    parts->setupEndWave();
    parts->setupWave();
    parts->setupIntro(*faderA);
    parts->setupTunnels();
    parts->setupMetaballs();
    parts->setupSpin();
    parts->setupBodies();
    kit->setLightPosition(0, 0, 1000);
    faderA->mode = FADE_IDLE;
    // A show that starts later holds the music back until it gets there.
    const bool catchingUp = frame < startFrame;
    if (!catchingUp) startMusic(platform, musicPosition());
    startClock();
    // Loaded after the clock started, so the first frame does not wait for it.
    kit->loadPicture("./data/logga.bmp");
    glColor3f(0.0f, 0.0f, 0.0f);
}

uint32_t Timeline::musicPosition() const
{
    return static_cast<uint32_t>(startFrame) * TICK_MS;
}

void Timeline::stepFrame()
{
    // The frame's every call is made, in order, so every part's state moves
    // on as in the full show (the intro's cycle counter, the wave, the
    // bodies, the GL state each draw leaves); a shut scissor box keeps
    // clears and drawing from filling a pixel. The show only uses the
    // scissor box inside a saved attribute group (the echo layers, which
    // stay within the box they find), so restoring box and switch after the
    // frame hands on exactly the state a drawn frame would. Copies into the
    // feedback textures are not scissored: they take what the picture held.
    GLint box[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    renderFrame();
    glScissor(box[0], box[1], box[2], box[3]);
    if (!scissor) glDisable(GL_SCISSOR_TEST);
    ++frame;
    ++framesStepped;
    // Sent off as a shown frame is: the software renderer otherwise queues
    // every frame's commands, gigabytes of them.
    sendFrameOff();
}

bool Timeline::catchUpStep()
{
    const uint32_t begin = platform.ticks();
    while (frame < startFrame && platform.ticks() - begin < CATCH_UP_SLICE_MS) stepFrame();
    if (frame < startFrame) {
        char title[96];
        std::snprintf(title, sizeof title, "Quorl-H: starting at frame %d: %d%%", startFrame,
                      static_cast<int>(100LL * frame / startFrame));
        platform.setTitle(title);
        return false;
    }
    glFinish();
    startMusic(platform, musicPosition());
    startClock();
    // The first frame-rate title counts from here, not from loading.
    kit->lastClock = platform.ticks();
    platform.setTitle("Quorl-H");
    return true;
}

void Timeline::keepUpWithMusic()
{
    const int64_t musicMs = platform.musicPositionMs();
    if (musicMs < 0) return;
    // The frame whose 20 ms the music is in, when this frame is seen.
    const int64_t musicFrame = (musicMs + musicLeadMs) / TICK_MS;
    if (!followMusic) {
        if (!warnedBehind && musicFrame - frame > 1000 / static_cast<int64_t>(TICK_MS)) {
            warnedBehind = true;
            std::fprintf(stderr,
                         "quorl-h: the pictures are more than a second behind the music on this machine; "
                         "--follow-music keeps them together\n");
        }
        return;
    }
    while (frame < musicFrame) stepFrame();
}

void Timeline::renderFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (frame == 0) {
        // The intro is drawn once under the logo in the very first frame;
        // this also moves the intro's own cycle counter on by one.
        faderA->mode = FADE_RISE;
        faderA->start = 0;
        parts->drawIntro(0);
        // The intro's background sits at the logo's depth and would win the
        // less-than depth test; the logo is meant to cover it.
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    if (flags.switchAt(frame)) {
        if (frame == 5200) kit->loadPicture("./data/space.bmp");
        if (frame == 7200) kit->loadPicture("./data/theend.bmp");
    }
    switch (flags.current()) {
    case PartId::Logo:
        setLogoFade(*faderA);
        faderA->draw(frame);
        kit->drawPicture();
        break;
    case PartId::Intro: parts->drawIntro(frame - PART_START_FRAME[1]); break;
    case PartId::Wave: parts->drawWave(frame - PART_START_FRAME[2]); break;
    case PartId::Metaballs: parts->drawMetaballs(frame - PART_START_FRAME[3]); break;
    case PartId::Spin:
        // Restarted every frame, so the fader always gives full white.
        setSpinFade(*faderB, frame);
        faderB->draw(frame);
        parts->drawSpin(frame - PART_START_FRAME[4]);
        break;
    case PartId::Tunnels: parts->drawTunnels(frame - PART_START_FRAME[5]); break;
    case PartId::Bodies: parts->drawBodies(0.0005f); break;
    case PartId::End: kit->drawPicture(); break;
    }
    if (const int step = flashStep(frame); step > 0) parts->drawFlash(step);
}

void Timeline::finishFrame()
{
    clock.waitForNextFrame(platform);
    ++frame;
    kit->showFrameRate(platform, frame);
    sendFrameOff();
}

void Timeline::drawFrame()
{
    // Until the start frame is reached, each pass steps a slice of frames,
    // so the window's keys and title stay alive meanwhile.
    if (frame < startFrame && !catchUpStep()) return;
    keepUpWithMusic();
    renderFrame();
    finishFrame();
}
