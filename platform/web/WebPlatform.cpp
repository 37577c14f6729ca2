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
    showRealRenderer();
    if (!makeSurface(pictureWidth, pictureHeight)) return ContextResult::NoPixelFormat;
    glViewport(0, 0, surfaceWidth, surfaceHeight);
    glesContextCreated();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return ContextResult::Ok;
}

bool WebPlatform::makeSurface(int width, int height)
{
    // The show's drawing surface: colour with alpha (the feedback copies
    // read it) and depth with stencil, as on the desktop. The canvas's own
    // drawing buffer takes the same size, so presenting is a 1:1 copy and
    // the page's style does the only scaling.
    surfaceWidth = width;
    surfaceHeight = height;
    emscripten_set_canvas_element_size(CANVAS, width, height);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glGenRenderbuffers(1, &depthStencil);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void WebPlatform::destroySurface()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &colour);
    glDeleteRenderbuffers(1, &depthStencil);
    framebuffer = colour = depthStencil = 0;
    emscripten_set_canvas_element_size(CANVAS, pictureWidth, pictureHeight);
}

void WebPlatform::showRealRenderer()
{
    // WebGL names its renderer only by the browser ("WebKit WebGL"); the
    // debug extension gives the real one (SwiftShader, llvmpipe, a GPU),
    // which the render-scale choice and the show's frame-rate line read.
    EM_ASM({
        const gl = GLctx;
        const info = gl.getExtension('WEBGL_debug_renderer_info');
        if (!info) return;
        const plain = gl.getParameter.bind(gl);
        gl.getParameter = (name) => plain(name === gl.RENDERER ? info.UNMASKED_RENDERER_WEBGL : name);
    });
}

bool WebPlatform::resizeSurface(int width, int height)
{
    if (!context) return false;
    destroySurface();
    if (!makeSurface(width, height)) {
        destroySurface();
        return false;
    }
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void WebPlatform::pictureArea(int& width, int& height) const
{
    // The canvas's shown size (the page's style keeps the picture's shape
    // and leaves the bars outside it) in the screen's own pixels.
    width = static_cast<int>(EM_ASM_DOUBLE({
        return Module.canvas.clientWidth * (window.devicePixelRatio || 1);
    }) + 0.5);
    height = static_cast<int>(EM_ASM_DOUBLE({
        return Module.canvas.clientHeight * (window.devicePixelRatio || 1);
    }) + 0.5);
}

ReleaseResult WebPlatform::releaseContext()
{
    if (context) emscripten_webgl_destroy_context(context);
    context = 0;
    framebuffer = colour = depthStencil = 0;
    surfaceWidth = pictureWidth;
    surfaceHeight = pictureHeight;
    emscripten_set_canvas_element_size(CANVAS, pictureWidth, pictureHeight);
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
    // The canvas's drawing buffer has the surface's size; the page's style
    // scales it with its shape kept. Scissor and colour mask would limit the blit's
    // clear-free copy only through the draw framebuffer, which is fresh.
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, surfaceWidth, surfaceHeight, 0, 0, surfaceWidth, surfaceHeight, GL_COLOR_BUFFER_BIT,
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

int64_t WebPlatform::musicPositionMs()
{
    // The page's <audio> position, or -1 before it sounds and after its end.
    return static_cast<int64_t>(
        EM_ASM_DOUBLE({ return window.quorlMusicMs ? window.quorlMusicMs() : -1; }));
}

void WebPlatform::pauseMusic(bool paused)
{
    EM_ASM({ if (window.quorlPauseMusic) window.quorlPauseMusic($0 != 0); }, paused ? 1 : 0);
}

}  // namespace platform
