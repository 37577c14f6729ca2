// Screen.h: the show's picture size and the render scale it is drawn at.
//
// The show's picture is 800 x 600: the window asks for that client size,
// and every overlay and copied-texture layout is laid out in those picture
// coordinates. The framebuffer it draws into is that picture times a whole
// render scale K (1 to 4): 800K x 600K pixels. K is set once, when the GL
// context and its drawing surface are made, before the show loads; every
// size in pixels (viewports, copied squares, scissor boxes, line widths)
// is read from here. At K = 1 the show is the 800 x 600 show exactly.
#pragma once

#include <string>

constexpr int PICTURE_WIDTH = 800;
constexpr int PICTURE_HEIGHT = 600;
constexpr int SCREEN_BITS = 16;
constexpr int MAX_RENDER_SCALE = 4;
// The largest square a feedback texture (the intro's echo, the spin part's
// blur) copies, in pixels at K = 1.
constexpr int FEEDBACK_SQUARE = 512;

// Sets the render scale; values outside 1..MAX_RENDER_SCALE are clamped.
void setRenderScale(int scale);
// The framebuffer's size in pixels: the picture times the render scale.
int screenWidth();
int screenHeight();
// A length in pixels at K = 1 (a 512-pixel square, a 1-pixel line) as
// drawn at the render scale in use.
int scaledPixels(int pixelsAtScaleOne);

// The driver's limits that bound the render scale.
struct GlLimits {
    int maxTextureSize = 0;       // GL_MAX_TEXTURE_SIZE
    int maxRenderbufferSize = 0;  // GL_MAX_RENDERBUFFER_SIZE
    int maxViewportWidth = 0;     // GL_MAX_VIEWPORT_DIMS
    int maxViewportHeight = 0;
    float maxLineWidth = 0.0f;    // top of GL_ALIASED_LINE_WIDTH_RANGE
};

// Empty when the driver can draw the show at `scale`; otherwise one line
// saying which limit is too small.
std::string renderScaleRefusal(int scale, const GlLimits& limits);
// The largest scale from 1 to `wanted` the driver can draw at (1 when even
// that is refused: the 800 x 600 show needs no more than any GL gives).
int largestDrawableScale(int wanted, const GlLimits& limits);

// True for the software renderers (llvmpipe, softpipe, swrast, and the
// browsers' SwiftShader), by the GL_RENDERER text: they fill a larger picture at a proportionally lower rate.
bool isSoftwareRenderer(const std::string& renderer);
// True for a driver that must finish its flushed work before it starts on
// more, by the GL_RENDERER text: Mesa's llvmpipe, whose rasterizer threads
// can still be signalling a finished batch while the GL's own thread frees
// it for reuse (a write into freed memory, which corrupts the heap).
bool flushesRaceWithTheRasterizer(const std::string& renderer);
// Whether the driver in use needs that (set when a context is made):
// the framebuffer copies and the stepped frames then end in glFinish
// rather than in an unwaited flush. No pixel changes either way.
void setWaitForFlushes(bool wait);
bool waitForFlushes();
// The smallest K whose picture covers a box of that size (at least 1, at
// most MAX_RENDER_SCALE).
int scaleCovering(int boxWidth, int boxHeight);
