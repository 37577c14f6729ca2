// Window.h: the program's window, its keys and the main loop.
//
// Opens one window with a GL context (full screen by default, a window at
// (200, 100) when the desktop refuses and the user agrees), runs the loop
// that draws the show frame by frame, reacts to Escape/Q (quit), Space
// (pause) and F1 (switch between full screen and a window), and closes
// everything at the end. It knows nothing of the show's content: it calls
// loadShow once the context exists and drawFrame once per pass.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace platform {
class Platform;
struct Event;
}  // namespace platform
class Show;

// Viewport height and aspect ratio resizeView installs for a drawing area.
struct ViewSize {
    int width;
    int height;  // never 0
    double aspect;
};
ViewSize viewSizeFor(int width, int height);

// What a program decides about its window, once, when it makes the Shell.
struct ShellSettings {
    bool fullScreen = true;  // how run() opens the window; F1 switches
    // Render scale asked for: 1 to MAX_RENDER_SCALE, or 0 for auto (the
    // smallest that covers the picture's area in the window, 1 on a
    // software renderer). Chosen anew each time a window is opened.
    int scale = 1;
    // Print the render scale in use on standard output at each opening.
    bool announceScale = false;
    // Called after each drawn and presented frame with its drawing and
    // present times in milliseconds (the sync record); empty: nothing.
    std::function<void(double drawMs, double presentMs)> frameShown{};
};

class Shell {
public:
    std::array<bool, 256> keyDown{};  // indexed by virtual-key code
    // Keys pressed since the last frame step, kept even when released before
    // that step ran, so a quick tap is never lost on a slow machine.
    std::array<bool, 256> keyTapped{};
    bool active = true;               // false while minimised
    bool fullScreen;                  // full screen unless refused or switched
    bool paused = false;              // while true no frame is drawn

    Shell(platform::Platform& platform, Show& show, ShellSettings settings = {});

    bool openWindow(const std::string& title, int width, int height, int bits, bool fullScreen);
    // Releases the context and the window, then the window system.
    void closeWindow();
    // Releases the context and the window only, as a switch of mode does.
    void releaseWindow();
    // Viewport and projection for a drawing area of that size.
    void resizeView(int width, int height);
    // Reacts to one window event.
    void windowProc(const platform::Event& event);

    // One pass of the main loop; false once the loop is to end.
    bool mainLoopPass();
    // The program entry after the platform is chosen: returns the exit status.
    int run();

private:
    // Decides the render scale for the new context, refusing one the GL
    // cannot draw with a message, and makes the drawing surface that size.
    bool applyRenderScale();

    platform::Platform& platform;
    Show& show;
    const ShellSettings settings;
    bool reopenFailed = false;
};
