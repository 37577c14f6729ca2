// fmath.cpp: deterministic transcendental functions, random numbers and noise.
// Needs only <cmath> for sqrt, floor, frexp and ldexp, which are exact.
#include "fmath.h"

namespace content {

namespace {

// Split pi/2 so that x - k * pi/2 loses no bits for the arguments used here.
constexpr double PIO2_HI = 1.57079632673412561417e+00;
constexpr double PIO2_LO = 6.07710050650619224932e-11;
constexpr double LN2_HI = 6.93147180369123816490e-01;
constexpr double LN2_LO = 1.90821492927058770002e-10;

// sin on [-pi/4, pi/4]: odd polynomial (minimax coefficients).
double kernelSin(double x) {
    const double z = x * x;
    const double r = 8.33333333332248946124e-03 +
                     z * (-1.98412698298579493134e-04 +
                          z * (2.75573137070700676789e-06 +
                               z * (-2.50507602534068634195e-08 + z * 1.58969099521155010221e-10)));
    return x + x * z * (-1.66666666666666324348e-01 + z * r);
}

// cos on [-pi/4, pi/4]: even polynomial.
double kernelCos(double x) {
    const double z = x * x;
    const double r = 4.16666666666666019037e-02 +
                     z * (-1.38888888888741095749e-03 +
                          z * (2.48015872894767294178e-05 +
                               z * (-2.75573143513906633035e-07 +
                                    z * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11))));
    return 1.0 - 0.5 * z + z * z * r;
}

// Reduce x to r in [-pi/4, pi/4] and the quadrant k (mod 4).
double reduce(double x, int& quadrant) {
    const double k = std::floor(x / (PI / 2.0) + 0.5);
    quadrant = static_cast<int>(static_cast<int64_t>(k) & 3);
    return (x - k * PIO2_HI) - k * PIO2_LO;
}

// atan on [0, 1] by argument halving and a short odd series.
double atanUnit(double x) {
    const double h = x / (1.0 + std::sqrt(1.0 + x * x));  // atan(x) = 2 atan(h), h <= 0.4143
    const double g = h / (1.0 + std::sqrt(1.0 + h * h));  // and again: g <= 0.199
    const double z = g * g;
    double sum = 0.0;
    for (int n = 23; n >= 1; n -= 2) sum = 1.0 / n - z * sum;
    return 4.0 * g * sum;
}

}  // namespace

// Quadrant k of the reduced argument picks sin or cos and the sign.
double dsin(double x) {
    int q = 0;
    const double r = reduce(x, q);
    switch (q) {
        case 0: return kernelSin(r);
        case 1: return kernelCos(r);
        case 2: return -kernelSin(r);
        default: return -kernelCos(r);
    }
}

double dcos(double x) {
    int q = 0;
    const double r = reduce(x, q);
    switch (q) {
        case 0: return kernelCos(r);
        case 1: return -kernelSin(r);
        case 2: return -kernelCos(r);
        default: return kernelSin(r);
    }
}

// exp(x) = 2^k * exp(r) with r in [-ln2/2, ln2/2]: a short Taylor series
// suffices there, and ldexp scales exactly.
double dexp(double x) {
    if (x < -700.0) return 0.0;
    if (x > 700.0) x = 700.0;
    const double k = std::floor(x / (LN2_HI + LN2_LO) + 0.5);
    const double r = (x - k * LN2_HI) - k * LN2_LO;  // |r| <= 0.347
    double sum = 1.0;
    for (int n = 14; n >= 1; --n) sum = 1.0 + sum * r / n;
    return std::ldexp(sum, static_cast<int>(k));
}

// log(x) = e * ln2 + log(m), m in [0.707, 1.414), by the atanh series.
double dlog(double x) {
    if (x <= 0.0) return -745.0;
    int e = 0;
    double m = std::frexp(x, &e);  // x = m * 2^e, m in [0.5, 1)
    if (m < 0.70710678118654752440) {
        m *= 2.0;
        --e;
    }
    const double s = (m - 1.0) / (m + 1.0);  // log(m) = 2 atanh(s), |s| <= 0.172
    const double z = s * s;
    double sum = 0.0;
    for (int n = 25; n >= 1; n -= 2) sum = 1.0 / n + z * sum;
    return e * LN2_HI + (e * LN2_LO + 2.0 * s * sum);
}

// Angle of (x, y) in (-pi, pi]; folds the octants onto atan of [0, 1].
double datan2(double y, double x) {
    if (x == 0.0 && y == 0.0) return 0.0;
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    double a = ay <= ax ? atanUnit(ay / ax) : PI / 2.0 - atanUnit(ax / ay);
    if (x < 0.0) a = PI - a;
    return y < 0.0 ? -a : a;
}

double dpow(double base, double e) { return dexp(e * dlog(base)); }

// splitmix64: a 64-bit counter run through a strong mixing function.
uint64_t Random::next() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// The top 53 bits as a fraction, so every double in [0, 1) is exact.
double Random::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

// Integer avalanche hash: neighbouring lattice points get unrelated values.
uint32_t hash3(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

namespace {

// Twelve gradient directions, evenly spread, as exact constants.
constexpr double GRAD[12][2] = {
    {1.0, 0.0}, {0.8660254037844386, 0.5}, {0.5, 0.8660254037844386}, {0.0, 1.0},
    {-0.5, 0.8660254037844386}, {-0.8660254037844386, 0.5}, {-1.0, 0.0}, {-0.8660254037844386, -0.5},
    {-0.5, -0.8660254037844386}, {0.0, -1.0}, {0.5, -0.8660254037844386}, {0.8660254037844386, -0.5}};

// Lattice index wrapped into [0, period): this is what makes noise tile.
int wrapIndex(int i, int period) {
    const int m = i % period;
    return m < 0 ? m + period : m;
}

// Quintic fade: continuous slope and curvature across lattice cells.
double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

// Gradient of a lattice corner dotted with the offset to the point.
double cornerDot(int ix, int iy, double fx, double fy, int px, int py, uint32_t seed) {
    const uint32_t h = hash3(wrapIndex(ix, px), wrapIndex(iy, py), seed) % 12u;
    return GRAD[h][0] * fx + GRAD[h][1] * fy;
}

}  // namespace

double noise(double x, double y, int periodX, int periodY, uint32_t seed) {
    const double x0 = std::floor(x);
    const double y0 = std::floor(y);
    const int ix = static_cast<int>(x0);
    const int iy = static_cast<int>(y0);
    const double fx = x - x0;
    const double fy = y - y0;
    const double u = fade(fx);
    const double v = fade(fy);
    const double a = cornerDot(ix, iy, fx, fy, periodX, periodY, seed);
    const double b = cornerDot(ix + 1, iy, fx - 1.0, fy, periodX, periodY, seed);
    const double c = cornerDot(ix, iy + 1, fx, fy - 1.0, periodX, periodY, seed);
    const double d = cornerDot(ix + 1, iy + 1, fx - 1.0, fy - 1.0, periodX, periodY, seed);
    // Scaled so the result spans about [-1, 1].
    return 1.4 * lerp(lerp(a, b, u), lerp(c, d, u), v);
}

double fbm(double x, double y, int periodX, int periodY, int octaves, uint32_t seed, double gain) {
    double sum = 0.0;
    double amp = 1.0;
    double norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise(x, y, periodX, periodY, seed + 101u * static_cast<uint32_t>(o));
        norm += amp;
        amp *= gain;
        x *= 2.0;
        y *= 2.0;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

Cell cellular(double x, double y, int periodX, int periodY, uint32_t seed, double jitter) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    Cell best;
    best.f1 = 1e9;
    best.f2 = 1e9;
    // Jittered points can sit up to a cell away, so search two cells round.
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const int cx = ix + dx;
            const int cy = iy + dy;
            const uint32_t h = hash3(wrapIndex(cx, periodX), wrapIndex(cy, periodY), seed);
            const double jx = 0.5 + jitter * ((h & 0xFFFFu) / 65535.0 - 0.5);
            const double jy = 0.5 + jitter * ((h >> 16) / 65535.0 - 0.5);
            const double px = cx + jx;
            const double py = cy + jy;
            const double d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < best.f1) {
                best.f2 = best.f1;
                best.f1 = d;
                best.id = hash3(wrapIndex(cx, periodX), wrapIndex(cy, periodY), seed ^ 0x5bd1e995u);
                best.cx = px;
                best.cy = py;
            } else if (d < best.f2) {
                best.f2 = d;
            }
        }
    }
    return best;
}

}  // namespace content
