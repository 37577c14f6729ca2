// render.cpp: software renderings of the models for the review sheet.
//
// A small rasteriser (depth buffer, perspective-correct texture coordinates,
// smoothing-group normals) draws the models with the show's cameras: a
// 45-degree view with an aspect of 1 stretched over a 4:3 picture. The line
// view pairs corners exactly as the show's line mode does, so the sheet
// shows what the intro will show. This is for people to look at; the show
// itself does its own drawing.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "fish_shape.h"
#include "models.h"
#include "paint.h"
#include "pictures.h"

namespace content {

namespace {

constexpr int PANEL_W = 400;
constexpr int PANEL_H = 300;
constexpr double FOCAL = 2.414213562373095;  // 1 / tan(22.5 degrees)

// 3 x 3 matrix, rows first; enough for turns without translation.
struct Mat3 {
    double m[3][3];
    Vec3 operator*(Vec3 v) const {
        return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
    }
    Mat3 operator*(const Mat3& o) const {
        Mat3 r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k) r.m[i][j] += m[i][k] * o.m[k][j];
        return r;
    }
};

// Rotation by degrees about an axis, as glRotate builds it.
Mat3 rotation(Vec3 axis, double degrees) {
    const Vec3 a = normalized(axis);
    const double r = degrees * PI / 180.0;
    const double c = dcos(r), s = dsin(r), t = 1.0 - c;
    return Mat3{{{t * a.x * a.x + c, t * a.x * a.y - s * a.z, t * a.x * a.z + s * a.y},
                 {t * a.x * a.y + s * a.z, t * a.y * a.y + c, t * a.y * a.z - s * a.x},
                 {t * a.x * a.z - s * a.y, t * a.y * a.z + s * a.x, t * a.z * a.z + c}}};
}

// Where a model is placed: eye = rotate(scale * p) + (0, 0, -distance).
struct Placement {
    Mat3 turn;
    double scale;
    Vec3 offset;
    Vec3 eye(Vec3 p) const { return turn * (p * scale) + offset; }
};

// One 400 x 300 rendering with its depth buffer (1/w, larger is nearer).
struct Panel {
    Canvas colour{PANEL_W, PANEL_H};
    std::vector<double> depth = std::vector<double>(static_cast<size_t>(PANEL_W) * PANEL_H, 0.0);

    // Screen position (pixels) and 1/w of an eye-space point.
    static Vec3 project(Vec3 e) {
        const double w = -e.z;
        return {(FOCAL * e.x / w + 1.0) * 0.5 * PANEL_W, (1.0 - FOCAL * e.y / w) * 0.5 * PANEL_H, 1.0 / w};
    }

    // Fill a triangle; shade(barycentric weights already perspective-corrected).
    template <typename Shade>
    void triangle(const Vec3 eye[3], Shade&& shade, bool cull) {
        if (eye[0].z > -0.05 || eye[1].z > -0.05 || eye[2].z > -0.05) return;
        const Vec3 p[3] = {project(eye[0]), project(eye[1]), project(eye[2])};
        const double area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
        if (area == 0.0 || (cull && area > 0.0)) return;  // y runs down: front faces have negative area
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({p[0].x, p[1].x, p[2].x}))));
        const int x1 = std::min(PANEL_W - 1, static_cast<int>(std::ceil(std::max({p[0].x, p[1].x, p[2].x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({p[0].y, p[1].y, p[2].y}))));
        const int y1 = std::min(PANEL_H - 1, static_cast<int>(std::ceil(std::max({p[0].y, p[1].y, p[2].y}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                double b[3];
                b[0] = ((p[1].x - px) * (p[2].y - py) - (p[2].x - px) * (p[1].y - py)) / area;
                b[1] = ((p[2].x - px) * (p[0].y - py) - (p[0].x - px) * (p[2].y - py)) / area;
                b[2] = 1.0 - b[0] - b[1];
                if (b[0] < 0.0 || b[1] < 0.0 || b[2] < 0.0) continue;
                const double invW = b[0] * p[0].z + b[1] * p[1].z + b[2] * p[2].z;
                double& d = depth[static_cast<size_t>(y) * PANEL_W + x];
                if (invW <= d) continue;
                d = invW;
                double pc[3];
                for (int k = 0; k < 3; ++k) pc[k] = b[k] * p[k].z / invW;
                colour.at(x, y) = shade(pc);
            }
        }
    }
};

// Normals per face corner, averaged over faces of the same smoothing group.
// (Like the show's reader, faces of equal smoothing value share a normal at
// a vertex; different values keep their own.)
std::vector<Vec3> cornerNormals(const Mesh& m) {
    std::map<std::pair<uint16_t, uint32_t>, Vec3> sums;
    std::vector<Vec3> faceN;
    for (const Face& f : m.faces) {
        const Vec3 n = normalized(cross(m.vertices[f.b] - m.vertices[f.a], m.vertices[f.c] - m.vertices[f.a]));
        faceN.push_back(n);
        for (const uint16_t v : {f.a, f.b, f.c}) sums[{v, f.smoothing}] = sums[{v, f.smoothing}] + n;
    }
    std::vector<Vec3> out;
    for (const Face& f : m.faces)
        for (const uint16_t v : {f.a, f.b, f.c}) out.push_back(normalized(sums[{v, f.smoothing}]));
    return out;
}

// Texel of box3.bmp at (u, v) as the show's upload lays it out.
Rgb atlasTexel(const Canvas& atlas, Vec2 uv) {
    const double px = wrap(1.0 - uv.u, 1.0) * atlas.width();
    const double py = wrap(uv.v, 1.0) * atlas.height();
    return atlas.sample(px, py);
}

// Lit with a fixed light from the upper left; textured models read box3.bmp
// exactly as the show maps it.
void drawModel(Panel& panel, const ModelFile& model, const Placement& place, const Canvas* atlas, Rgb tint) {
    const Vec3 light = normalized(Vec3{-0.5, 0.6, 0.65});
    for (const Mesh& m : model.meshes) {
        const std::vector<Vec3> normals = cornerNormals(m);
        for (size_t f = 0; f < m.faces.size(); ++f) {
            const Face& face = m.faces[f];
            const uint16_t idx[3] = {face.a, face.b, face.c};
            Vec3 eye[3], n[3];
            Vec2 uv[3];
            for (int k = 0; k < 3; ++k) {
                eye[k] = place.eye(m.vertices[idx[k]]);
                n[k] = place.turn * normals[f * 3 + static_cast<size_t>(k)];
                uv[k] = m.uvs[idx[k]];
            }
            panel.triangle(
                eye,
                [&](const double b[3]) {
                    const Vec3 nn = normalized(n[0] * b[0] + n[1] * b[1] + n[2] * b[2]);
                    const double diffuse = std::fmax(0.0, dot(nn, light));
                    const Vec3 half = normalized(light + Vec3{0.0, 0.0, 1.0});
                    const double spec = dpow(std::fmax(1e-6, dot(nn, half)), 30.0);
                    Rgb base = tint;
                    if (atlas) {
                        const Vec2 t{uv[0].u * b[0] + uv[1].u * b[1] + uv[2].u * b[2],
                                     uv[0].v * b[0] + uv[1].v * b[1] + uv[2].v * b[2]};
                        base = atlasTexel(*atlas, t);
                    }
                    return base * (0.3 + 0.8 * diffuse) + Rgb{1, 1, 1} * (0.35 * spec);
                },
                true);
        }
    }
}

// The show's line mode: all face corners in order, paired two by two.
void drawLines(Panel& panel, const ModelFile& model, const Placement& place, double strength) {
    std::vector<Vec3> corners;
    for (const Mesh& m : model.meshes)
        for (const Face& f : m.faces)
            for (const uint16_t v : {f.a, f.b, f.c}) corners.push_back(Panel::project(place.eye(m.vertices[v])));
    Mask lines(PANEL_W, PANEL_H);
    for (size_t i = 0; i + 1 < corners.size(); i += 2)
        strokeLine(lines, corners[i].x, corners[i].y, corners[i + 1].x, corners[i + 1].y, 0.9);
    panel.colour.addLight(lines, Rgb{1, 1, 1}, strength);
}

// A caption under a panel.
void label(Canvas& sheet, const std::string& text, int x, int y) {
    Mask m(sheet.width(), sheet.height());
    TextStyle s;
    s.font = Font::Sans;
    s.pixelHeight = 14.0;
    s.align = Align::Left;
    drawText(m, text, s, x, y);
    sheet.paint(m, rgb8(235, 235, 240));
}

// A model turned, scaled and put distance units in front of the camera.
Placement placed(Mat3 turn, double scale, double distance) { return {turn, scale, {0.0, 0.0, -distance}}; }

}  // namespace

// Six panels, three a row: the sculpture twice, fish, fish's collision
// points, box, and a rough bodies-part view.
Canvas modelSheet(const std::vector<ModelFile>& models, const Canvas& atlas) {
    const ModelFile& allt = models[0];
    const ModelFile& fish = models[1];
    const ModelFile& box = models[2];
    const Vec3 xAxis{1, 0, 0}, yAxis{0, 1, 0};
    std::vector<std::pair<Panel, std::string>> panels;

    {  // The intro: lines at scale 0.003, 3 units away, turned 270 about x.
        Panel p;
        drawLines(p, allt, placed(rotation(xAxis, 270.0) * rotation(yAxis, 40.0), 0.003, 3.0), 1.0);
        panels.push_back({std::move(p), "allt.3ds: intro lines (scale 0.003, distance 3)"});
    }
    {  // The spin part: smooth at 0.007, 5 units away, lines over it.
        Panel p;
        const double step = 70.0;
        const Placement place = placed(rotation(Vec3{dsin(step * 0.011111111), 1.0, dcos(step * 0.0071428571)}, step),
                                       0.007, 5.0);
        drawModel(p, allt, place, nullptr, rgb8(120, 100, 230));
        drawLines(p, allt, place, 0.35);
        panels.push_back({std::move(p), "allt.3ds: spin part, smooth + lines (0.007, distance 5)"});
    }
    {
        Panel p;
        drawModel(p, fish, placed(rotation(xAxis, -90.0) * rotation(Vec3{0, 0, 1}, -25.0), 0.004, 0.85), &atlas,
                  Rgb{});
        panels.push_back({std::move(p), "fish.3ds wearing box3.bmp (scale 0.004)"});
    }
    {  // The fish's first 80 vertices, seen from the side: its collision points.
        Panel p;
        const Placement side = placed(rotation(xAxis, -90.0), 0.004, 0.85);
        drawModel(p, fish, side, nullptr, rgb8(70, 70, 90));
        Mask dots(PANEL_W, PANEL_H);
        for (size_t i = 0; i < 80 && i < fish.meshes[0].vertices.size(); ++i) {
            const Vec3 s = Panel::project(side.eye(fish.meshes[0].vertices[i]));
            fillEllipse(dots, s.x, s.y, 2.2, 2.2);
        }
        p.colour.paint(dots, rgb8(255, 80, 60));
        panels.push_back({std::move(p), "fish.3ds: first 80 vertices (collision points)"});
    }
    {
        Panel p;
        drawModel(p, box, placed(rotation(xAxis, -60.0) * rotation(Vec3{0, 0, 1}, 35.0), 0.012, 1.4), &atlas, Rgb{});
        panels.push_back({std::move(p), "boxtex.3ds wearing box3.bmp (scale 0.012)"});
    }
    {  // The bodies part: space behind, the floor, two fish and three boxes.
        Panel p;
        const Canvas space = paintSpace();
        const Canvas floor = paintFloor();
        for (int y = 0; y < PANEL_H; ++y)
            for (int x = 0; x < PANEL_W; ++x)
                p.colour.at(x, y) = space.sample((x + 0.5) * space.width() / PANEL_W, (y + 0.5) * space.height() / PANEL_H);
        const Mat3 down = rotation(xAxis, -90.0);
        auto world = [&](Vec3 v) { return down * v + Vec3{0.0, 0.0, -6.2}; };
        const Vec3 quad[4] = {{-2, 4, -1.1}, {-2, -4, -1.1}, {2, -4, -1.1}, {2, 4, -1.1}};
        const Vec2 st[4] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
        for (const int tri : {0, 1}) {
            const int ids[3] = {0, 1 + tri, 2 + tri};
            const Vec3 eye[3] = {world(quad[ids[0]]), world(quad[ids[1]]), world(quad[ids[2]])};
            p.triangle(
                eye,
                [&](const double b[3]) {
                    const Vec2 t{st[ids[0]].u * b[0] + st[ids[1]].u * b[1] + st[ids[2]].u * b[2],
                                 st[ids[0]].v * b[0] + st[ids[1]].v * b[1] + st[ids[2]].v * b[2]};
                    return atlasTexel(floor, t);
                },
                false);
        }
        const Vec3 spots[5] = {{0, 0, -0.8}, {0.7, 0.1, -0.8}, {0.28, 0.34, -0.85}, {0.6, -0.5, -0.85}, {-0.45, -0.6, -0.85}};
        for (int i = 0; i < 5; ++i) {
            const bool isFish = i < 2;
            Placement place{down * rotation(Vec3{0, 0, 1}, 40.0 * i), isFish ? 0.004 : 0.012, world(spots[i])};
            drawModel(p, isFish ? fish : box, place, &atlas, Rgb{});
        }
        panels.push_back({std::move(p), "bodies part: floor2, space, fish and boxes (approx.)"});
    }

    constexpr int columns = 3;
    const int rows = static_cast<int>((panels.size() + columns - 1) / columns);
    Canvas sheet(columns * (PANEL_W + 12) + 12, rows * (PANEL_H + 34) + 12);
    sheet.shade([](double, double) { return rgb8(28, 28, 34); });
    for (size_t i = 0; i < panels.size(); ++i) {
        const int ox = 12 + static_cast<int>(i % columns) * (PANEL_W + 12);
        const int oy = 12 + static_cast<int>(i / columns) * (PANEL_H + 34);
        for (int y = 0; y < PANEL_H; ++y)
            for (int x = 0; x < PANEL_W; ++x) sheet.at(ox + x, oy + y) = panels[i].first.colour.at(x, y);
        label(sheet, panels[i].second, ox, oy + PANEL_H + 20);
    }
    return sheet;
}

}  // namespace content
