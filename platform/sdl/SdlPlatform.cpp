// SdlPlatform.cpp: window, context, events, time and dialogs on SDL2.
#include "platform/sdl/SdlPlatform.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <strings.h>

#ifdef QUORL_GLES
#include "gles/Layer.h"
#endif
#include "platform/TickWait.h"
#include "platform/audio/MusicPlayer.h"

namespace platform {

namespace {

constexpr int WINDOWED_X = 200;
constexpr int WINDOWED_Y = 100;

uint32_t messageFlags(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    case MessageIcon::Exclamation: return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::Stop: return SDL_MESSAGEBOX_ERROR;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

}  // namespace

bool unaskedInvisibleDriver(std::string_view driver, const char* asked)
{
    const auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
    };
    if (!same(driver, "offscreen") && !same(driver, "dummy")) return false;
    if (!asked) return true;
    // SDL_VIDEODRIVER may list several drivers, separated by commas.
    std::string_view list(asked);
    while (!list.empty()) {
        const size_t comma = list.find(',');
        if (same(list.substr(0, comma), driver)) return false;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return true;
}

int virtualKeyOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return vk::F1 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return vk::NUMPAD0 + 1 + (key - SDLK_KP_1);
    switch (key) {
    case SDLK_BACKSPACE: return vk::BACKSPACE;
    case SDLK_TAB: return vk::TAB;
    case SDLK_RETURN: case SDLK_KP_ENTER: return vk::RETURN;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return vk::SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return vk::CONTROL;
    case SDLK_LALT: case SDLK_RALT: return vk::MENU;
    case SDLK_PAUSE: return vk::PAUSE;
    case SDLK_CAPSLOCK: return vk::CAPITAL;
    case SDLK_ESCAPE: return vk::ESCAPE;
    case SDLK_SPACE: return vk::SPACE;
    case SDLK_PAGEUP: return vk::PRIOR;
    case SDLK_PAGEDOWN: return vk::NEXT;
    case SDLK_END: return vk::END;
    case SDLK_HOME: return vk::HOME;
    case SDLK_LEFT: return vk::LEFT;
    case SDLK_UP: return vk::UP;
    case SDLK_RIGHT: return vk::RIGHT;
    case SDLK_DOWN: return vk::DOWN;
    case SDLK_INSERT: return vk::INSERT;
    case SDLK_DELETE: return vk::DELETE_KEY;
    case SDLK_KP_0: return vk::NUMPAD0;
    case SDLK_KP_MULTIPLY: return vk::MULTIPLY;
    case SDLK_KP_PLUS: return vk::ADD;
    case SDLK_KP_MINUS: return vk::SUBTRACT;
    case SDLK_KP_PERIOD: return vk::DECIMAL;
    case SDLK_KP_DIVIDE: return vk::DIVIDE;
    default: return 0;
    }
}

SdlPlatform::SdlPlatform() : music(std::make_unique<MusicPlayer>()) {}

SdlPlatform::~SdlPlatform() = default;

bool SdlPlatform::initialiseVideo()
{
    if (videoUp) return true;
    // A full-screen window stays up when focus moves to another monitor.
    // SDL keeps the screen saver and monitor power-down off while it runs,
    // as a show that nobody touches needs.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    videoUp = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!videoUp) std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
    return videoUp;
}

bool SdlPlatform::videoShowsNothing() const
{
    if (!videoUp) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && unaskedInvisibleDriver(driver, std::getenv("SDL_VIDEODRIVER"));
}

bool SdlPlatform::shutdownVideo()
{
    if (videoUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoUp = false;
    return true;
}

uint32_t SdlPlatform::windowFlags(bool fullScreen) const
{
    if (fullScreen) return SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI;
    return SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
}

WindowResult SdlPlatform::createWindow(const std::string& title, int width, int height, int bits,
                                       bool fullScreen)
{
    pictureWidth = width;
    pictureHeight = height;
    // Double buffer, a 16-bit depth buffer and 16-bit colour asked for; the
    // show's own drawing surface has at least that.
    const int channel = bits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
#ifdef QUORL_GLES
    // The build that draws through the GL 1.x layer asks for OpenGL ES 3.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
#endif
    int x = WINDOWED_X;
    int y = WINDOWED_Y;
    int windowWidth = width;
    int windowHeight = height;
    SDL_Rect desktop;
    if (fullScreen && SDL_GetDisplayBounds(0, &desktop) == 0) {
        // Asked for at the desktop's own size too, so that the window covers
        // the screen even where no window manager applies the full-screen state.
        x = desktop.x;
        y = desktop.y;
        windowWidth = desktop.w;
        windowHeight = desktop.h;
    }
    window = SDL_CreateWindow(title.c_str(), x, y, windowWidth, windowHeight,
                              SDL_WINDOW_OPENGL | windowFlags(fullScreen));
    if (!window) {
        std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
        return fullScreen ? WindowResult::FullScreenRefused : WindowResult::Failed;
    }
    if (fullScreen) SDL_ShowCursor(SDL_DISABLE);
    return WindowResult::Ok;
}

ContextResult SdlPlatform::createContext()
{
    context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "SDL GL context: %s\n", SDL_GetError());
        return ContextResult::NoRenderingContext;
    }
    if (SDL_GL_MakeCurrent(window, context) != 0) return ContextResult::CannotActivate;
    // No vertical sync: the show's own 20 ms tick paces it.
    SDL_GL_SetSwapInterval(0);
#ifdef QUORL_GLES
    glesContextCreated();
#endif
    if (!surface.create(pictureWidth, pictureHeight)) {
        std::fprintf(stderr, "GL: no framebuffer objects for the drawing surface\n");
        return ContextResult::NoPixelFormat;
    }
    SDL_RaiseWindow(window);
    return ContextResult::Ok;
}

bool SdlPlatform::resizeSurface(int width, int height)
{
    surface.destroy();
    pictureWidth = width;
    pictureHeight = height;
    return surface.create(width, height);
}

void SdlPlatform::pictureArea(int& width, int& height) const
{
    int drawableWidth = 0;
    int drawableHeight = 0;
    if (window) SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    const Letterbox box = letterbox(pictureWidth, pictureHeight, drawableWidth, drawableHeight);
    width = box.width;
    height = box.height;
}

ReleaseResult SdlPlatform::releaseContext()
{
    surface.destroy();
    const bool detached = SDL_GL_MakeCurrent(window, nullptr) == 0;
    SDL_GL_DeleteContext(context);
    context = nullptr;
    return detached ? ReleaseResult::Ok : ReleaseResult::CannotDetach;
}

bool SdlPlatform::destroyWindow()
{
    SDL_ShowCursor(SDL_ENABLE);
    SDL_DestroyWindow(window);
    window = nullptr;
    return true;
}

bool SdlPlatform::pollEvent(Event& event)
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            event = {Event::Type::Quit, 0, 0, 0};
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int key = virtualKeyOf(e.key.keysym.sym);
            if (key == 0) break;
            event = {e.type == SDL_KEYDOWN ? Event::Type::KeyDown : Event::Type::KeyUp, key, 0, 0};
            return true;
        }
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
            case SDL_WINDOWEVENT_MINIMIZED: event = {Event::Type::Minimized, 0, 0, 0}; return true;
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_SHOWN:
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                // Like an activation message: active again unless minimised.
                if (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) break;
                event = {Event::Type::Restored, 0, 0, 0};
                return true;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                event = {Event::Type::Resized, 0, e.window.data1, e.window.data2};
                return true;
            case SDL_WINDOWEVENT_CLOSE:
                event = {Event::Type::Quit, 0, 0, 0};
                return true;
            default: break;
            }
            break;
        default: break;
        }
    }
    return false;
}

void SdlPlatform::swapBuffers()
{
    if (!window) return;
    int drawableWidth = 0;
    int drawableHeight = 0;
    // Drawable size, not window size: correct on HiDPI screens.
    SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    surface.present(drawableWidth, drawableHeight);
    SDL_GL_SwapWindow(window);
    surface.bind();
}

uint32_t SdlPlatform::ticks()
{
    return SDL_GetTicks();
}

void SdlPlatform::waitForTick(uint32_t target)
{
    waitUntilTick(
        target, [] { return SDL_GetTicks(); }, [] { SDL_Delay(1); });
}

void SdlPlatform::setTitle(const std::string& title)
{
    if (window) SDL_SetWindowTitle(window, title.c_str());
}

void SdlPlatform::showMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    if (SDL_ShowSimpleMessageBox(messageFlags(icon), caption.c_str(), text.c_str(), nullptr) != 0) {
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    }
}

bool SdlPlatform::askYesNo(const std::string& text, const std::string& caption, MessageIcon icon)
{
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxData data = {messageFlags(icon), nullptr, caption.c_str(), text.c_str(), 2, buttons,
                                     nullptr};
    int pressed = 0;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        // No dialog could be shown: answer as if the window were accepted,
        // since nothing else can be asked.
        std::fprintf(stderr, "[%s] %s (answered Yes)\n", caption.c_str(), text.c_str());
        return true;
    }
    return pressed == 1;
}

bool SdlPlatform::startMusic(const std::string& path, uint32_t positionMs)
{
    return music->start(path, positionMs);
}

int64_t SdlPlatform::musicPositionMs()
{
    return music->positionMs();
}

void SdlPlatform::pauseMusic(bool paused)
{
    music->pause(paused);
}

}  // namespace platform
