// paint.h: painting helpers shared by the picture families.
//
// Full-screen pictures are square files that the show stretches to 4:3, so
// their painters work in "screen" coordinates where a circle comes out round
// on the 800 x 600 screen: u runs -4/3..4/3 left to right, v -1..1 top to
// bottom.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "fmath.h"
#include "text.h"

namespace content {

// How much narrower than on screen a full-screen picture is stored (3/4).
inline constexpr double SCREEN_SQUEEZE = 0.75;

struct ScreenPoint {
    double u, v;
};
inline ScreenPoint toScreen(double x, double y, int width, int height) {
    return {(x / width * 2.0 - 1.0) * (4.0 / 3.0), y / height * 2.0 - 1.0};
}

// Scatter count stars with soft round cores over the canvas (or over the
// rows above maxY); squeeze narrows them for stretched pictures; tile wraps
// their glow around the edges.
void addStars(Canvas& canvas, uint32_t seed, int count, double brightness, double squeeze, double maxY = 1e9,
              bool tile = false);

// Add a soft glow spot (Gaussian) of colour at (cx, cy) with radii rx, ry.
void addGlow(Canvas& canvas, double cx, double cy, double rx, double ry, Rgb colour, double strength, bool tile = false);

// Darken towards the corners (strength 0..1).
void vignette(Canvas& canvas, double strength);

// Polished-metal fill for lettering between rows top and bottom: bright sky
// above a dark horizon line, warm light below, as chrome letters reflect.
Rgb chromeColour(double y, double top, double bottom);

// Paint lettering from a coverage mask: a dark outline, a coloured glow and
// the fill colour function.
void paintLettering(Canvas& canvas, const Mask& letters, const std::function<Rgb(double, double)>& fill, Rgb glow,
                    double glowRadius, double glowStrength, double outline);

}  // namespace content
