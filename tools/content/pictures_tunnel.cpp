// pictures_tunnel.cpp: the corridor and tube textures, the tunnels' overlay
// and the metaballs' chrome sphere map.
//
// The tube textures repeat around and along the tubes, so everything in them
// is periodic over the picture (noise and cells with whole periods). The
// show stretches them about four times more along the tube (picture rows)
// than around it (columns), so their features are drawn four times shorter
// vertically to come out roughly round in the show.
#include <cmath>

#include "paint.h"
#include "pictures.h"

namespace content {

namespace {

constexpr int TUBE_SIZE = 512;
constexpr double TUBE_STRETCH = 4.0;  // how much more the tube stretches rows than columns

}  // namespace

// gegga1.bmp serves two parts: the flat corridor behind the metaballs and the
// outer tube of the tunnels part, both fogged, so it is bright and bold.
Canvas paintCorridor() {
    // Organic hive: rounded amber cells with glowing seams, lit from above.
    Canvas c(TUBE_SIZE, TUBE_SIZE);
    constexpr int cellsX = 6;
    constexpr int cellsY = static_cast<int>(cellsX * TUBE_STRETCH);
    // Height of the surface at a pixel: domes over the cells.
    auto height = [&](double x, double y, Cell& cell) {
        cell = cellular(x / TUBE_SIZE * cellsX, y / TUBE_SIZE * cellsY, cellsX, cellsY, 101u, 0.85);
        const double edge = cell.f2 - cell.f1;
        return smoothstep(0.0, 0.35, edge);  // domes that fall to zero at the seams
    };
    static const Ramp amber{{{0.0, rgb8(90, 30, 10)}, {0.5, rgb8(200, 110, 40)}, {1.0, rgb8(255, 210, 120)}}};
    c.shade(
        [&](double x, double y) {
            Cell cell;
            const double h = height(x, y, cell);
            Cell dummy;
            // Slopes in picture space; the y step is shorter since rows are stretched.
            const double hx = height(x + 1.0, y, dummy) - height(x - 1.0, y, dummy);
            const double hy = height(x, y + 1.0, dummy) - height(x, y - 1.0, dummy);
            const double light = clamp01(0.6 - 2.2 * hx - 0.7 * hy);
            const double grain = fbm(x / TUBE_SIZE * 8.0, y / TUBE_SIZE * 32.0, 8, 32, 4, 103u);
            const double tone = (cell.id & 0xFF) / 255.0;
            Rgb col = amber(clamp01(0.25 + 0.5 * light + 0.25 * tone + 0.2 * grain)) * (0.35 + 0.75 * h);
            // Seams glow hot orange; a small bright speck near each cell's top.
            const double seam = 1.0 - smoothstep(0.0, 0.08, cell.f2 - cell.f1);
            col = col + rgb8(255, 90, 20) * (0.9 * seam);
            const double dx = x / TUBE_SIZE * cellsX - (cell.cx - 0.15);
            const double dy = (y / TUBE_SIZE * cellsY - (cell.cy - 0.15));
            col = col + rgb8(255, 240, 200) * (0.35 * dexp(-(dx * dx + dy * dy) * 30.0) * h);
            return col;
        },
        2);
    return c;
}

// tunnel2.jpg is added over the outer tube at alpha 0.9: black adds
// nothing, so the picture is mostly dark and only its structure shows.
Canvas paintInnerTube() {
    // Electric veins and rushing rings of light on black.
    Canvas c(TUBE_SIZE, TUBE_SIZE);
    c.shade(
        [&](double x, double y) {
            const double u = x / TUBE_SIZE;
            const double v = y / TUBE_SIZE;
            // Domain-warped ridged noise gives branching, lightning-like veins.
            const double wx = fbm(u * 3.0, v * 12.0, 3, 12, 3, 211u);
            const double wy = fbm(u * 3.0 + 5.2, v * 12.0 + 1.3, 3, 12, 3, 223u);
            const double n = fbm(u * 4.0 + 0.6 * wx, v * 16.0 + 2.4 * wy, 4, 16, 5, 227u);
            const double ridge = 1.0 - std::fabs(n) * 4.0;
            const double vein = ridge > 0.0 ? ridge * ridge * ridge * ridge : 0.0;
            Rgb col = mix(rgb8(20, 120, 255), rgb8(200, 255, 255), vein * vein) * (1.3 * vein);
            // Eight rings of light around the tube, each a sharp line with a
            // soft tail; none sits on the picture's top row, where it repeats.
            const double f = wrap(v * 8.0 + 0.5, 1.0);
            const double ring = dexp(-f * 60.0) + 0.25 * dexp(-f * 8.0);
            col = col + rgb8(255, 60, 220) * (0.9 * ring);
            // A faint blue floor so the tube never goes fully black.
            return col + rgb8(4, 8, 24);
        },
        2);
    return c;
}

// tunnel-l.jpg is added over the finished tunnels frame: black leaves the
// tubes untouched, light brightens them.
Canvas paintTunnelOverlay() {
    // Added over the tunnels: black where the tubes show, a glowing frame,
    // corner brackets, speed streaks at the rim and the show's name.
    constexpr int size = 512;
    Canvas c(size, size);
    Mask frame(size, size);
    const double inset = 18.0;
    const double ix = inset * SCREEN_SQUEEZE;
    strokeLine(frame, ix, inset, size - ix, inset, 2.0);
    strokeLine(frame, ix, size - inset, size - ix, size - inset, 2.0);
    strokeLine(frame, ix, inset, ix, size - inset, 2.0 * SCREEN_SQUEEZE);
    strokeLine(frame, size - ix, inset, size - ix, size - inset, 2.0 * SCREEN_SQUEEZE);
    // Brackets in the corners, further in.
    Mask brackets(size, size);
    const double bx = 42.0 * SCREEN_SQUEEZE;
    const double by = 42.0;
    const double len = 56.0;
    for (int corner = 0; corner < 4; ++corner) {
        const double sx = (corner & 1) ? size - bx : bx;
        const double sy = (corner & 2) ? size - by : by;
        const double dx = (corner & 1) ? -1.0 : 1.0;
        const double dy = (corner & 2) ? -1.0 : 1.0;
        strokeLine(brackets, sx, sy, sx + dx * len * SCREEN_SQUEEZE, sy, 4.0);
        strokeLine(brackets, sx, sy, sx, sy + dy * len, 4.0 * SCREEN_SQUEEZE);
    }
    // Streaks of light pointing at the centre, only near the rim.
    Mask streaks(size, size);
    Random rnd(307u);
    for (int i = 0; i < 70; ++i) {
        const double a = rnd.uniform() * TAU;
        const double r0 = 0.8 + 0.35 * rnd.uniform();
        const double r1 = r0 + 0.1 + 0.3 * rnd.uniform();
        const double ca = dcos(a) * SCREEN_SQUEEZE;
        const double sa = dsin(a);
        const double half = size * 0.5;
        strokeLine(streaks, half + ca * r0 * half, half + sa * r0 * half, half + ca * r1 * half,
                   half + sa * r1 * half, 0.8 + 1.2 * rnd.uniform());
    }
    c.addLight(frame.blurred(8.0), rgb8(40, 200, 255), 2.2);
    c.addLight(frame, rgb8(200, 250, 255), 1.0);
    c.addLight(brackets.blurred(6.0), rgb8(255, 60, 200), 1.6);
    c.addLight(brackets, rgb8(255, 210, 250), 1.0);
    c.addLight(streaks.blurred(1.5), rgb8(120, 200, 255), 0.9);
    // Soft light creeping in from the edges keeps the middle black.
    c.shade([&](double x, double y) {
        const double ex = std::fmin(x, size - x) / size;
        const double ey = std::fmin(y, size - y) / size;
        const double e = std::fmin(ex / SCREEN_SQUEEZE, ey);
        return c.at(static_cast<int>(x), static_cast<int>(y)) + rgb8(60, 20, 120) * (0.6 * dexp(-e * 25.0));
    });
    TextStyle name;
    name.font = Font::SansBold;
    name.pixelHeight = 26.0;
    name.xScale = SCREEN_SQUEEZE;
    name.tracking = 6.0;
    name.align = Align::Right;
    Mask letters(size, size);
    drawText(letters, "QUORL-H", name, size - 72.0 * SCREEN_SQUEEZE, size - 60.0);
    TextStyle small = name;
    small.font = Font::Sans;
    small.pixelHeight = 14.0;
    small.tracking = 4.0;
    small.align = Align::Left;
    drawText(letters, "TUBE  TRANSIT", small, 60.0 * SCREEN_SQUEEZE, 76.0);
    c.addLight(letters.blurred(5.0), rgb8(255, 60, 200), 1.2);
    c.addLight(letters, rgb8(255, 255, 255), 1.0);
    return c;
}

namespace {

// What a polished ball reflects in direction (x, y, z), y up, z toward the
// viewer: a blue sky with sun and clouds above, a checkered floor below.
// The bright sun and the dark horizon line give the balls their chrome look:
// strong highlights and a sharp line where sky meets ground.
Rgb environment(double x, double y, double z) {
    if (y >= 0.0) {
        const double up = std::sqrt(y);
        Rgb sky = mix(rgb8(235, 240, 250), rgb8(30, 80, 190), up);
        // Clouds: noise on the sky dome seen from below.
        const double px = x / (y + 0.25);
        const double pz = z / (y + 0.25);
        const double cloud = smoothstep(0.05, 0.45, fbm(px * 1.3 + 9.0, pz * 1.3 + 4.0, 64, 64, 5, 401u));
        sky = mix(sky, rgb8(255, 255, 255), cloud * 0.8 * smoothstep(0.0, 0.15, y));
        // The sun, high behind the viewer's left shoulder.
        const double sx = -0.45, sy = 0.62, sz = 0.64;
        const double d = x * sx + y * sy + z * sz;
        sky = sky + rgb8(255, 250, 230) * (4.0 * dpow(clamp01(d), 400.0) + 0.4 * dpow(clamp01(d), 12.0));
        // A bright band just above the horizon.
        return sky + rgb8(255, 230, 200) * (0.35 * dexp(-y * 25.0));
    }
    // Floor plane one unit below: checkers fading into the horizon haze.
    const double t = -1.0 / y;
    const double fx = x * t;
    const double fz = z * t;
    const bool odd = (static_cast<int64_t>(std::floor(fx)) + static_cast<int64_t>(std::floor(fz))) & 1;
    Rgb floor = odd ? rgb8(45, 40, 55) : rgb8(190, 185, 175);
    const double haze = 1.0 - dexp(-t * 0.12);
    floor = mix(floor, rgb8(150, 140, 150), haze);
    // A thin dark line marks the horizon, as on real chrome.
    return floor * (1.0 - 0.6 * dexp(y * 40.0));
}

}  // namespace

// A sphere map: pixel (X, Y) of the unit disc holds what a mirror ball
// reflects where its normal is (X, Y, sqrt(1 - X^2 - Y^2)) for a viewer
// looking down -z. The show's metaball normals turn the picture twice,
// so it is stored upright: sky at the top.
Canvas paintChrome() {
    constexpr int size = 256;
    Canvas c(size, size);
    c.shade(
        [&](double px, double py) {
            double X = px / size * 2.0 - 1.0;
            double Y = 1.0 - py / size * 2.0;  // up in the picture is up in the world
            double rr = X * X + Y * Y;
            if (rr > 0.998) {
                // Outside the disc: repeat the rim so filtering never sees black.
                const double k = std::sqrt(0.998 / rr);
                X *= k;
                Y *= k;
                rr = 0.998;
            }
            const double nz = std::sqrt(1.0 - rr);
            // Reflect the view direction (0, 0, -1) about the normal (X, Y, nz).
            return environment(2.0 * nz * X, 2.0 * nz * Y, 2.0 * nz * nz - 1.0);
        },
        3);
    return c;
}

}  // namespace content
