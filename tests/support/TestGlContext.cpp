// TestGlContext.cpp: hidden SDL window and GL compatibility context per test.
#include "support/TestGlContext.h"

#include <SDL.h>
#include <GL/gl.h>

namespace {

// SDL's video subsystem is started once per test program and left running:
// starting and stopping it per test costs time and gains nothing.
bool startVideo()
{
    static const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    return started;
}

}  // namespace

void TestGlContext::SetUp()
{
    if (!startVideo()) {
        GTEST_SKIP() << "No display for a GL context (SDL video: " << SDL_GetError()
                     << "); run under Xvfb with DISPLAY set";
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_Window* const sdlWindow = SDL_CreateWindow("quorl test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                                   WIDTH, HEIGHT, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!sdlWindow) {
        GTEST_SKIP() << "No window for a GL context: " << SDL_GetError();
    }
    window = sdlWindow;
    SDL_GLContext const glContext = SDL_GL_CreateContext(sdlWindow);
    if (!glContext) {
        GTEST_SKIP() << "No GL context: " << SDL_GetError();
    }
    context = glContext;
    if (SDL_GL_MakeCurrent(sdlWindow, glContext) != 0) {
        GTEST_SKIP() << "GL context cannot be made current: " << SDL_GetError();
    }
    glViewport(0, 0, WIDTH, HEIGHT);
}

void TestGlContext::TearDown()
{
    if (context) {
        SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window), nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(static_cast<SDL_Window*>(window));
        window = nullptr;
    }
}

std::vector<std::uint8_t> TestGlContext::readPixel(int x, int y) const
{
    std::vector<std::uint8_t> pixel(4, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

void TestGlContext::swap() const { SDL_GL_SwapWindow(static_cast<SDL_Window*>(window)); }
