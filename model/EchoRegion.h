// EchoRegion.h: where the echo's layers can add anything to the picture.
//
// The echo texture is a capture of a model's lines on a black background,
// and its layers are added to the picture, so wherever a layer samples only
// black texels it adds exactly nothing. These functions find, from the
// model's projected extent, the texels that can be lit and then, for each
// layer's inset, the rectangle of the screen that can sample them. The
// layers are drawn clipped to those rectangles, which gives the same
// picture for a fraction of the fill. Pure arithmetic: no GL.
#pragma once

// Texels of the captured square that may be lit, inclusive bounds, or
// `valid` false when no bound could be given (the whole texture counts).
struct TexelBox {
    bool valid = false;
    bool empty = false;  // nothing lit at all
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// A rectangle in window pixels (origin at the lower left).
struct PixelBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// The texels that lines between the given points (3 floats each) can light
// when drawn with these column-major matrices into a size x size viewport
// at the origin. Invalid when a point lies on or behind the eye plane,
// where its projection says nothing about the drawn lines.
TexelBox projectedTexels(const float* positions, int count, const float* modelview, const float* projection,
                         int size);

// The part of a screen of `width` x `height` pixels where a layer with the
// given inset (texture coordinates inset .. 1 - inset across the screen,
// repeating outside 0..1) samples any texel of `box` with linear filtering.
// `box` must be valid.
PixelBox layerPixels(const TexelBox& box, int size, float inset, int width, int height);

// The pixels in both boxes; width and height 0 when they do not meet.
PixelBox intersect(const PixelBox& a, const PixelBox& b);
