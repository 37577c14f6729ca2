// WebPlatform.h: the platform backend for a web page (WebAssembly, WebGL 2).
//
// Built with emscripten only. The window is the page's <canvas id="show">;
// the context is WebGL 2 on it, drawn through the GL 1.x layer (gles/), into
// an 800 x 600 framebuffer object like the desktop's drawing surface, which
// swapBuffers scales onto the canvas. Keys come from emscripten's HTML5
// events and are turned into the show's virtual-key codes; F1 asks the
// browser for full screen, which the show's own switch would otherwise do
// by rebuilding its window. The browser decides when a frame is drawn
// (requestAnimationFrame, see app/web/main.cpp), so waiting for a tick
// returns at once. Messages are shown on the page and printed to the
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

    // Whether an event waits, so the page's frame step can drain them first.
    bool eventWaiting() const { return !events.empty(); }
    // Queues an event (the HTML5 callbacks use it).
    void post(const Event& event) { events.push_back(event); }
    // Virtual time for the page's test hook: ticks() then reads this clock,
    // which moves only when the show waits for a tick.
    void useVirtualClock() { virtualClock = true; }

private:
    bool windowOpen = false;
    int context = 0;  // the WebGL context handle
    unsigned framebuffer = 0, colour = 0, depthStencil = 0;
    int pictureWidth = 800, pictureHeight = 600;
    std::deque<Event> events;
    bool virtualClock = false;
    uint32_t now = 0;
};

}  // namespace platform
