// EchoRegion.cpp: the lit texels of the echo capture and the screen
// rectangles of its layers.
#include "model/EchoRegion.h"

#include <algorithm>
#include <cmath>

namespace {

// Margin, in texels and in pixels, for line rasterisation and rounding, at
// a 512-texel square and an 800-pixel-wide screen; lines and squares grow
// with the render scale, and so does the margin.
constexpr int MARGIN = 2;

int texelMargin(int size)
{
    return std::max(MARGIN, MARGIN * size / 512);
}

int pixelMargin(int width)
{
    return std::max(MARGIN, MARGIN * width / 800);
}

// The coordinate range [lo, hi] along one axis of `length` pixels where the
// texture coordinate t(c) = inset + (c / length)(1 - 2 inset), scaled by
// `size`, falls into [a, b] + size * k for some whole k. False when no
// pixel of the axis does.
bool axisRange(double a, double b, int size, float inset, int length, double& lo, double& hi)
{
    const double s = inset;
    const double slope = 1.0 - 2.0 * s;  // texture units per screen length
    if (std::abs(slope) < 1e-3) {
        // The layer shows (nearly) one texel across the screen: keep it all.
        lo = 0.0;
        hi = length;
        return true;
    }
    const double t0 = s * size;
    const double t1 = (s + slope) * size;
    const double tMin = std::min(t0, t1), tMax = std::max(t0, t1);
    // Copies of [a, b] that meet [tMin, tMax]; the span is at most a few
    // texture widths, so the loop is short.
    const long first = static_cast<long>(std::floor((tMin - b) / size));
    const long last = static_cast<long>(std::ceil((tMax - a) / size));
    bool any = false;
    lo = length;
    hi = 0.0;
    for (long k = first; k <= last && k - first < 64; ++k) {
        const double from = std::max(a + static_cast<double>(size) * k, tMin);
        const double to = std::min(b + static_cast<double>(size) * k, tMax);
        if (from > to) continue;
        // Back from texture units to screen pixels.
        const double c0 = (from / size - s) / slope * length;
        const double c1 = (to / size - s) / slope * length;
        lo = std::min(lo, std::min(c0, c1));
        hi = std::max(hi, std::max(c0, c1));
        any = true;
    }
    if (last - first >= 64) {
        lo = 0.0;
        hi = length;
        return true;
    }
    return any;
}

}  // namespace

TexelBox projectedTexels(const float* positions, int count, const float* modelview, const float* projection,
                         int size)
{
    TexelBox box;
    if (count <= 0) {
        box.valid = true;
        box.empty = true;
        return box;
    }
    // Modelview then projection, both column-major.
    float mvp[16];
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += projection[k * 4 + row] * modelview[col * 4 + k];
            mvp[col * 4 + row] = sum;
        }
    }
    double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
    for (int i = 0; i < count; ++i) {
        const float x = positions[i * 3], y = positions[i * 3 + 1], z = positions[i * 3 + 2];
        const double cx = mvp[0] * x + mvp[4] * y + mvp[8] * z + mvp[12];
        const double cy = mvp[1] * x + mvp[5] * y + mvp[9] * z + mvp[13];
        const double cw = mvp[3] * x + mvp[7] * y + mvp[11] * z + mvp[15];
        if (!(cw > 1e-6)) return box;  // on or behind the eye plane
        const double px = (cx / cw + 1.0) * 0.5 * size;
        const double py = (cy / cw + 1.0) * 0.5 * size;
        if (!std::isfinite(px) || !std::isfinite(py)) return box;
        minX = std::min(minX, px);
        maxX = std::max(maxX, px);
        minY = std::min(minY, py);
        maxY = std::max(maxY, py);
    }
    box.valid = true;
    // Lines cover the pixels their segments cross, plus a margin; nothing
    // outside the viewport is drawn.
    const int margin = texelMargin(size);
    const double x0 = std::floor(minX) - margin, x1 = std::ceil(maxX) + margin;
    const double y0 = std::floor(minY) - margin, y1 = std::ceil(maxY) + margin;
    if (x1 < 0 || y1 < 0 || x0 > size - 1 || y0 > size - 1) {
        box.empty = true;
        return box;
    }
    box.x0 = static_cast<int>(std::max(x0, 0.0));
    box.y0 = static_cast<int>(std::max(y0, 0.0));
    box.x1 = static_cast<int>(std::min(x1, static_cast<double>(size - 1)));
    box.y1 = static_cast<int>(std::min(y1, static_cast<double>(size - 1)));
    return box;
}

PixelBox layerPixels(const TexelBox& box, int size, float inset, int width, int height)
{
    if (box.empty) return {};
    // A linear sample at texture position p (in texels) reads the texels
    // floor(p - 0.5) and the one after it, so texels x0..x1 are read for p
    // in [x0 - 0.5, x1 + 1.5); one more texel each side for rounding.
    const double ax = box.x0 - 1.5, bx = box.x1 + 2.5;
    const double ay = box.y0 - 1.5, by = box.y1 + 2.5;
    double xLo, xHi, yLo, yHi;
    if (!axisRange(ax, bx, size, inset, width, xLo, xHi)) return {};
    if (!axisRange(ay, by, size, inset, height, yLo, yHi)) return {};
    const int margin = pixelMargin(width);
    const int x0 = std::clamp(static_cast<int>(std::floor(xLo)) - margin, 0, width);
    const int x1 = std::clamp(static_cast<int>(std::ceil(xHi)) + margin, 0, width);
    const int y0 = std::clamp(static_cast<int>(std::floor(yLo)) - margin, 0, height);
    const int y1 = std::clamp(static_cast<int>(std::ceil(yHi)) + margin, 0, height);
    return {x0, y0, x1 - x0, y1 - y0};
}

PixelBox intersect(const PixelBox& a, const PixelBox& b)
{
    const int x0 = std::max(a.x, b.x);
    const int y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.width, b.x + b.width);
    const int y1 = std::min(a.y + a.height, b.y + b.height);
    if (x1 <= x0 || y1 <= y0) return {x0, y0, 0, 0};
    return {x0, y0, x1 - x0, y1 - y0};
}
