// fmath.h: deterministic arithmetic for the content generator.
//
// Every picture and model must come out byte-identical on every machine, so
// the generator does not call the C library's transcendental functions (whose
// last bits differ between library versions). These are plain IEEE double
// implementations; sqrt and floor come from <cmath> because IEEE fixes them.
// Also here: the fixed-seed random generator and tileable noise.
#pragma once

#include <cmath>
#include <cstdint>

namespace content {

inline constexpr double PI = 3.14159265358979323846;
inline constexpr double TAU = 2.0 * PI;

double dsin(double x);
double dcos(double x);
double dexp(double x);
double dlog(double x);            // natural logarithm, x > 0
double datan2(double y, double x);
double dpow(double base, double e);  // base > 0

inline double clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }
inline double lerp(double a, double b, double t) { return a + (b - a) * t; }
// Hermite step between edges a and b.
inline double smoothstep(double a, double b, double x) {
    const double t = clamp01((x - a) / (b - a));
    return t * t * (3.0 - 2.0 * t);
}
// Positive remainder, for wrapping coordinates of tiling pictures.
inline double wrap(double x, double period) { return x - period * std::floor(x / period); }

// Small fixed-seed generator (splitmix64): the same seed gives the same
// sequence everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next();
    double uniform();                        // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state_;
};

// Hash of integer lattice coordinates and a seed, spread over 32 bits.
uint32_t hash3(int x, int y, uint32_t seed);

// Gradient noise in about [-1, 1] that repeats every periodX by periodY
// lattice cells (coordinates are in cells).
double noise(double x, double y, int periodX, int periodY, uint32_t seed);

// Sum of octaves of noise; the picture repeats every periodX by periodY cells
// of the first octave.
double fbm(double x, double y, int periodX, int periodY, int octaves, uint32_t seed, double gain = 0.5);

// Cellular (Worley) distances on a jittered grid that repeats every period
// cells: nearest and second-nearest feature distance and the nearest cell id.
struct Cell {
    double f1 = 0.0;
    double f2 = 0.0;
    uint32_t id = 0;
    double cx = 0.0, cy = 0.0;  // nearest feature point
};
Cell cellular(double x, double y, int periodX, int periodY, uint32_t seed, double jitter = 0.8);

}  // namespace content
