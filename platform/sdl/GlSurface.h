// GlSurface.h: the show's own drawing surface (800 x 600 times the render
// scale) inside a GL context.
//
// A framebuffer object with an RGBA colour buffer and a depth-and-stencil
// buffer. While it is bound, everything the show draws (and every
// glCopyTexImage2D it makes) goes to this picture instead of the window,
// so the picture is the same whatever size or shape the window has.
// present() copies it to the window, scaled with its 4:3 shape kept.
// Needs SDL only to look up the framebuffer entry points.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

class GlSurface {
public:
    // Creates the surface in the current context; false when the context
    // has no framebuffer objects or the surface is incomplete.
    bool create(int width, int height);
    void destroy();
    bool valid() const { return framebuffer != 0; }

    // Makes the surface the target of drawing and reading.
    void bind() const;
    // Draws the picture into the window's back buffer (framebuffer 0) of the
    // given drawable size, black bars around it, then binds the surface again.
    // GL state the show relies on (clear colour, scissor, colour mask) is
    // kept as it was.
    void present(int drawableWidth, int drawableHeight) const;
    // The picture as 8-bit RGB, top row first.
    std::vector<uint8_t> readRgb() const;
    // The picture as 8-bit BGRA, bottom row first, into width * height * 4
    // bytes: GL's own row order and the surface's native layout, so the read
    // is a plain copy; for callers that flip and convert the rows themselves.
    void readBgraBottomFirst(uint8_t* into) const;

    int width() const { return pictureWidth; }
    int height() const { return pictureHeight; }

private:
    unsigned framebuffer = 0;
    unsigned colour = 0;
    unsigned depthStencil = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
};

// Where a picture of the given size lands in a drawable, scaled as large as
// fits with its shape kept and centred: x, y, width, height in pixels.
struct Letterbox {
    int x, y, width, height;
};
Letterbox letterbox(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight);

}  // namespace platform
