// GlSurface.cpp: the framebuffer object, its presentation and read-back.
#include "platform/sdl/GlSurface.h"

#include <SDL.h>
#define GL_GLEXT_PROTOTYPES 0
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// Framebuffer entry points, looked up once per process (they are the same
// for every context of one driver).
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;

    bool load()
    {
        if (blitFramebuffer) return true;
        genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(SDL_GL_GetProcAddress("glGenFramebuffers"));
        deleteFramebuffers =
            reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(SDL_GL_GetProcAddress("glDeleteFramebuffers"));
        bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
        genRenderbuffers =
            reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(SDL_GL_GetProcAddress("glGenRenderbuffers"));
        deleteRenderbuffers =
            reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(SDL_GL_GetProcAddress("glDeleteRenderbuffers"));
        bindRenderbuffer =
            reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(SDL_GL_GetProcAddress("glBindRenderbuffer"));
        renderbufferStorage =
            reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(SDL_GL_GetProcAddress("glRenderbufferStorage"));
        framebufferRenderbuffer = reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(
            SDL_GL_GetProcAddress("glFramebufferRenderbuffer"));
        checkFramebufferStatus =
            reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(SDL_GL_GetProcAddress("glCheckFramebufferStatus"));
        const auto blit =
            reinterpret_cast<PFNGLBLITFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBlitFramebuffer"));
        const bool all = genFramebuffers && deleteFramebuffers && bindFramebuffer && genRenderbuffers &&
                         deleteRenderbuffers && bindRenderbuffer && renderbufferStorage &&
                         framebufferRenderbuffer && checkFramebufferStatus && blit;
        if (all) blitFramebuffer = blit;
        return all;
    }
};

FramebufferCalls fb;

}  // namespace

Letterbox letterbox(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0) {
        return {0, 0, 0, 0};
    }
    // Compare drawable aspect with picture aspect in integers to avoid rounding.
    const long long wide = static_cast<long long>(drawableWidth) * pictureHeight;
    const long long tall = static_cast<long long>(drawableHeight) * pictureWidth;
    int width = drawableWidth;
    int height = drawableHeight;
    if (wide > tall) {
        width = static_cast<int>(tall / pictureHeight);  // bars left and right
    } else if (wide < tall) {
        height = static_cast<int>(wide / pictureWidth);  // bars top and bottom
    }
    return {(drawableWidth - width) / 2, (drawableHeight - height) / 2, width, height};
}

bool GlSurface::create(int width, int height)
{
    if (!fb.load()) return false;
    pictureWidth = width;
    pictureHeight = height;
    fb.genFramebuffers(1, &framebuffer);
    fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    fb.genRenderbuffers(1, &colour);
    fb.bindRenderbuffer(GL_RENDERBUFFER, colour);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    fb.genRenderbuffers(1, &depthStencil);
    fb.bindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
    fb.bindRenderbuffer(GL_RENDERBUFFER, 0);
    if (fb.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        destroy();
        return false;
    }
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void GlSurface::destroy()
{
    if (!fb.blitFramebuffer) return;
    fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (framebuffer) fb.deleteFramebuffers(1, &framebuffer);
    if (colour) fb.deleteRenderbuffers(1, &colour);
    if (depthStencil) fb.deleteRenderbuffers(1, &depthStencil);
    framebuffer = colour = depthStencil = 0;
}

void GlSurface::bind() const
{
    if (framebuffer) fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void GlSurface::present(int drawableWidth, int drawableHeight) const
{
    if (!framebuffer) return;
    // The show relies on state it set earlier; keep what the clear and the
    // copy below would otherwise change.
    GLfloat clearColour[4];
    GLboolean colourMask[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    const Letterbox box = letterbox(pictureWidth, pictureHeight, drawableWidth, drawableHeight);
    // The bars need clearing only where the picture leaves some; a copy at
    // its own size needs no filtering. The software renderer pays for both
    // by the pixel, every frame.
    if (box.width != drawableWidth || box.height != drawableHeight) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    const bool oneToOne = box.width == pictureWidth && box.height == pictureHeight;
    fb.blitFramebuffer(0, 0, pictureWidth, pictureHeight, box.x, box.y, box.x + box.width, box.y + box.height,
                       GL_COLOR_BUFFER_BIT, oneToOne ? GL_NEAREST : GL_LINEAR);
    fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);

    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    glColorMask(colourMask[0], colourMask[1], colourMask[2], colourMask[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

std::vector<uint8_t> GlSurface::readRgb() const
{
    const size_t row = static_cast<size_t>(pictureWidth) * 3;
    std::vector<uint8_t> bottomFirst(row * pictureHeight);
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadPixels(0, 0, pictureWidth, pictureHeight, GL_RGB, GL_UNSIGNED_BYTE, bottomFirst.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    // GL reads bottom row first; pictures are stored top row first.
    std::vector<uint8_t> topFirst(bottomFirst.size());
    for (int y = 0; y < pictureHeight; ++y) {
        std::memcpy(&topFirst[static_cast<size_t>(y) * row],
                    &bottomFirst[static_cast<size_t>(pictureHeight - 1 - y) * row], row);
    }
    return topFirst;
}

void GlSurface::readBgraBottomFirst(uint8_t* into) const
{
    // Four bytes a pixel keep every row aligned whatever GL_PACK_ALIGNMENT is.
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadPixels(0, 0, pictureWidth, pictureHeight, GL_BGRA, GL_UNSIGNED_BYTE, into);
}

}  // namespace platform
