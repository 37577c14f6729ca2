// WebPlatform.h: the platform backend for a web page (WebAssembly, WebGL 2).
//
// Built with emscripten only. The window is the page's <canvas id="show">;
// the context is WebGL 2 on it, drawn through the GL 1.x layer (gles/), into
// a framebuffer object like the desktop's drawing surface (800 x 600, or
// 800K x 600K at render scale K), which swapBuffers copies onto the
// canvas's drawing buffer of the same size; the page's style scales that. Keys come from emscripten's HTML5
// events and are turned into the show's virtual-key codes; F1 asks the
// browser for full screen, which the show's own switch would otherwise do
// by rebuilding its window. The browser decides when a frame is drawn
// (requestAnimationFrame, see app/web/main.cpp), so waiting for a tick
// returns at once. The music's position and its pause are the page's
// <audio> element's (window.quorlMusicMs, window.quorlPauseMusic). Messages are shown on the page and printed to the
// console, and the show plays on. The music is an <audio> element started by the page
// (browsers allow sound only after the first click).
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "platform/Platform.h"

namespace platform {

class WebPlatform final : public Platform {
public:
    bool initialiseVideo() override;
    bool shutdownVideo() override;
    WindowResult createWindow(const std::string& title, int width, int height, int bits, bool fullScreen) override;
    ContextResult createContext() override;
    bool resizeSurface(int width, int height) override;
    void pictureArea(int& width, int& height) const override;
    ReleaseResult releaseContext() override;
    bool destroyWindow() override;
    bool hasContext() const override { return context != 0; }
    bool hasWindow() const override { return windowOpen; }

    bool pollEvent(Event& event) override;
    void swapBuffers() override;
    uint32_t ticks() override;
    void waitForTick(uint32_t target) override;
    void setTitle(const std::string& title) override;
    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool startMusic(const std::string& path, uint32_t positionMs) override;
    int64_t musicPositionMs() override;
    void pauseMusic(bool paused) override;

    // Whether an event waits, so the page's frame step can drain them first.
    bool eventWaiting() const { return !events.empty(); }
    // Queues an event (the HTML5 callbacks use it).
    void post(const Event& event) { events.push_back(event); }
    // Virtual time for the page's test hook: ticks() then reads this clock,
    // which moves only when the show waits for a tick.
    void useVirtualClock() { virtualClock = true; }

private:
    // Makes the framebuffer object and sizes the canvas to width x height;
    // false when it is not complete.
    bool makeSurface(int width, int height);
    void destroySurface();
    // Lets glGetString(GL_RENDERER) name the real renderer, not the browser.
    static void showRealRenderer();

    bool windowOpen = false;
    int context = 0;  // the WebGL context handle
    unsigned framebuffer = 0, colour = 0, depthStencil = 0;
    int pictureWidth = 800, pictureHeight = 600;
    int surfaceWidth = 800, surfaceHeight = 600;  // the drawing surface and the canvas
    std::deque<Event> events;
    bool virtualClock = false;
    uint32_t now = 0;
};

}  // namespace platform
