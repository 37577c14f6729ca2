// paint.cpp: stars, glows, vignettes and lettering effects.
#include "paint.h"

#include <algorithm>
#include <cmath>

namespace content {

// Visits three radii around the centre; beyond that the Gaussian is nil.
void addGlow(Canvas& canvas, double cx, double cy, double rx, double ry, Rgb colour, double strength, bool tile) {
    const int w = canvas.width();
    const int h = canvas.height();
    const int x0 = static_cast<int>(std::floor(cx - rx * 3.0));
    const int x1 = static_cast<int>(std::ceil(cx + rx * 3.0));
    const int y0 = static_cast<int>(std::floor(cy - ry * 3.0));
    const int y1 = static_cast<int>(std::ceil(cy + ry * 3.0));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int tx = x;
            int ty = y;
            if (tile) {
                tx = ((tx % w) + w) % w;
                ty = ((ty % h) + h) % h;
            } else if (tx < 0 || ty < 0 || tx >= w || ty >= h) {
                continue;
            }
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            const double d2 = dx * dx + dy * dy;
            if (d2 > 9.0) continue;
            canvas.at(tx, ty) = canvas.at(tx, ty) + colour * (strength * dexp(-d2 * 1.5));
        }
    }
}

// Positions and brightness are drawn before the maxY test so the sequence,
// and with it every star, stays the same whatever part of the sky is used.
void addStars(Canvas& canvas, uint32_t seed, int count, double brightness, double squeeze, double maxY, bool tile) {
    Random rnd(seed);
    for (int i = 0; i < count; ++i) {
        const double x = rnd.uniform() * canvas.width();
        const double y = rnd.uniform() * canvas.height();
        // Few bright stars, many faint ones.
        const double m = rnd.uniform();
        const double b = brightness * (0.15 + 0.85 * m * m * m * m);
        const double tint = rnd.uniform();
        const Rgb colour = tint < 0.3 ? Rgb{0.75, 0.85, 1.0} : (tint < 0.45 ? Rgb{1.0, 0.85, 0.7} : Rgb{1.0, 1.0, 1.0});
        if (y > maxY) continue;
        const double r = 0.55 + 1.1 * m * m;
        addGlow(canvas, x, y, r * squeeze, r, colour, b, tile);
        if (m > 0.93) {
            // The brightest get a faint halo and a small cross of light.
            addGlow(canvas, x, y, 6.0 * squeeze, 6.0, colour, b * 0.12, tile);
            addGlow(canvas, x, y, 9.0 * squeeze, 0.6, colour, b * 0.35, tile);
            addGlow(canvas, x, y, 0.6 * squeeze, 9.0, colour, b * 0.35, tile);
        }
    }
}

// Darkening starts a little way out from the centre and is full in the corners.
void vignette(Canvas& canvas, double strength) {
    const int w = canvas.width();
    const int h = canvas.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double dx = (x + 0.5) / w * 2.0 - 1.0;
            const double dy = (y + 0.5) / h * 2.0 - 1.0;
            const double d = (dx * dx + dy * dy) * 0.5;
            canvas.at(x, y) = canvas.at(x, y) * (1.0 - strength * smoothstep(0.2, 1.0, d));
        }
    }
}

Rgb chromeColour(double y, double top, double bottom) {
    const double t = (y - top) / (bottom - top);
    static const Ramp ramp{{{0.00, rgb8(255, 255, 255)},
                            {0.18, rgb8(170, 215, 255)},
                            {0.47, rgb8(40, 70, 160)},
                            {0.52, rgb8(20, 10, 40)},
                            {0.56, rgb8(120, 40, 80)},
                            {0.75, rgb8(255, 150, 90)},
                            {0.92, rgb8(255, 235, 200)},
                            {1.00, rgb8(255, 255, 255)}}};
    return ramp(t);
}

// Glow first (added light), then a dark outline, then the letters, so the
// letters stay crisp over their own halo.
void paintLettering(Canvas& canvas, const Mask& letters, const std::function<Rgb(double, double)>& fill, Rgb glow,
                    double glowRadius, double glowStrength, double outline) {
    if (glowStrength > 0.0) canvas.addLight(letters.blurred(glowRadius), glow, glowStrength);
    if (outline > 0.0) canvas.paint(letters.dilated(outline), Rgb{0.02, 0.01, 0.05}, 0.85);
    canvas.paint(letters, fill);
}

}  // namespace content
