// pictures_titles.cpp: the logo, the end picture and the intro's placeholder
// background.
//
// The logo and the end picture are a pair: the same glowing horizon with a
// perspective grid, the sun high and bright at the start, set at the end.
// Both are square files stretched to the 4:3 screen, so they are painted in
// screen coordinates and their lettering is squeezed by 3/4.
#include <cmath>
#include <string>

#include "paint.h"
#include "pictures.h"

namespace content {

namespace {

constexpr int TITLE_SIZE = 512;

// What differs between the logo's evening and the end picture's night.
struct HorizonScene {
    double horizonV;     // screen v of the horizon (-1 top .. 1 bottom)
    double sunRadius;    // in screen units
    double sunDrop;      // how far the sun's centre sits below the horizon
    double night;        // 0 evening glow .. 1 dark night sky
};

// Sky colour for a height t from the top (0) to the horizon (1).
Rgb skyColour(double t, double night) {
    static const Ramp evening{{{0.00, rgb8(6, 4, 28)},
                               {0.45, rgb8(30, 10, 70)},
                               {0.80, rgb8(110, 30, 120)},
                               {0.96, rgb8(230, 80, 130)},
                               {1.00, rgb8(255, 170, 150)}}};
    static const Ramp dusk{{{0.00, rgb8(2, 2, 12)},
                            {0.55, rgb8(10, 8, 40)},
                            {0.88, rgb8(50, 20, 80)},
                            {0.98, rgb8(170, 60, 110)},
                            {1.00, rgb8(240, 120, 120)}}};
    return mix(evening(t), dusk(t), night);
}

// The striped sun: coverage and colour at screen point (u, v).
// The sun is cut off at the horizon: the ground is painted instead there.
double sunCoverage(const HorizonScene& s, double u, double v, double pixel, Rgb& colour) {
    const double cv = s.horizonV + s.sunDrop;
    const double d = std::sqrt(u * u + (v - cv) * (v - cv));
    double cover = coverage((d - s.sunRadius) / pixel);
    if (v > s.horizonV) cover = 0.0;
    // Lower half of the disc is cut by bands that widen toward the horizon.
    const double below = (v - (cv - s.sunRadius * 0.6)) / (s.sunRadius * 0.6);
    if (below > 0.0) {
        const double band = wrap(v * 7.0 / s.sunRadius, 1.0);
        const double gap = 0.06 + 0.45 * below;
        cover *= smoothstep(gap - 0.04, gap + 0.04, band);
    }
    static const Ramp sun{{{0.0, rgb8(255, 245, 160)}, {0.45, rgb8(255, 170, 80)}, {1.0, rgb8(255, 50, 140)}}};
    colour = sun(clamp01((v - (cv - s.sunRadius)) / s.sunRadius));
    return cover;
}

// The ground below the horizon: a dark plain with a glowing grid of lines.
Rgb groundColour(const HorizonScene& s, double u, double v) {
    const double dv = v - s.horizonV;
    // A camera one unit above a flat plain: a row dv below the horizon sees
    // the plain at a distance proportional to 1 / dv.
    const double depth = 0.35 / dv;                 // distance from the viewer
    const double wx = u * depth * 2.2;              // grid coordinates on the plain
    const double wz = depth * 2.2;
    const double fx = std::fabs(wrap(wx + 0.5, 1.0) - 0.5);
    const double fz = std::fabs(wrap(wz, 1.0) - 0.5);
    // Line widths grow with distance so far lines stay about one pixel wide.
    const double wLine = 0.018 * depth + 0.02;
    const double lineX = dexp(-(fx * fx) / (wLine * wLine));
    const double lineZ = dexp(-((0.5 - fz) * (0.5 - fz)) / (wLine * wLine * depth * 1.5));
    // Far lines fade out before they crowd into moire at the horizon.
    const double fog = dexp(-depth * 0.25);
    const double lines = std::fmax(lineX, lineZ) * fog;
    const Rgb base = mix(rgb8(60, 10, 60), rgb8(8, 2, 20), clamp01(dv * 3.0));
    const Rgb lineColour = mix(rgb8(255, 80, 200), rgb8(90, 220, 255), clamp01(dv * 2.0));
    // A warm haze sits on the horizon.
    const Rgb haze = rgb8(255, 110, 150) * (0.6 * dexp(-dv * 30.0));
    return base + lineColour * (lines * 1.1) + haze;
}

// Sky, sun and grid, then stars above the haze and a glow round the sun.
Canvas paintHorizon(const HorizonScene& s, uint32_t starSeed, int stars) {
    Canvas c(TITLE_SIZE, TITLE_SIZE);
    const double pixel = 2.0 / TITLE_SIZE;
    c.shade(
        [&](double x, double y) {
            const ScreenPoint p = toScreen(x, y, TITLE_SIZE, TITLE_SIZE);
            if (p.v >= s.horizonV) return groundColour(s, p.u, p.v);
            const double t = (p.v + 1.0) / (s.horizonV + 1.0);
            Rgb sky = skyColour(t, s.night);
            Rgb sun;
            const double cover = sunCoverage(s, p.u, p.v, pixel, sun);
            return mix(sky, sun, cover);
        },
        3);
    const double horizonY = (s.horizonV + 1.0) * 0.5 * TITLE_SIZE;
    addStars(c, starSeed, stars, 0.9, SCREEN_SQUEEZE, horizonY - 40.0);
    // Glow around the sun.
    const double sunY = (s.horizonV + s.sunDrop + 1.0) * 0.5 * TITLE_SIZE;
    addGlow(c, TITLE_SIZE * 0.5, sunY, 150.0 * SCREEN_SQUEEZE, 110.0, rgb8(255, 80, 140), 0.25 * (1.0 - s.night * 0.5));
    return c;
}

// Fit a text to a width: the pixel height that makes it that wide.
TextStyle fitted(const std::string& text, TextStyle style, double width) {
    style.pixelHeight = style.pixelHeight * width / measureText(text, style);
    return style;
}

// Chrome lettering: text centred at x with its baseline at y.
void chromeTitle(Canvas& c, const std::string& text, TextStyle style, double x, double y, Rgb glow) {
    Mask letters(c.width(), c.height());
    drawText(letters, text, style, x, y);
    const double top = y - style.pixelHeight * 0.74;
    paintLettering(
        c, letters, [&](double, double py) { return chromeColour(py, top, y); }, glow, 9.0, 0.9,
        style.pixelHeight / 45.0);
}

// Plain lettering with a soft glow.
void glowLine(Canvas& c, const std::string& text, TextStyle style, double x, double y, Rgb colour, Rgb glow) {
    Mask letters(c.width(), c.height());
    drawText(letters, text, style, x, y);
    // A dark halo keeps thin letters readable over the bright grid.
    c.paint(letters.dilated(2.0).blurred(3.0), Rgb{0.01, 0.0, 0.03}, 0.8);
    c.addLight(letters.blurred(4.0), glow, 0.9);
    c.paint(letters, colour);
}

}  // namespace

// The logo: evening, sun high, the name large over it. It is shown at full
// brightness first and then fades, so it carries the show's first look.
Canvas paintLogo() {
    const HorizonScene scene{0.22, 0.55, 0.0, 0.0};
    Canvas c = paintHorizon(scene, 11u, 260);
    TextStyle title;
    title.font = Font::SansBold;
    title.pixelHeight = 120.0;
    title.xScale = SCREEN_SQUEEZE;
    title.tracking = 2.0;
    // About 86 percent of the width, leaving a margin on the 4:3 screen.
    title = fitted("Quorl-H", title, 440.0);
    chromeTitle(c, "Quorl-H", title, TITLE_SIZE * 0.5, 262.0, rgb8(255, 60, 190));

    TextStyle sub;
    sub.font = Font::Sans;
    sub.pixelHeight = 24.0;
    sub.xScale = SCREEN_SQUEEZE;
    sub.tracking = 5.0;
    glowLine(c, "A  REAL-TIME  SHOW", sub, TITLE_SIZE * 0.5, 405.0, rgb8(230, 250, 255), rgb8(60, 200, 255));
    vignette(c, 0.35);
    return c;
}

// The end picture: the same horizon at night with the sun gone down; it
// stays on screen as long as the program runs, so it is calm and legible.
Canvas paintEndPicture() {
    const HorizonScene scene{0.34, 0.5, 0.33, 0.85};
    Canvas c = paintHorizon(scene, 23u, 520);
    TextStyle title;
    title.font = Font::SerifBoldItalic;
    title.pixelHeight = 110.0;
    title.xScale = SCREEN_SQUEEZE;
    title = fitted("The End", title, 400.0);
    Mask letters(TITLE_SIZE, TITLE_SIZE);
    const double baseline = 205.0;
    drawText(letters, "The End", title, TITLE_SIZE * 0.5, baseline);
    static const Ramp gold{{{0.0, rgb8(255, 250, 220)}, {0.45, rgb8(255, 205, 110)}, {0.55, rgb8(200, 110, 40)},
                            {0.62, rgb8(255, 170, 80)}, {1.0, rgb8(255, 235, 170)}}};
    const double top = baseline - title.pixelHeight * 0.74;
    paintLettering(
        c, letters, [&](double, double y) { return gold(clamp01((y - top) / (baseline - top))); },
        rgb8(255, 120, 60), 12.0, 0.8, 2.5);

    TextStyle name;
    name.font = Font::SansBold;
    name.pixelHeight = 44.0;
    name.xScale = SCREEN_SQUEEZE;
    name.tracking = 3.0;
    chromeTitle(c, "Quorl-H", name, TITLE_SIZE * 0.5, 268.0, rgb8(90, 140, 255));

    TextStyle credit;
    credit.font = Font::Sans;
    credit.pixelHeight = 17.0;
    credit.xScale = SCREEN_SQUEEZE;
    credit.tracking = 1.5;
    const Rgb ink = rgb8(235, 240, 255);
    const Rgb glow = rgb8(120, 60, 255);
    glowLine(c, "pictures, models, music and code", credit, TITLE_SIZE * 0.5, 395.0, ink, glow);
    glowLine(c, "made from scratch by the Quorl-H team", credit, TITLE_SIZE * 0.5, 420.0, ink, glow);
    credit.font = Font::SerifBoldItalic;
    credit.pixelHeight = 20.0;
    glowLine(c, "thank you for watching", credit, TITLE_SIZE * 0.5, 466.0, rgb8(255, 220, 170), rgb8(255, 90, 60));
    vignette(c, 0.4);
    return c;
}

// The intro loads this and replaces it before it is shown; still a real
// picture in case a later change ever lets it through.
Canvas paintBackground() {
    // A quiet picture: soft violet-to-teal light with a faint weave.
    constexpr int size = 256;
    Canvas c(size, size);
    c.shade([&](double x, double y) {
        const double t = (x + y) / (2.0 * size);
        const double n = fbm(x / 64.0, y / 64.0, 4, 4, 4, 5u);
        const double weave = 0.03 * dsin(x * 0.4) * dsin(y * 0.4);
        const Rgb base = mix(rgb8(70, 40, 110), rgb8(30, 110, 130), t);
        return base * (1.0 + 0.25 * n) + Rgb{weave, weave, weave};
    });
    TextStyle mark;
    mark.font = Font::SansBold;
    mark.pixelHeight = 40.0;
    mark.xScale = SCREEN_SQUEEZE;
    Mask letters(size, size);
    drawText(letters, "Quorl-H", mark, size * 0.5, size * 0.56);
    c.addLight(letters.blurred(6.0), rgb8(255, 255, 255), 0.15);
    c.paint(letters, rgb8(235, 225, 250), 0.35);
    return c;
}

}  // namespace content
