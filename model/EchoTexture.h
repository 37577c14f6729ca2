// EchoTexture.h: the intro's layered echo of a model.
//
// `capture` draws the model into a size x size square at the lower left of
// the framebuffer and copies it into a luminance texture (clearing the
// framebuffer afterwards); `drawLayers` lays that texture over the whole
// picture as a stack of additive layers, each cut in a little more than the
// one before and fainter. Lays its quads out in the show's 800 x 600
// picture coordinates; the square and the viewports are in pixels, at the
// render scale. Needs a current GL context from construction on.
#pragma once

#include <cstdint>

#include "model/EchoRegion.h"

class Object;

class EchoTexture {
public:
    uint32_t texture = 0;  // the captured picture
    float shiftX = 0.0f;   // screen offset added per layer index
    float shiftY = 0.0f;
    const int size;        // side of the captured square, in pixels
    TexelBox lit;          // texels the last capture may have lit
    bool captured = false; // the texture has its capture size and format

    // Makes a black placeholder texture; the first capture replaces it.
    // `size` is in pixels at the render scale in use (the show's square is
    // FEEDBACK_SQUARE at K = 1).
    explicit EchoTexture(int size);
    EchoTexture(const EchoTexture&) = delete;
    EchoTexture& operator=(const EchoTexture&) = delete;

    // Draws `object` in `mode` into the square, copies the square into the
    // texture, clears the framebuffer and gives back the whole screen's
    // viewport. Expects the frame as the last clear left it.
    void capture(const Object& object, int mode);
    // `count` layers, the first with inset `step` and alpha 0.5, each next
    // one inset by `step` more and fainter by 0.5 / count. Each layer is
    // clipped to the part of the screen where it samples lit texels:
    // elsewhere it would add nothing.
    void drawLayers(int count, float step) const;
};
