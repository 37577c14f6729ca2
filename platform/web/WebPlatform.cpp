// WebPlatform.cpp: canvas, WebGL 2 context, drawing surface, keys, clock,
// messages and music for the page.
#include "platform/web/WebPlatform.h"

#include <GLES3/gl3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstring>

#include "gles/Layer.h"
#include "platform/TickWait.h"

namespace platform {

namespace {

constexpr const char* CANVAS = "#show";

// The show's virtual-key code of a browser key, or 0 for keys it has no code for.
int virtualKeyOf(const EmscriptenKeyboardEvent& key)
{
    if (std::strlen(key.key) == 1) {
        const char c = key.key[0];
        if (c >= 'a' && c <= 'z') return c - 'a' + vk::KEY_A;
        if (c >= 'A' && c <= 'Z') return c - 'A' + vk::KEY_A;
        if (c >= '0' && c <= '9') return c - '0' + vk::KEY_0;
        if (c == ' ') return vk::SPACE;
    }
    if (std::strcmp(key.key, "Escape") == 0) return vk::ESCAPE;
    if (key.key[0] == 'F' && key.key[1] >= '1' && key.key[1] <= '9') {
        const int n = std::atoi(key.key + 1);
        if (n >= 1 && n <= 12) return vk::F1 + n - 1;
    }
    return 0;
}

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* key, void* user)
{
    auto* web = static_cast<WebPlatform*>(user);
    const int code = virtualKeyOf(*key);
    if (code == 0) return EM_FALSE;
    if (code == vk::F1 && type == EMSCRIPTEN_EVENT_KEYDOWN) {
        // Full screen is the browser's to give, and only inside a key or
        // click handler; the show's window is not rebuilt for it.
        EmscriptenFullscreenChangeEvent state;
        if (emscripten_get_fullscreen_status(&state) == EMSCRIPTEN_RESULT_SUCCESS && state.isFullscreen) {
            emscripten_exit_fullscreen();
        } else {
            EM_ASM(document.getElementById('stage').requestFullscreen().catch(function () {}););
        }
        return EM_TRUE;
    }
    // Escape and Q end the desktop show; a page has nowhere to go, so the
    // page keeps them from the show (Escape also leaves full screen).
    if (code == vk::ESCAPE || code == vk::KEY_Q) return EM_FALSE;
    Event event;
    event.type = type == EMSCRIPTEN_EVENT_KEYDOWN ? Event::Type::KeyDown : Event::Type::KeyUp;
    event.key = code;
    web->post(event);
    return EM_TRUE;
}

}  // namespace

bool WebPlatform::initialiseVideo()
{
    return true;
}

bool WebPlatform::shutdownVideo()
{
    return true;
}

WindowResult WebPlatform::createWindow(const std::string& title, int width, int height, int, bool)
{
    pictureWidth = width;
    pictureHeight = height;
    setTitle(title);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, onKey);
    windowOpen = true;
    return WindowResult::Ok;
}

ContextResult WebPlatform::createContext()
{
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    // Kept so that the test hook can read the canvas after the frame.
    attributes.preserveDrawingBuffer = EM_TRUE;
    context = emscripten_webgl_create_context(CANVAS, &attributes);
    if (context <= 0) {
        context = 0;
        return ContextResult::NoRenderingContext;
    }
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        return ContextResult::CannotActivate;
    }
    // The show's drawing surface: colour with alpha (the feedback copies
    // read it) and depth with stencil, as on the desktop.
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, pictureWidth, pictureHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glGenRenderbuffers(1, &depthStencil);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, pictureWidth, pictureHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return ContextResult::NoPixelFormat;
    glViewport(0, 0, pictureWidth, pictureHeight);
    glesContextCreated();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return ContextResult::Ok;
}

ReleaseResult WebPlatform::releaseContext()
{
    if (context) emscripten_webgl_destroy_context(context);
    context = 0;
    framebuffer = colour = depthStencil = 0;
    return ReleaseResult::Ok;
}

bool WebPlatform::destroyWindow()
{
    windowOpen = false;
    return true;
}

bool WebPlatform::pollEvent(Event& event)
{
    if (events.empty()) return false;
    event = events.front();
    events.pop_front();
    return true;
}

void WebPlatform::swapBuffers()
{
    if (!framebuffer) return;
    // The canvas keeps the picture's 800 x 600; the page's style scales it
    // with its shape kept. Scissor and colour mask would limit the blit's
    // clear-free copy only through the draw framebuffer, which is fresh.
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, pictureWidth, pictureHeight, 0, 0, pictureWidth, pictureHeight, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

uint32_t WebPlatform::ticks()
{
    if (virtualClock) return now;
    return static_cast<uint32_t>(emscripten_get_now());
}

void WebPlatform::waitForTick(uint32_t target)
{
    // The page only runs a frame once its tick has come; the virtual clock
    // of the test hook jumps to it.
    if (virtualClock && ticksUntil(target, now) > 0) now = target;
}

void WebPlatform::setTitle(const std::string& title)
{
    EM_ASM({ document.title = UTF8ToString($0); }, title.c_str());
}

void WebPlatform::showMessage(const std::string& text, const std::string& caption, MessageIcon)
{
    std::printf("[%s] %s\n", caption.c_str(), text.c_str());
    EM_ASM({ if (window.quorlMessage) window.quorlMessage(UTF8ToString($0), UTF8ToString($1)); }, caption.c_str(),
           text.c_str());
}

bool WebPlatform::askYesNo(const std::string& text, const std::string& caption, MessageIcon icon)
{
    // The only question (full screen refused, use a window?) has one answer
    // on a page: Yes.
    showMessage(text + " (Yes)", caption, icon);
    return true;
}

bool WebPlatform::startMusic(const std::string& path, uint32_t positionMs)
{
    // The page plays the track itself once the visitor has clicked; the
    // show's start only tells it from where.
    return EM_ASM_INT({ return window.quorlMusic ? window.quorlMusic(UTF8ToString($0), $1) : 0; }, path.c_str(),
                      positionMs) != 0;
}

}  // namespace platform
