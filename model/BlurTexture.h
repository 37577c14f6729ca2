// BlurTexture.h: the feedback texture behind the spin part's glowing trail.
//
// Every frame the old texture is drawn into a size x size square at the
// lower left of the framebuffer, the scene draws its model on top, the
// square is copied back, drawn again slightly zoomed and copied once more,
// and finally the texture is added over the whole picture. Each overlay
// turns the texture by half a turn, and it is drawn an even number of
// times per frame, so the trail and the final overlay appear upright. The
// trail fades by `alpha` and drifts outward by the zoom, frame after frame.
//
// Lays its quads out in the show's 800 x 600 picture coordinates; the
// square and the viewports are in pixels, at the render scale. Needs a current GL context from construction on.
#pragma once

#include <cstdint>

class BlurTexture {
public:
    uint32_t texture = 0;  // the feedback texture
    const int size;        // side of the captured square, in pixels
    float alpha = 0.9f;    // alpha of every overlay
    bool captured = false; // the texture has its capture format

    // Makes the black size x size RGB texture; `size` is in pixels at the
    // render scale in use (the show's square is FEEDBACK_SQUARE at K = 1).
    explicit BlurTexture(int size);
    BlurTexture(const BlurTexture&) = delete;
    BlurTexture& operator=(const BlurTexture&) = delete;

    void setAlpha(float value) { alpha = value; }
    // Viewport to the square, then the old texture into it.
    void begin() const;
    // Copies the square into the texture, clears the framebuffer and gives
    // back the whole screen's viewport.
    void capture();
    // Draws the texture into the square with `inset` cut from each edge,
    // then captures.
    void zoom(float inset);
    // Adds the texture, turned by half a turn, over the current viewport,
    // showing only its part from inset to 1 - inset.
    void overlay(float inset) const;
};
