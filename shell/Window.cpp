// Window.cpp: window set-up and tear-down with the show's messages, the
// event handling and the main loop.
#include "shell/Window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include "common/Screen.h"
#include "platform/Platform.h"
#include "shell/Timeline.h"

using platform::MessageIcon;

namespace {

constexpr const char* WINDOW_TITLE = "Quorl-H";

// Message of a failed step of context creation.
const char* contextFailureText(platform::ContextResult result)
{
    switch (result) {
    case platform::ContextResult::NoDeviceContext: return "Can't Create A GL Device Context.";
    case platform::ContextResult::NoPixelFormat: return "Can't Find A Suitable PixelFormat.";
    case platform::ContextResult::CannotSetPixelFormat: return "Can't Set The PixelFormat.";
    case platform::ContextResult::NoRenderingContext: return "Can't Create A GL Rendering Context.";
    case platform::ContextResult::CannotActivate: return "Can't Activate The GL Rendering Context.";
    case platform::ContextResult::Ok: break;
    }
    return "";
}

// The limits of the current context that bound the render scale.
GlLimits currentGlLimits()
{
    GlLimits limits;
    GLint viewport[2] = {0, 0};
    GLfloat lineWidths[2] = {1.0f, 1.0f};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limits.maxTextureSize);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limits.maxRenderbufferSize);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    glGetFloatv(GL_ALIASED_LINE_WIDTH_RANGE, lineWidths);
    limits.maxViewportWidth = viewport[0];
    limits.maxViewportHeight = viewport[1];
    limits.maxLineWidth = lineWidths[1];
    return limits;
}

}  // namespace

ViewSize viewSizeFor(int width, int height)
{
    if (height == 0) height = 1;
    return {width, height, static_cast<double>(width) / static_cast<double>(height)};
}

Shell::Shell(platform::Platform& platform, Show& show, ShellSettings settings)
    : fullScreen(settings.fullScreen), platform(platform), show(show), settings(std::move(settings))
{
}

bool Shell::openWindow(const std::string& title, int width, int height, int bits, bool wantFullScreen)
{
    fullScreen = wantFullScreen;
    if (!platform.initialiseVideo()) {
        platform.showMessage("Failed To Register The Window Class.", "ERROR", MessageIcon::Exclamation);
        return false;
    }
    platform::WindowResult made = platform.createWindow(title, width, height, bits, fullScreen);
    if (made == platform::WindowResult::FullScreenRefused) {
        if (!platform.askYesNo("The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use "
                               "Windowed Mode Instead?",
                               "Quorl-GL", MessageIcon::Exclamation)) {
            platform.showMessage("Program Will Now Close.", "ERROR", MessageIcon::Stop);
            platform.shutdownVideo();
            return false;
        }
        fullScreen = false;
        made = platform.createWindow(title, width, height, bits, fullScreen);
    }
    if (made != platform::WindowResult::Ok) {
        closeWindow();
        platform.showMessage("Window Creation Error.", "ERROR", MessageIcon::Exclamation);
        return false;
    }
    const platform::ContextResult context = platform.createContext();
    if (context != platform::ContextResult::Ok) {
        closeWindow();
        platform.showMessage(contextFailureText(context), "ERROR", MessageIcon::Exclamation);
        return false;
    }
    if (!applyRenderScale()) {
        closeWindow();
        return false;
    }
    resizeView(screenWidth(), screenHeight());
    // Loading's outcome is not examined: missing files only leave their
    // objects drawing without them.
    show.loadShow();
    return true;
}

bool Shell::applyRenderScale()
{
    const GlLimits limits = currentGlLimits();
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    setWaitForFlushes(flushesRaceWithTheRasterizer(renderer ? renderer : ""));
    int scale = settings.scale;
    if (scale == 0) {
        int areaWidth = 0;
        int areaHeight = 0;
        platform.pictureArea(areaWidth, areaHeight);
        // A software renderer fills a K-times larger picture K squared
        // times slower; at 800 x 600 it already spends most of a frame.
        scale = isSoftwareRenderer(renderer ? renderer : "")
                    ? 1
                    : largestDrawableScale(scaleCovering(areaWidth, areaHeight), limits);
    } else if (const std::string refusal = scale > 1 ? renderScaleRefusal(scale, limits) : std::string();
               !refusal.empty()) {
        platform.showMessage("This GL cannot draw the show at " + refusal + ".", "ERROR",
                             MessageIcon::Exclamation);
        return false;
    }
    setRenderScale(scale);
    if (scale > 1) {
        if (!platform.resizeSurface(screenWidth(), screenHeight())) {
            platform.showMessage("Can't Make The " + std::to_string(screenWidth()) + " x " +
                                     std::to_string(screenHeight()) + " Drawing Surface.",
                                 "ERROR", MessageIcon::Exclamation);
            return false;
        }
        // Lines 1 pixel wide in the 800 x 600 picture keep their width in it.
        glLineWidth(static_cast<GLfloat>(scale));
    }
    if (settings.announceScale) {
        std::printf("render scale %d (%d x %d)\n", scale, screenWidth(), screenHeight());
        std::fflush(stdout);
    }
    return true;
}

void Shell::closeWindow()
{
    releaseWindow();
    if (!platform.shutdownVideo()) {
        platform.showMessage("Could Not Unregister Class.", "SHUTDOWN ERROR", MessageIcon::Information);
    }
}

void Shell::releaseWindow()
{
    // Every step runs whether or not an earlier one failed.
    if (platform.hasContext()) {
        switch (platform.releaseContext()) {
        case platform::ReleaseResult::CannotDetach:
            platform.showMessage("Release Of DC And RC Failed.", "SHUTDOWN ERROR", MessageIcon::Information);
            break;
        case platform::ReleaseResult::CannotDelete:
            platform.showMessage("Release Rendering Context Failed.", "SHUTDOWN ERROR",
                                 MessageIcon::Information);
            break;
        case platform::ReleaseResult::Ok: break;
        }
    }
    if (platform.hasWindow() && !platform.destroyWindow()) {
        platform.showMessage("Could Not Release hWnd.", "SHUTDOWN ERROR", MessageIcon::Information);
    }
}

void Shell::resizeView(int width, int height)
{
    const ViewSize view = viewSizeFor(width, height);
    glViewport(0, 0, view.width, view.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, view.aspect, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Shell::windowProc(const platform::Event& event)
{
    using Type = platform::Event::Type;
    switch (event.type) {
    case Type::Minimized: active = false; break;
    case Type::Restored: active = true; break;
    case Type::KeyDown:
        if (event.key >= 0 && event.key < 256) {
            keyDown[event.key] = true;
            keyTapped[event.key] = true;
        }
        break;
    case Type::KeyUp:
        if (event.key >= 0 && event.key < 256) keyDown[event.key] = false;
        break;
    case Type::Resized:
        // The show keeps drawing its own picture at the render scale chosen
        // when the window opened; the platform scales it to the new size,
        // so the view is left as it is.
        break;
    case Type::Quit: break;
    }
}

bool Shell::mainLoopPass()
{
    platform::Event event;
    if (platform.pollEvent(event)) {
        if (event.type == platform::Event::Type::Quit) return false;
        windowProc(event);
        return true;
    }
    // A key counts while held, and once after a press whose release came
    // before this step: press and release can both arrive within one frame.
    const auto pressed = [this](int code) { return keyDown[code] || keyTapped[code]; };
    // Space and F1 act once per key-down message; auto-repeat sends more.
    const auto takePress = [this](int code) { keyDown[code] = keyTapped[code] = false; };
    bool ending = false;
    if (active) {
        if (pressed(platform::vk::ESCAPE) || pressed(platform::vk::KEY_Q)) ending = true;
        if (pressed(platform::vk::SPACE)) {
            takePress(platform::vk::SPACE);
            paused = !paused;
            // A show that follows its music holds the music while paused.
            if (show.followsMusic()) platform.pauseMusic(paused);
        } else if (settings.frameShown && !paused) {
            using Clock = std::chrono::steady_clock;
            const auto begin = Clock::now();
            show.drawFrame();
            // The software renderer draws behind the calls; finishing here
            // keeps its drawing out of the present's time.
            glFinish();
            const auto drawn = Clock::now();
            platform.swapBuffers();
            const auto end = Clock::now();
            settings.frameShown(std::chrono::duration<double, std::milli>(drawn - begin).count(),
                       std::chrono::duration<double, std::milli>(end - drawn).count());
        } else {
            if (!paused) show.drawFrame();
            platform.swapBuffers();
        }
    }
    const bool switchWindow = pressed(platform::vk::F1);
    // This step has seen every press so far; held keys stay in keyDown.
    keyTapped.fill(false);
    if (switchWindow) {
        takePress(platform::vk::F1);
        // Only the window and its context are made anew; the window system
        // stays up, so the new window is sure to get the same video driver.
        releaseWindow();
        fullScreen = !fullScreen;
        if (!openWindow(WINDOW_TITLE, PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, fullScreen)) {
            reopenFailed = true;
            return false;
        }
    }
    return !ending;
}

int Shell::run()
{
    if (!openWindow(WINDOW_TITLE, PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, fullScreen)) return 0;
    while (mainLoopPass()) {
    }
    if (reopenFailed) return 0;
    closeWindow();
    return 0;
}
