// pictures_bodies.cpp: the floor, the space background and the box3.bmp
// atlas of the fish-and-boxes part.
//
// floor2.bmp lies once over a 4 x 8 unit floor, its top row far away, so its
// tiles are drawn half as tall as wide to come out square in the show.
// space.bmp is stretched over the whole screen behind everything.
// box3.bmp is an atlas: a crate side, fish fins and the fish's skin seen
// from the side, in the regions that mesh.h names.
#include <cmath>

#include "fish_shape.h"
#include "mesh.h"
#include "paint.h"
#include "pictures.h"

namespace content {

namespace {

constexpr int FLOOR_SIZE = 512;
constexpr double FLOOR_WIDTH = 4.0;  // floor units across the picture
constexpr double FLOOR_DEPTH = 8.0;  // floor units down the picture
constexpr double RIM = 0.12;         // steel rim around the tiles, in floor units
constexpr int TILES_ACROSS = 8;
constexpr int TILES_DOWN = 16;

}  // namespace

// A marble platform floating in space: its rim is the floor's edge, and the
// bodies' black shadows need the light tiles to show on.
Canvas paintFloor() {
    Canvas c(FLOOR_SIZE, FLOOR_SIZE);
    const double tileW = (FLOOR_WIDTH - 2.0 * RIM) / TILES_ACROSS;
    const double tileD = (FLOOR_DEPTH - 2.0 * RIM) / TILES_DOWN;
    c.shade(
        [&](double x, double y) {
            // Floor units, origin at the centre.
            const double fx = x / FLOOR_SIZE * FLOOR_WIDTH - FLOOR_WIDTH * 0.5;
            const double fz = y / FLOOR_SIZE * FLOOR_DEPTH - FLOOR_DEPTH * 0.5;
            const double ex = FLOOR_WIDTH * 0.5 - std::fabs(fx);
            const double ez = FLOOR_DEPTH * 0.5 - std::fabs(fz);
            const double edge = std::fmin(ex, ez);
            if (edge < RIM) {
                // Brushed steel rim with a bright bevel on its inner edge.
                const double brush = 0.05 * fbm(x / 4.0, y / 64.0, 128, 8, 3, 601u);
                const double bevel = smoothstep(RIM * 0.75, RIM, edge);
                return rgb8(120, 125, 140) * (0.9 + brush) + rgb8(255, 255, 255) * (0.35 * bevel);
            }
            const double tx = (fx + FLOOR_WIDTH * 0.5 - RIM) / tileW;
            const double tz = (fz + FLOOR_DEPTH * 0.5 - RIM) / tileD;
            const int ix = static_cast<int>(std::floor(tx));
            const int iz = static_cast<int>(std::floor(tz));
            const double gx = (tx - ix) * tileW;  // position inside the tile, floor units
            const double gz = (tz - iz) * tileD;
            const uint32_t h = hash3(ix, iz, 613u);
            const bool dark = ((ix + iz) & 1) != 0;
            // Marble: soft veins from ridged noise, each tile cut from a different slab.
            const double n = fbm(fx * 1.6 + (h & 0xFF) * 0.37, fz * 1.6, 64, 64, 5, 617u);
            const double vein = dpow(clamp01(1.0 - std::fabs(n) * 5.0), 6.0);
            Rgb stone = dark ? rgb8(95, 105, 135) : rgb8(226, 220, 208);
            stone = stone * (0.93 + 0.12 * ((h >> 8) & 0xFF) / 255.0);
            stone = mix(stone, dark ? rgb8(170, 180, 215) : rgb8(150, 140, 130), 0.45 * vein);
            // Grout between tiles and a light bevel along each tile's far edge.
            const double gap = std::fmin(std::fmin(gx, tileW - gx), std::fmin(gz, tileD - gz));
            stone = mix(rgb8(40, 38, 45), stone, smoothstep(0.006, 0.014, gap));
            stone = stone + rgb8(255, 255, 255) * (0.12 * (1.0 - smoothstep(0.0, 0.03, gz)));
            // A ring of gold inlaid round the middle of the floor.
            const double r = std::sqrt(fx * fx + fz * fz);
            const double ring = std::fmin(std::fabs(r - 1.05), std::fabs(r - 1.25));
            const double gold = 1.0 - smoothstep(0.018, 0.03, ring);
            return mix(stone, rgb8(240, 190, 80) * (0.85 + 0.3 * (0.5 + 0.5 * dsin(r * 40.0))), gold);
        },
        2);
    return c;
}

// Deep space behind the floor: the floor covers the lower middle, so the
// planet sits high on the right and the nebula crosses the upper sky.
Canvas paintSpace() {
    constexpr int size = 512;
    Canvas c(size, size);
    static const Ramp nebula{{{0.0, rgb8(20, 30, 120)}, {0.4, rgb8(120, 30, 150)}, {0.7, rgb8(230, 70, 140)},
                              {1.0, rgb8(255, 200, 170)}}};
    // The planet: centre and radius in screen units, lit from the lower left.
    const double pu = 0.72, pv = -0.42, pr = 0.30;
    // Sky first, then stars, then the planet and its ring over both.
    c.shade(
        [&](double x, double y) {
            const ScreenPoint p = toScreen(x, y, size, size);
            Rgb col = mix(rgb8(6, 6, 26), rgb8(1, 1, 6), clamp01((p.v + 1.0) * 0.5));
            // A nebula lying diagonally across the sky, with dark dust lanes.
            const double wx = fbm(p.u * 1.2, p.v * 1.2, 64, 64, 4, 701u);
            const double n = fbm(p.u * 1.5 + wx, p.v * 1.5 - wx, 64, 64, 6, 709u);
            const double band = dexp(-dpow(std::fabs(p.v + 0.55 * p.u - 0.1) / 0.55, 2.0));
            const double density = clamp01((n * 0.9 + 0.35) * band * 1.3);
            const double dust = smoothstep(0.1, 0.5, fbm(p.u * 3.0, p.v * 3.0, 64, 64, 5, 719u));
            return col + nebula(density) * (density * 0.9) * (1.0 - 0.7 * dust);
        },
        2);
    addStars(c, 733u, 900, 0.9, SCREEN_SQUEEZE);
    c.shade(
        [&](double x, double y) {
            const ScreenPoint p = toScreen(x, y, size, size);
            Rgb col = c.at(static_cast<int>(x), static_cast<int>(y));
            // The planet's far-side ring passes behind it, the near side in front.
            const double ra = -0.3;
            const double lu = (p.u - pu) * dcos(ra) + (p.v - pv) * dsin(ra);
            const double lv = -(p.u - pu) * dsin(ra) + (p.v - pv) * dcos(ra);
            const double rr = std::sqrt(lu * lu + (lv / 0.22) * (lv / 0.22));
            const double ringBand = smoothstep(0.4, 0.43, rr) * (1.0 - smoothstep(0.6, 0.63, rr));
            const double ringAlpha = ringBand * (0.55 + 0.3 * dsin(rr * 90.0));
            const Rgb ringColour = rgb8(230, 200, 170);
            if (lv < 0.0) col = mix(col, ringColour, ringAlpha);
            const double du = p.u - pu, dv = p.v - pv;
            const double d = std::sqrt(du * du + dv * dv);
            const double disc = coverage((d - pr) * size * 0.5);
            if (disc > 0.0) {
                const double nz = std::sqrt(std::fmax(0.0, 1.0 - (d / pr) * (d / pr)));
                const Vec3 normal{du / pr, -dv / pr, nz};
                const double lit = std::fmax(0.0, dot(normal, normalized(Vec3{-0.7, -0.4, 0.6})));
                // Cloud bands along the planet's latitude, stirred by noise.
                const double lat = dv / pr + 0.08 * fbm(du * 8.0, dv * 30.0, 64, 64, 4, 727u);
                static const Ramp bands{{{0.0, rgb8(210, 150, 100)}, {0.3, rgb8(240, 210, 170)},
                                         {0.55, rgb8(180, 100, 70)}, {0.8, rgb8(235, 190, 140)},
                                         {1.0, rgb8(200, 130, 90)}}};
                const Rgb surface = bands(wrap(lat * 2.2, 1.0)) * (0.04 + 1.05 * lit);
                const double rim = dpow(1.0 - nz, 3.0) * (0.3 + lit);
                col = mix(col, surface + rgb8(120, 170, 255) * (0.8 * rim), disc);
            }
            if (lv >= 0.0) col = mix(col, ringColour * (0.5 + 0.5 * clamp01(1.0 - lv * 4.0)), ringAlpha);
            return col;
        },
        2);
    return c;
}

namespace {

// Paint fn over the pixels of one atlas region; fn gets 0..1 coordinates.
// Four samples a pixel for smooth edges on the small atlas details.
void paintRegion(Canvas& c, const AtlasRegion& r, const std::function<Rgb(double fx, double fy)>& fn) {
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            Rgb sum;
            for (int s = 0; s < 4; ++s) {
                const double sx = x + 0.25 + 0.5 * (s & 1);
                const double sy = y + 0.25 + 0.5 * (s >> 1);
                sum = sum + fn((sx - r.x) / r.w, (sy - r.y) / r.h);
            }
            c.at(x, y) = sum * 0.25;
        }
    }
}

// A crate side: steel frame with rivets, an amber panel crossed by steel
// braces, and a round badge in the middle.
Rgb crate(double fx, double fy) {
    const double px = fx * 256.0, py = fy * 256.0;  // region pixels
    const double edge = std::fmin(std::fmin(px, 256.0 - px), std::fmin(py, 256.0 - py));
    const double brush = 0.06 * fbm(px / 3.0, py / 40.0, 128, 8, 3, 801u);
    const Rgb steel = rgb8(175, 182, 195) * (0.92 + brush);
    if (edge < 26.0) {
        // Frame: bevelled, lighter toward the top left.
        Rgb frame = steel * (0.85 + 0.25 * (1.0 - (px + py) / 512.0));
        if (edge < 3.0) frame = frame * 0.55;
        if (edge > 23.0) frame = frame * 0.65;
        // Rivets near each corner and mid-side.
        for (const double cx : {13.0, 128.0, 243.0}) {
            for (const double cy : {13.0, 128.0, 243.0}) {
                if (cx == 128.0 && cy == 128.0) continue;
                const double d = std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy));
                if (d < 5.0) frame = mix(frame * 0.6, rgb8(240, 240, 245), clamp01((5.0 - d) / 3.0) * clamp01(1.0 - (px - cx + py - cy) / 8.0));
            }
        }
        return frame;
    }
    // The panel: amber with vertical ribs and some grime.
    const double grime = fbm(px / 40.0, py / 40.0, 64, 64, 4, 809u);
    Rgb panel = rgb8(255, 170, 40) * (0.85 + 0.1 * dcos(px * 0.35) + 0.15 * grime);
    panel = panel * (0.8 + 0.2 * smoothstep(26.0, 34.0, edge));  // shadow under the frame
    // Diagonal braces from corner to corner.
    const double d1 = std::fabs(px - py) / 1.41421356;
    const double d2 = std::fabs(px + py - 256.0) / 1.41421356;
    const double brace = std::fmin(d1, d2);
    if (brace < 11.0) panel = mix(steel * 0.95, steel * 0.6, smoothstep(8.0, 11.0, brace));
    // Badge: dark disc, bright ring, three bars.
    const double bx = px - 128.0, by = py - 128.0;
    const double r = std::sqrt(bx * bx + by * by);
    if (r < 38.0) {
        Rgb badge = rgb8(30, 30, 40);
        if (r > 30.0 && r < 35.0) badge = rgb8(250, 250, 255);
        if (r <= 30.0 && std::fabs(bx) < 18.0 && wrap(by + 17.0, 14.0) < 7.0 && std::fabs(by) < 18.0)
            badge = rgb8(255, 190, 60);
        panel = mix(badge, panel, smoothstep(37.0, 38.0, r));
    }
    return panel;
}

// Fin membrane: warm rays fanning out, pale toward the rim.
Rgb fin(double fx, double fy) {
    const double a = datan2(fy - 0.5, fx + 0.3);
    const double rays = 0.5 + 0.5 * dcos(a * 60.0);
    const double t = clamp01(std::sqrt((fx + 0.3) * (fx + 0.3) + (fy - 0.5) * (fy - 0.5)) / 1.3);
    Rgb col = mix(rgb8(40, 120, 255), rgb8(190, 240, 255), t);
    col = col * (0.75 + 0.25 * rays);
    const double rim = std::fmin(std::fmin(fx, 1.0 - fx), std::fmin(fy, 1.0 - fy));
    return mix(rgb8(20, 20, 60), col, smoothstep(0.0, 0.08, rim));
}

// The fish from the side: dark blue back, a glowing turquoise stripe from
// eye to tail, a red-orange rear belly, silver belly, scales and an eye.
Rgb skin(double fx, double fy) {
    const double x = FISH_NOSE_X - fx * (FISH_NOSE_X - FISH_TAIL_X);
    const double z = FISH_SKIN_TOP - fy * (FISH_SKIN_TOP - FISH_SKIN_BOTTOM);
    const double h = std::fmax(fishHalfHeight(fishStation(x)), 1.0);
    const double q = std::fmax(-1.0, std::fmin(1.0, z / h));  // -1 belly .. 1 back
    Rgb col = mix(rgb8(235, 235, 250), rgb8(20, 40, 140), smoothstep(-0.4, 0.7, q));
    // Red-orange on the rear half of the lower body.
    const double red = smoothstep(0.42, 0.47, fx) * (1.0 - smoothstep(0.0, 0.06, q)) * smoothstep(-0.85, -0.75, q);
    col = mix(col, rgb8(255, 60, 40), red);
    // The turquoise stripe, rising slightly toward the head.
    const double centre = 0.22 + 0.1 * (1.0 - fx);
    const double stripe = 1.0 - smoothstep(0.08, 0.16, std::fabs(q - centre));
    col = mix(col, rgb8(60, 255, 230), stripe * smoothstep(0.12, 0.2, fx));
    // Scales: a grid of small arcs, offset every other row.
    const double sx = x / 3.2;
    const double sz = z / 2.6 + (static_cast<int>(std::floor(sx)) & 1) * 0.5;
    const double ux = sx - std::floor(sx) - 0.5;
    const double uz = sz - std::floor(sz) - 0.5;
    const double arc = std::fabs(std::sqrt(ux * ux + uz * uz) - 0.45);
    col = col * (1.0 - 0.18 * (1.0 - smoothstep(0.02, 0.09, arc)) * smoothstep(0.1, 0.25, fx));
    // Gill line behind the head.
    const double gill = std::fabs(x - (36.0 + 4.0 * q * q));
    col = col * (1.0 - 0.45 * (1.0 - smoothstep(0.4, 1.0, gill)) * (1.0 - smoothstep(0.6, 0.9, std::fabs(q))));
    // Mouth.
    if (x > FISH_NOSE_X - 5.0 && std::fabs(z + 1.5) < 0.5) col = col * 0.3;
    // Eye: gold iris, black pupil, a white glint.
    const double ex = x - FISH_EYE_X, ez = z - FISH_EYE_Z;
    const double e = std::sqrt(ex * ex + ez * ez);
    if (e < FISH_EYE_RADIUS + 0.6) {
        Rgb eye = e < FISH_EYE_RADIUS * 0.55 ? rgb8(5, 5, 10) : rgb8(255, 200, 60);
        if (e >= FISH_EYE_RADIUS) eye = rgb8(10, 10, 20);
        const double gx = ex - 0.9, gz = ez - 1.0;
        if (gx * gx + gz * gz < 0.6) eye = rgb8(255, 255, 255);
        col = eye;
    }
    return col;
}

}  // namespace

// Colours are bright and saturated: the show lights its models with a
// bluish material that darkens reds and greens.
Canvas paintBoxAtlas() {
    Canvas c(ATLAS_SIZE, ATLAS_SIZE);
    paintRegion(c, ATLAS_CRATE, crate);
    paintRegion(c, ATLAS_FIN, fin);
    paintRegion(c, ATLAS_SKIN, skin);
    return c;
}

}  // namespace content
