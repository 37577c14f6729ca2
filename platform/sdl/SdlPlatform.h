// SdlPlatform.h: the platform backend for a real window, on SDL2.
//
// Full screen is the desktop's own full-screen mode (no mode change, so it
// works on Wayland and keeps 4:3 on wide monitors); windowed is a resizable
// framed window at (200, 100). The show draws into an 800K x 600K GlSurface
// that swapBuffers scales into the window with black bars. Buffers swap
// without waiting for vertical sync, so the 20 ms tick paces the show.
#pragma once

#include <SDL.h>

#include <memory>
#include <string_view>

#include "platform/Platform.h"
#include "platform/sdl/GlSurface.h"

namespace platform {

class MusicPlayer;

class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;

    bool initialiseVideo() override;
    bool shutdownVideo() override;
    WindowResult createWindow(const std::string& title, int width, int height, int bits,
                              bool fullScreen) override;
    ContextResult createContext() override;
    ReleaseResult releaseContext() override;
    bool resizeSurface(int width, int height) override;
    void pictureArea(int& width, int& height) const override;
    bool destroyWindow() override;
    bool hasContext() const override { return context != nullptr; }
    bool hasWindow() const override { return window != nullptr; }

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

    // True when video is up on a driver that shows nothing (SDL's offscreen
    // or dummy driver) that the person did not ask for through SDL_VIDEODRIVER:
    // SDL falls back to them quietly when no display can be reached.
    bool videoShowsNothing() const;

protected:
    // Window flags beyond SDL_WINDOW_OPENGL for the two modes.
    virtual uint32_t windowFlags(bool fullScreen) const;

    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    GlSurface surface;
    int pictureWidth = 0;
    int pictureHeight = 0;
    bool videoUp = false;

private:
    std::unique_ptr<MusicPlayer> music;
};

// True when an SDL video driver of that name draws nowhere anyone can see
// and asked (SDL_VIDEODRIVER's value, or null) does not name it.
bool unaskedInvisibleDriver(std::string_view driver, const char* asked);

// Win32 virtual-key code of an SDL key, or 0 for keys the show has no code for.
int virtualKeyOf(SDL_Keycode key);

}  // namespace platform
