// canvas.cpp: painting, blurring and compositing of in-memory pictures.
#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "fmath.h"

namespace content {

// Linear between the two stops around t; flat beyond the ends.
Rgb Ramp::operator()(double t) const {
    if (stops.empty()) return {};
    if (t <= stops.front().at) return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const double span = stops[i].at - stops[i - 1].at;
            return mix(stops[i - 1].colour, stops[i].colour, span > 0.0 ? (t - stops[i - 1].at) / span : 1.0);
        }
    }
    return stops.back().colour;
}

double Mask::sample(int x, int y, bool tile) const {
    if (tile) {
        x = ((x % width_) + width_) % width_;
        y = ((y % height_) + height_) % height_;
    } else {
        x = std::clamp(x, 0, width_ - 1);
        y = std::clamp(y, 0, height_ - 1);
    }
    return at(x, y);
}

namespace {

// One box pass (running sum, so the cost does not grow with the radius) of the given half width along rows (horizontal) or columns.
std::vector<double> boxPass(const std::vector<double>& src, int w, int h, int half, bool horizontal, bool tile) {
    std::vector<double> out(src.size(), 0.0);
    const int lines = horizontal ? h : w;
    const int len = horizontal ? w : h;
    const double scale = 1.0 / (2 * half + 1);
    for (int line = 0; line < lines; ++line) {
        auto get = [&](int i) {
            if (tile) i = ((i % len) + len) % len;
            else i = std::clamp(i, 0, len - 1);
            return horizontal ? src[static_cast<size_t>(line) * w + i] : src[static_cast<size_t>(i) * w + line];
        };
        double sum = 0.0;
        for (int i = -half; i <= half; ++i) sum += get(i);
        for (int i = 0; i < len; ++i) {
            const size_t idx = horizontal ? static_cast<size_t>(line) * w + i : static_cast<size_t>(i) * w + line;
            out[idx] = sum * scale;
            sum += get(i + half + 1) - get(i - half);
        }
    }
    return out;
}

}  // namespace

Mask Mask::blurred(double radius, bool tile) const {
    Mask out = *this;
    // Three box passes of this half width approximate a Gaussian of sigma radius.
    const int half = std::max(1, static_cast<int>(std::floor(radius * 0.8 + 0.5)));
    for (int pass = 0; pass < 3; ++pass) {
        out.v_ = boxPass(out.v_, width_, height_, half, true, tile);
        out.v_ = boxPass(out.v_, width_, height_, half, false, tile);
    }
    return out;
}

// Maximum over a disc with a soft rim, so outlines stay anti-aliased.
Mask Mask::dilated(double radius) const {
    Mask out(width_, height_);
    const int r = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            double best = 0.0;
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
                    const double w = clamp01(radius + 0.5 - d);
                    if (w <= 0.0) continue;
                    best = std::max(best, w * sample(x + dx, y + dy));
                }
            }
            out.at(x, y) = best;
        }
    }
    return out;
}

void Mask::maxWith(const Mask& other, int dx, int dy) {
    for (int y = 0; y < other.height(); ++y) {
        for (int x = 0; x < other.width(); ++x) {
            const int tx = x + dx;
            const int ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            at(tx, ty) = std::max(at(tx, ty), other.at(x, y));
        }
    }
}

// Supersampling here is how shapes painted by formula get smooth edges.
void Canvas::shade(const std::function<Rgb(double x, double y)>& fn, int samples) {
    const double step = 1.0 / samples;
    const double weight = 1.0 / (samples * samples);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (samples == 1) {
                at(x, y) = fn(x + 0.5, y + 0.5);
                continue;
            }
            Rgb sum;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) sum = sum + fn(x + (sx + 0.5) * step, y + (sy + 0.5) * step);
            at(x, y) = sum * weight;
        }
    }
}

// Mask pixels outside the canvas (after the offset) are skipped.
void Canvas::paint(const Mask& mask, Rgb colour, double opacity, int dx, int dy) {
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const int tx = x + dx;
            const int ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            const double a = mask.at(x, y) * opacity;
            if (a > 0.0) at(tx, ty) = mix(at(tx, ty), colour, a);
        }
    }
}

void Canvas::paint(const Mask& mask, const std::function<Rgb(double x, double y)>& colour, double opacity) {
    for (int y = 0; y < std::min(height_, mask.height()); ++y) {
        for (int x = 0; x < std::min(width_, mask.width()); ++x) {
            const double a = mask.at(x, y) * opacity;
            if (a > 0.0) at(x, y) = mix(at(x, y), colour(x + 0.5, y + 0.5), a);
        }
    }
}

void Canvas::addLight(const Mask& mask, Rgb colour, double strength, int dx, int dy) {
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const int tx = x + dx;
            const int ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            const double a = mask.at(x, y) * strength;
            if (a > 0.0) at(tx, ty) = at(tx, ty) + colour * a;
        }
    }
}

Rgb Canvas::sample(double x, double y) const {
    x -= 0.5;
    y -= 0.5;
    const double fx0 = std::floor(x);
    const double fy0 = std::floor(y);
    const double fx = x - fx0;
    const double fy = y - fy0;
    const int x0 = std::clamp(static_cast<int>(fx0), 0, width_ - 1);
    const int y0 = std::clamp(static_cast<int>(fy0), 0, height_ - 1);
    const int x1 = std::clamp(static_cast<int>(fx0) + 1, 0, width_ - 1);
    const int y1 = std::clamp(static_cast<int>(fy0) + 1, 0, height_ - 1);
    return mix(mix(at(x0, y0), at(x1, y0), fx), mix(at(x0, y1), at(x1, y1), fx), fy);
}

Canvas Canvas::resized(int width, int height) const {
    Canvas out(width, height);
    const double sx = static_cast<double>(width_) / width;
    const double sy = static_cast<double>(height_) / height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Average the source pixels whose centres fall in this pixel's
            // footprint; upscaling falls back to a bilinear sample.
            const int x0 = static_cast<int>(std::floor(x * sx));
            const int x1 = std::max(x0 + 1, static_cast<int>(std::floor((x + 1) * sx)));
            const int y0 = static_cast<int>(std::floor(y * sy));
            const int y1 = std::max(y0 + 1, static_cast<int>(std::floor((y + 1) * sy)));
            if (sx < 1.0 || sy < 1.0) {
                out.at(x, y) = sample((x + 0.5) * sx, (y + 0.5) * sy);
                continue;
            }
            Rgb sum;
            int n = 0;
            for (int yy = y0; yy < std::min(y1, height_); ++yy)
                for (int xx = x0; xx < std::min(x1, width_); ++xx, ++n) sum = sum + at(xx, yy);
            out.at(x, y) = n > 0 ? sum * (1.0 / n) : Rgb{};
        }
    }
    return out;
}

// The dither is a hash of the pixel position and seed, not a running
// generator, so every run and every machine rounds the same way.
std::vector<uint8_t> Canvas::toBytes(uint32_t ditherSeed) const {
    std::vector<uint8_t> out(static_cast<size_t>(width_) * height_ * 3);
    size_t i = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Rgb& c = at(x, y);
            const double comps[3] = {c.r, c.g, c.b};
            for (int k = 0; k < 3; ++k) {
                const double d = (hash3(x * 3 + k, y, ditherSeed) & 0xFFFFu) / 65536.0 - 0.5;
                const double v = std::floor(clamp01(comps[k]) * 255.0 + 0.5 + d * 0.9);
                out[i++] = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
            }
        }
    }
    return out;
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double vx = bx - ax;
    const double vy = by - ay;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0.0 ? ((px - ax) * vx + (py - ay) * vy) / len2 : 0.0;
    t = clamp01(t);
    const double dx = px - (ax + t * vx);
    const double dy = py - (ay + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

// Only the line's bounding box (plus the soft edge) is visited.
void strokeLine(Mask& mask, double ax, double ay, double bx, double by, double width) {
    const double pad = width * 0.5 + 2.0;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min(ax, bx) - pad)));
    const int x1 = std::min(mask.width() - 1, static_cast<int>(std::ceil(std::max(ax, bx) + pad)));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min(ay, by) - pad)));
    const int y1 = std::min(mask.height() - 1, static_cast<int>(std::ceil(std::max(ay, by) + pad)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double d = segmentDistance(x + 0.5, y + 0.5, ax, ay, bx, by) - width * 0.5;
            mask.at(x, y) = std::max(mask.at(x, y), coverage(d));
        }
    }
}

// The distance is measured in the ellipse's unit circle and scaled by the
// smaller radius: exact for circles, close enough for the flat ones used.
void fillEllipse(Mask& mask, double cx, double cy, double rx, double ry) {
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - rx - 2.0)));
    const int x1 = std::min(mask.width() - 1, static_cast<int>(std::ceil(cx + rx + 2.0)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - ry - 2.0)));
    const int y1 = std::min(mask.height() - 1, static_cast<int>(std::ceil(cy + ry + 2.0)));
    const double rmin = std::min(rx, ry);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double nx = (x + 0.5 - cx) / rx;
            const double ny = (y + 0.5 - cy) / ry;
            const double d = (std::sqrt(nx * nx + ny * ny) - 1.0) * rmin;
            mask.at(x, y) = std::max(mask.at(x, y), coverage(d));
        }
    }
}

}  // namespace content
