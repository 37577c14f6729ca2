// Platform.h: what the show needs from the machine it runs on.
//
// The show never includes SDL or a window-system header; it talks to one
// Platform object: a window with a GL context, buffer swap, the millisecond
// tick counter, events, the window title, message boxes and the music. Two
// backends exist: platform/sdl (the real window) and platform/headless
// (hidden, virtual 20 ms clock, frames read back, dialogs printed).
//
// Drawing surface: every backend makes the show draw into an offscreen
// picture (colour, 16-bit-or-better depth, stencil), 800 x 600 when the
// context is made and 800K x 600K after resizeSurface for a render scale K.
// Framebuffer 0 as the show sees it is that picture; swapBuffers() presents it.
//
// A backend must provide, in short:
//   initialiseVideo / shutdownVideo, createWindow / destroyWindow,
//   createContext / releaseContext, pollEvent, swapBuffers, ticks,
//   waitForTick, setTitle, showMessage, askYesNo, startMusic
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Icons of the show's message boxes.
enum class MessageIcon { Information, Exclamation, Stop };

// Outcome of releaseContext: the first step that failed, if any.
enum class ReleaseResult {
    Ok,
    CannotDetach,  // the context could not be made not current
    CannotDelete,  // the context could not be deleted
};

// Outcome of createWindow.
enum class WindowResult {
    Ok,
    FullScreenRefused,  // the full-screen window could not be had; try windowed
    Failed,             // no window at all
};

// Outcome of createContext: the first step that failed, if any.
enum class ContextResult {
    Ok,
    NoDeviceContext,
    NoPixelFormat,
    CannotSetPixelFormat,
    NoRenderingContext,
    CannotActivate,
};

// Win32 virtual-key codes, the key numbering the show uses everywhere.
namespace vk {
constexpr int BACKSPACE = 8, TAB = 9, RETURN = 13, SHIFT = 16, CONTROL = 17, MENU = 18;
constexpr int PAUSE = 19, CAPITAL = 20, ESCAPE = 27, SPACE = 32;
constexpr int PRIOR = 33, NEXT = 34, END = 35, HOME = 36;
constexpr int LEFT = 37, UP = 38, RIGHT = 39, DOWN = 40;
constexpr int INSERT = 45, DELETE_KEY = 46;
constexpr int KEY_0 = 48;  // '0'..'9' are 48..57
constexpr int KEY_A = 65;  // 'A'..'Z' are 65..90
constexpr int KEY_Q = 81;
constexpr int NUMPAD0 = 96, MULTIPLY = 106, ADD = 107, SUBTRACT = 109, DECIMAL = 110, DIVIDE = 111;
constexpr int F1 = 112;  // F1..F12 are 112..123
}  // namespace vk

struct Event {
    enum class Type {
        Quit,       // the window was closed
        KeyDown,    // key holds a virtual-key code 0..255; auto-repeat sends more
        KeyUp,
        Minimized,
        Restored,
        Resized,    // width, height: the new client size in pixels
    };
    Type type = Type::Quit;
    int key = 0;
    int width = 0;
    int height = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Brings up the window system; false when it is not available.
    virtual bool initialiseVideo() = 0;
    // Takes the window system down again; false when that failed.
    virtual bool shutdownVideo() = 0;
    // Window of the given client size; full screen means the desktop's own
    // mode, windowed means a framed window at (200, 100).
    virtual WindowResult createWindow(const std::string& title, int width, int height, int bits,
                                      bool fullScreen) = 0;
    // GL context for the window, made current, with a drawing surface of the
    // window's asked-for size bound.
    virtual ContextResult createContext() = 0;
    // Replaces the drawing surface with a cleared one of width x height
    // pixels, bound; false when the GL cannot make it (the old one is gone).
    virtual bool resizeSurface(int, int) { return false; }
    // The size in pixels the finished picture takes in the window, bars
    // left out: what a sharp picture would have to cover.
    virtual void pictureArea(int& width, int& height) const
    {
        width = 0;
        height = 0;
    }
    // Releases the context and its drawing surface (nothing to do when none exists).
    virtual ReleaseResult releaseContext() = 0;
    // Destroys the window, restoring the desktop when it was full screen;
    // false when that failed.
    virtual bool destroyWindow() = 0;
    virtual bool hasContext() const = 0;
    virtual bool hasWindow() const = 0;

    // Next waiting event, without blocking; false when none waits.
    virtual bool pollEvent(Event& event) = 0;
    // Presents the finished picture, scaled to the window with its
    // shape kept, and leaves the drawing surface bound again.
    virtual void swapBuffers() = 0;

    // Milliseconds since an arbitrary start; wraps like a 32-bit tick counter.
    virtual uint32_t ticks() = 0;
    // Returns once ticks() has reached target (compared with wrap-around).
    virtual void waitForTick(uint32_t target) = 0;

    virtual void setTitle(const std::string& title) = 0;
    // Modal message box with an OK button; must never block a headless run.
    virtual void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // Modal Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) = 0;

    // Plays the music file once in the background, from positionMs
    // milliseconds into the track (0: from the start). Starting it again
    // while it already plays leaves it playing as it was. Failures are
    // silent: the show runs without music. Returns true when it plays.
    virtual bool startMusic(const std::string& path, uint32_t positionMs) = 0;
    // Where the playing music is, in milliseconds into the track; -1 when
    // none plays (never started, failed, or ended).
    virtual int64_t musicPositionMs() { return -1; }
    // Pauses (true) or resumes (false) the music; nothing when none plays.
    virtual void pauseMusic(bool /*paused*/) {}
};

// The platform the show currently runs on (set by the program entry or a
// tool); null in tests that run pure code.
Platform* current();
void setCurrent(Platform* platform);

// Message box through the current platform, or printed to standard error
// when there is none.
void showMessage(const std::string& text, const std::string& caption, MessageIcon icon);

}  // namespace platform
