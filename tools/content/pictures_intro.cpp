// pictures_intro.cpp: the five intro backgrounds and the two waving pictures.
//
// The intro pictures are shown one after another, stretched to 800 x 600 and
// dimmed by a fader, behind a white line drawing of the main model; each has
// one bold idea in its own colours: sunburst (red-gold), mountains at dusk
// (violet-peach), crystal mosaic (emerald-gold), ocean waves (navy-cyan),
// vortex (magenta-blue). They are painted in screen coordinates.
//
// The waving pictures are sphere maps: on the resting surface the show
// samples only their middle fifth, and the ripples swing the view outward.
// So they are kaleidoscopes in log-polar form, as rich near the centre as at
// the rim, and symmetric, so they read the same in any row order.
#include <cmath>

#include "paint.h"
#include "pictures.h"

namespace content {

namespace {

constexpr int INTRO_SIZE = 512;

// Screen coordinates of a pixel of an intro picture.
ScreenPoint at(double x, double y) { return toScreen(x, y, INTRO_SIZE, INTRO_SIZE); }

// Smooth band edge: 1 inside [0, width) of a repeating unit, anti-aliased by
// the given softness.
double band(double f, double width, double soft) {
    return smoothstep(0.0, soft, f) * (1.0 - smoothstep(width - soft, width, f));
}

}  // namespace

Canvas paintIntro1() {
    // Sunburst: rays turning around a low sun, rings of heat around it.
    Canvas c(INTRO_SIZE, INTRO_SIZE);
    const double cx = 0.0;
    const double cy = 0.3;
    static const Ramp rays{{{0.0, rgb8(255, 200, 90)}, {0.35, rgb8(240, 90, 30)}, {1.0, rgb8(110, 10, 40)}}};
    static const Ramp gaps{{{0.0, rgb8(250, 140, 50)}, {0.35, rgb8(180, 40, 30)}, {1.0, rgb8(50, 5, 30)}}};
    // The sun sits low so the model, drawn in the middle, has the rays behind it.
    c.shade(
        [&](double x, double y) {
            const ScreenPoint p = at(x, y);
            const double dx = p.u - cx;
            const double dy = p.v - cy;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double a = datan2(dy, dx);
            // Rays twist slightly with distance for movement.
            const double f = wrap(a / TAU * 20.0 + r * 0.35, 1.0);
            const double t = clamp01(r / 1.8);
            const double ray = band(f, 0.5, 0.02);
            Rgb col = mix(gaps(t), rays(t), ray);
            // Heat rings.
            const double ring = 0.5 + 0.5 * dcos(r * 26.0);
            col = col * (0.85 + 0.15 * ring * (1.0 - t));
            // The sun disc: golden rather than white, so the model's white
            // lines still show where they cross it.
            const double sun = coverage((r - 0.28) * INTRO_SIZE * 0.5);
            col = mix(col, mix(rgb8(255, 215, 130), rgb8(255, 160, 60), clamp01(r / 0.28)), sun);
            return col;
        },
        2);
    addGlow(c, INTRO_SIZE * 0.5, (cy + 1.0) * 0.5 * INTRO_SIZE, 140.0 * SCREEN_SQUEEZE, 140.0, rgb8(255, 170, 80), 0.3);
    vignette(c, 0.55);
    return c;
}

Canvas paintIntro2() {
    // Mountains at dusk: five ridges fading into the haze under a large moon.
    Canvas c(INTRO_SIZE, INTRO_SIZE);
    static const Ramp sky{{{0.0, rgb8(30, 20, 80)}, {0.5, rgb8(120, 50, 130)}, {0.85, rgb8(240, 130, 120)},
                           {1.0, rgb8(255, 200, 150)}}};
    static const Ramp ridge{{{0.0, rgb8(235, 150, 150)}, {0.5, rgb8(140, 60, 120)}, {1.0, rgb8(25, 10, 45)}}};
    constexpr int layers = 5;
    c.shade(
        [&](double x, double y) {
            const ScreenPoint p = at(x, y);
            Rgb col = sky(clamp01((p.v + 1.0) / 1.35));
            // The moon, high on the left.
            const double mx = p.u + 0.6;
            const double my = p.v + 0.45;
            const double md = std::sqrt(mx * mx + my * my);
            const double crater = fbm(p.u * 5.0, p.v * 5.0, 64, 64, 4, 17u);
            const Rgb moon = mix(rgb8(255, 245, 230), rgb8(215, 180, 200), clamp01(0.5 + crater * 1.4));
            col = mix(col, moon, coverage((md - 0.25) * INTRO_SIZE * 0.5));
            // Far ridges first; each nearer one is painted over them, lower,
            // higher and darker.
            for (int l = 0; l < layers; ++l) {
                const double depth = static_cast<double>(l) / (layers - 1);  // 0 far .. 1 near
                const double base = -0.05 + 0.22 * l;
                const double amp = 0.22 + 0.12 * depth;
                const double h = base - amp * (0.5 + fbm(p.u * (0.9 + 0.5 * l) + l * 7.3, l * 3.1, 64, 64, 5,
                                                         31u + static_cast<uint32_t>(l)));
                const double inside = coverage((h - p.v) * INTRO_SIZE * 0.5);
                if (inside <= 0.0) continue;
                // Lighter toward each ridge's top, as if lit from the sky behind.
                const double shade = clamp01((p.v - h) * 3.0);
                const Rgb rock = mix(ridge(depth * 0.85), ridge(depth), shade * 0.6);
                col = mix(col, rock, inside);
                // Mist rising from the valley behind the next ridge.
                col = mix(col, rgb8(250, 170, 160), 0.18 * (1.0 - depth) * clamp01((p.v - h) * 2.0));
            }
            return col;
        },
        2);
    addGlow(c, INTRO_SIZE * 0.5 - 0.6 * INTRO_SIZE * 0.5 * SCREEN_SQUEEZE, INTRO_SIZE * 0.275, 90.0 * SCREEN_SQUEEZE,
            90.0, rgb8(255, 220, 200), 0.25);
    addStars(c, 41u, 90, 0.7, SCREEN_SQUEEZE, INTRO_SIZE * 0.35);
    return c;
}

Canvas paintIntro3() {
    // Crystal mosaic: facets of a cut stone, emerald to gold, each lit by
    // its own tilt, with thin dark seams.
    Canvas c(INTRO_SIZE, INTRO_SIZE);
    static const Ramp field{{{0.0, rgb8(10, 70, 60)}, {0.35, rgb8(20, 160, 110)}, {0.7, rgb8(170, 210, 60)},
                             {1.0, rgb8(255, 200, 60)}}};
    c.shade(
        [&](double x, double y) {
            const ScreenPoint p = at(x, y);
            // Cells are laid out in picture space so they stretch with the
            // screen like cut glass seen at an angle.
            const double gx = (p.u * SCREEN_SQUEEZE + 1.0) * 5.0;
            const double gy = (p.v + 1.0) * 5.0;
            const Cell cell = cellular(gx, gy, 64, 64, 77u, 0.9);
            const double tone = (cell.id & 0xFF) / 255.0;
            const double tilt = ((cell.id >> 8) & 0xFF) / 255.0;
            // Colour follows a diagonal sweep, varied per facet.
            const double sweep = clamp01(0.5 + 0.35 * (p.u * 0.6 - p.v) + 0.2 * (tone - 0.5));
            Rgb col = field(sweep) * (0.65 + 0.6 * tilt);
            // A bright edge inside each facet, and a dark seam between facets.
            const double edge = cell.f2 - cell.f1;
            col = col + rgb8(255, 255, 220) * (0.35 * (1.0 - smoothstep(0.02, 0.12, edge)) * tilt);
            col = col * smoothstep(0.015, 0.045, edge);
            return col;
        },
        2);
    // A soft sheen across the stone.
    addGlow(c, INTRO_SIZE * 0.62, INTRO_SIZE * 0.3, 160.0 * SCREEN_SQUEEZE, 120.0, rgb8(255, 255, 200), 0.25);
    vignette(c, 0.5);
    return c;
}

Canvas paintIntro4() {
    // Ocean: stacked breaking waves, navy to cyan, with white foam crests
    // under a pale sky.
    Canvas c(INTRO_SIZE, INTRO_SIZE);
    static const Ramp water{{{0.0, rgb8(120, 220, 240)}, {0.4, rgb8(20, 120, 190)}, {1.0, rgb8(5, 20, 70)}}};
    constexpr int rows = 7;
    c.shade(
        [&](double x, double y) {
            const ScreenPoint p = at(x, y);
            Rgb col = mix(rgb8(250, 240, 215), rgb8(150, 200, 230), clamp01((p.v + 1.0) / 0.9));
            // Sun low on the right.
            const double sx = p.u - 0.7;
            const double sy = p.v + 0.55;
            col = mix(col, rgb8(255, 120, 70), coverage((std::sqrt(sx * sx + sy * sy) - 0.16) * INTRO_SIZE * 0.5));
            // Rows of waves from the horizon down; each nearer row is larger,
            // slower and painted over the ones behind it.
            for (int w = 0; w < rows; ++w) {
                const double k = static_cast<double>(w) / (rows - 1);  // far .. near
                const double crest = -0.4 + 0.22 * w;
                const double freq = 5.0 - 3.0 * k;
                const double phase = w * 1.7;
                // A wave profile that leans forward, like a curling crest.
                const double s = p.u * freq + phase;
                const double shape = dsin(s + 0.45 * dsin(s));
                const double top = crest - (0.05 + 0.06 * k) * shape;
                const double inside = coverage((top - p.v) * INTRO_SIZE * 0.5);
                if (inside <= 0.0) continue;
                const double depthIn = clamp01((p.v - top) / (0.22 + 0.1 * k));
                Rgb sea = water(0.15 + 0.55 * depthIn + 0.3 * k);
                // Foam on the crest and thin lines of spray below it.
                const double foam = 1.0 - smoothstep(0.0, 0.025 + 0.01 * k, p.v - top);
                const double streak = band(wrap((p.v - top) * 40.0, 1.0), 0.18, 0.05) *
                                      (1.0 - smoothstep(0.0, 0.12, p.v - top)) * (0.5 + 0.5 * shape);
                sea = mix(sea, rgb8(250, 255, 255), clamp01(foam + 0.6 * streak));
                col = mix(col, sea, inside);
            }
            return col;
        },
        2);
    // Warm haze around the sun.
    addGlow(c, INTRO_SIZE * (0.5 + 0.35 * SCREEN_SQUEEZE), INTRO_SIZE * 0.225, 110.0 * SCREEN_SQUEEZE, 80.0,
            rgb8(255, 150, 90), 0.35);
    vignette(c, 0.4);
    return c;
}

Canvas paintIntro5() {
    // Vortex: spiral arms of light winding into a white core.
    Canvas c(INTRO_SIZE, INTRO_SIZE);
    static const Ramp arms{{{0.0, rgb8(255, 190, 250)}, {0.12, rgb8(255, 120, 230)}, {0.45, rgb8(150, 40, 220)},
                            {0.8, rgb8(30, 30, 140)}, {1.0, rgb8(5, 5, 30)}}};
    c.shade(
        [&](double x, double y) {
            const ScreenPoint p = at(x, y);
            const double r = std::sqrt(p.u * p.u + p.v * p.v) + 1e-6;
            const double a = datan2(p.v, p.u);
            const double t = clamp01(r / 1.6);
            // Five logarithmic arms (angle plus log of the radius is constant
            // along an arm); brightness falls between them.
            const double f = wrap(a / TAU * 5.0 + dlog(r) * 1.1, 1.0);
            const double arm = 0.5 + 0.5 * dcos(f * TAU);
            const double sharp = arm * arm * arm;
            const double grain = 0.15 * fbm(a * 3.0 + 10.0, dlog(r) * 4.0, 64, 64, 4, 53u);
            Rgb col = arms(t) * (0.25 + 0.95 * sharp + grain);
            // A pink core, not a white one: the model's white lines pass over it.
            col = col + rgb8(230, 110, 230) * (0.6 * dexp(-r * r * 40.0));
            return col;
        },
        2);
    addStars(c, 59u, 160, 0.8, SCREEN_SQUEEZE);
    vignette(c, 0.35);
    return c;
}

namespace {

// Log-polar kaleidoscope: rings of petals shrinking toward the centre.
// palette maps ring number and petal position to a colour.
// Rings grow by a factor 1.55 outward, so the picture looks alike at every
// magnification the wave shows it at.
Canvas kaleidoscope(int size, const Ramp& palette, uint32_t seed, int petals) {
    Canvas c(size, size);
    const double ringStep = dlog(1.55);
    c.shade(
        [&](double x, double y) {
            const double u = x / size * 2.0 - 1.0;
            const double v = y / size * 2.0 - 1.0;
            const double r = std::sqrt(u * u + v * v) + 1e-9;
            const double a = datan2(v, u);
            const double lr = dlog(r) / ringStep;
            const double ring = std::floor(lr);
            const double t = lr - ring;  // 0 inner edge .. 1 outer edge of the ring
            const int n = static_cast<int>(ring);
            // Alternate rings are turned by half a petal.
            const double turn = (n & 1) ? 0.5 : 0.0;
            const double f = wrap(a / TAU * petals + turn, 1.0);
            const double across = std::fabs(f - 0.5) * 2.0;  // 0 petal middle .. 1 between petals
            const double shape = dpow(dsin(PI * t) + 1e-9, 0.6);
            const double petal = smoothstep(0.04, -0.04, across - shape * 0.95);
            const uint32_t h = hash3(n, 0, seed);
            const double hue = wrap((h & 0xFF) / 255.0 * 0.35 + n * 0.23, 1.0);
            const Rgb bg = palette(wrap(hue + 0.5, 1.0)) * 0.25;
            Rgb fg = palette(hue) * (0.6 + 0.5 * (1.0 - across)) * (0.7 + 0.3 * t);
            // A fine vein down the middle of each petal.
            fg = mix(fg, rgb8(255, 255, 255), 0.5 * (1.0 - smoothstep(0.0, 0.06, across)) * t);
            Rgb col = mix(bg, fg, petal);
            // Thin bright rings between the rings of petals.
            col = col + rgb8(255, 240, 200) * (0.5 * (1.0 - smoothstep(0.0, 0.05, std::fmin(t, 1.0 - t))));
            return col;
        },
        2);
    return c;
}

}  // namespace

// Warm and cool petals with a white spark in the middle, where the resting
// surface looks.
Canvas paintIntroWave() {
    static const Ramp palette{{{0.0, rgb8(255, 80, 120)}, {0.25, rgb8(255, 190, 60)}, {0.5, rgb8(60, 220, 200)},
                               {0.75, rgb8(90, 100, 255)}, {1.0, rgb8(255, 80, 120)}}};
    Canvas c = kaleidoscope(512, palette, 3u, 12);
    addGlow(c, 256.0, 256.0, 12.0, 12.0, rgb8(255, 255, 255), 1.2);
    return c;
}

// Never drawn by the show (its wave is set up only); made as carefully as
// the rest all the same.
Canvas paintEndWave() {
    static const Ramp palette{{{0.0, rgb8(255, 200, 90)}, {0.33, rgb8(220, 60, 120)}, {0.66, rgb8(80, 40, 200)},
                               {1.0, rgb8(255, 200, 90)}}};
    Canvas c = kaleidoscope(512, palette, 9u, 8);
    Mask letters(512, 512);
    TextStyle style;
    style.font = Font::SerifBoldItalic;
    style.pixelHeight = 30.0;
    drawText(letters, "The End", style, 256.0, 266.0);
    c.paint(letters.dilated(3.0).blurred(3.0), Rgb{0.02, 0.0, 0.05}, 0.9);
    c.paint(letters, rgb8(255, 240, 200));
    return c;
}

}  // namespace content
