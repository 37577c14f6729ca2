// canvas.h: pictures in memory while the generator paints them.
//
// A Canvas holds linear-ish RGB in doubles (0..1, may exceed 1 while
// painting); a Mask holds one coverage channel (lettering, glows, shapes).
// Pixel (0, 0) is the top-left corner, rows run downward, as the picture is
// meant to be seen; the file writers turn rows as each format needs.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace content {

struct Rgb {
    double r = 0.0, g = 0.0, b = 0.0;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb mix(Rgb a, Rgb b, double t) { return a + (b - a) * t; }
// Colour from 0..255 components, for palettes written as designers do.
inline Rgb rgb8(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// A colour ramp: stops at increasing positions, linear between them.
struct Ramp {
    struct Stop {
        double at;
        Rgb colour;
    };
    std::vector<Stop> stops;
    Rgb operator()(double t) const;
};

class Mask {
public:
    Mask(int width, int height) : width_(width), height_(height), v_(static_cast<size_t>(width) * height, 0.0) {}
    int width() const { return width_; }
    int height() const { return height_; }
    double& at(int x, int y) { return v_[static_cast<size_t>(y) * width_ + x]; }
    double at(int x, int y) const { return v_[static_cast<size_t>(y) * width_ + x]; }
    // Value with coordinates clamped (or wrapped) at the border.
    double sample(int x, int y, bool tile = false) const;
    // Approximate Gaussian blur of the given radius (three box passes).
    Mask blurred(double radius, bool tile = false) const;
    // Coverage grown by radius pixels (a soft outline around lettering).
    Mask dilated(double radius) const;
    void maxWith(const Mask& other, int dx = 0, int dy = 0);

private:
    int width_;
    int height_;
    std::vector<double> v_;
};

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), px_(static_cast<size_t>(width) * height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb& at(int x, int y) { return px_[static_cast<size_t>(y) * width_ + x]; }
    const Rgb& at(int x, int y) const { return px_[static_cast<size_t>(y) * width_ + x]; }

    // Paint every pixel with fn(x, y), x and y at pixel centres in pixels;
    // samples > 1 averages a samples x samples grid inside each pixel.
    void shade(const std::function<Rgb(double x, double y)>& fn, int samples = 1);
    // Blend colour over the picture through the mask scaled by opacity.
    void paint(const Mask& mask, Rgb colour, double opacity = 1.0, int dx = 0, int dy = 0);
    // Same, colour taken per pixel.
    void paint(const Mask& mask, const std::function<Rgb(double x, double y)>& colour, double opacity = 1.0);
    // Add colour as light through the mask.
    void addLight(const Mask& mask, Rgb colour, double strength = 1.0, int dx = 0, int dy = 0);
    // Bilinear sample with coordinates in pixels (clamped at the border).
    Rgb sample(double x, double y) const;
    // Box-filtered copy at another size (for previews).
    Canvas resized(int width, int height) const;
    // 8-bit RGB, top row first; values are clamped and rounded with a tiny
    // fixed dither so smooth gradients do not band.
    std::vector<uint8_t> toBytes(uint32_t ditherSeed) const;

private:
    int width_;
    int height_;
    std::vector<Rgb> px_;
};

// Coverage of a soft-edged shape from its signed distance in pixels
// (negative inside), anti-aliased over about one pixel.
inline double coverage(double signedDistance) {
    const double c = 0.5 - signedDistance;
    return c < 0.0 ? 0.0 : (c > 1.0 ? 1.0 : c);
}

// Distance from point p to the segment a-b.
double segmentDistance(double px, double py, double ax, double ay, double bx, double by);

// Draw an anti-aliased line of the given width into a mask (max blend).
void strokeLine(Mask& mask, double ax, double ay, double bx, double by, double width);
// Fill an anti-aliased disc (or ellipse with rx, ry) into a mask (max blend).
void fillEllipse(Mask& mask, double cx, double cy, double rx, double ry);

}  // namespace content
