// HeadlessPlatform.cpp: hidden window, virtual clock, printed dialogs.
#include "platform/headless/HeadlessPlatform.h"

#include <cstdio>
#include <cstdlib>

#include "platform/TickWait.h"

namespace platform {

bool HeadlessPlatform::initialiseVideo()
{
    if (videoUp) return true;
    // Under an X server the default driver serves; with no display at all,
    // SDL's offscreen driver (EGL) is the fallback. On Windows the default
    // driver always serves: a hidden window with its WGL context.
#ifndef _WIN32
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("SDL_VIDEODRIVER")) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
#endif
    videoUp = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!videoUp) std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
    return videoUp;
}

uint32_t HeadlessPlatform::windowFlags(bool) const
{
    return SDL_WINDOW_HIDDEN;
}

bool HeadlessPlatform::pollEvent(Event&)
{
    // Nobody sits in front of a headless run: drain and ignore.
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    return false;
}

void HeadlessPlatform::swapBuffers()
{
    // Nothing to show: the picture stays in the surface for readPicture.
}

uint32_t HeadlessPlatform::ticks()
{
    return now;
}

void HeadlessPlatform::waitForTick(uint32_t target)
{
    // Waiting is instant: the clock jumps to the tick waited for.
    if (ticksUntil(target, now) > 0) now = target;
}

void HeadlessPlatform::setTitle(const std::string& newTitle)
{
    title = newTitle;
}

void HeadlessPlatform::showMessage(const std::string& text, const std::string& caption, MessageIcon)
{
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
}

bool HeadlessPlatform::askYesNo(const std::string& text, const std::string& caption, MessageIcon)
{
    std::fprintf(stderr, "[%s] %s (answered Yes)\n", caption.c_str(), text.c_str());
    return true;
}

bool HeadlessPlatform::startMusic(const std::string& path, uint32_t positionMs)
{
    if (musicStartCount++ == 0) {
        musicStartTick = now;
        musicPosition = positionMs;
    }
    // The virtual music's position runs whether or not a sound device opened.
    return SdlPlatform::startMusic(path, positionMs);
}

int64_t HeadlessPlatform::musicPositionMs()
{
    if (musicStartCount == 0) return -1;
    const uint32_t until = musicPaused ? pausedAt : now;
    return static_cast<int64_t>(musicPosition) + (until - musicStartTick) - pausedTotal;
}

void HeadlessPlatform::pauseMusic(bool paused)
{
    if (paused == musicPaused || musicStartCount == 0) return;
    if (paused) {
        pausedAt = now;
    } else {
        pausedTotal += now - pausedAt;
    }
    musicPaused = paused;
    SdlPlatform::pauseMusic(paused);
}

std::vector<uint8_t> HeadlessPlatform::readPicture() const
{
    return surface.readRgb();
}

}  // namespace platform
