// model_fish.cpp: fish.3ds, a fish about 125 units long (the show draws it
// at scale 0.004, so about half a unit).
//
// One mesh: a lofted body (soft, smoothing group 1) with thin two-sided fins
// (tail, back, belly and two side fins; smoothing group 2, so they stay
// crisp). The body wears the skin region of box3.bmp by a side projection,
// the fins the fin region.
//
// The collision simulation takes only the first 80 vertices as the fish's
// collision points, so the vertices are reordered to start with an outline
// of the whole fish: nose, nine body rings spread from head to tail stalk
// (eight points each) and the tips of every fin.
#include <cmath>

#include "fish_shape.h"
#include "fmath.h"
#include "models.h"

namespace content {

namespace {

constexpr int RINGS = 24;
constexpr int RING_POINTS = 16;
constexpr double FIN_HALF_THICK = 0.7;
constexpr uint32_t BODY_GROUP = 1;
constexpr uint32_t FIN_GROUP = 2;

double topAt(double x) { return fishHalfHeight(fishStation(x)); }

// The triangle a-b-c wound to face along outward.
void triangleFacing(Mesh& m, uint16_t a, uint16_t b, uint16_t c, Vec3 outward, uint32_t group) {
    const Vec3 n = cross(m.vertices[b] - m.vertices[a], m.vertices[c] - m.vertices[a]);
    if (dot(n, outward) >= 0.0) m.addTriangle(a, b, c, group);
    else m.addTriangle(a, c, b, group);
}

struct FinPoint {
    Vec3 p;
    Vec2 uv;  // fin region coordinates, 0..1
};

// A thin fin: a star-shaped outline around centre, as two faces back to
// back, side normal apart. Returns the index of each outline point's front
// copy so callers can pick tips.
std::vector<uint16_t> addFin(Mesh& m, const FinPoint& centre, const std::vector<FinPoint>& outline, Vec3 side) {
    const Vec3 off = normalized(side) * FIN_HALF_THICK;
    auto add = [&](const FinPoint& f, double sign) {
        return m.addVertex(f.p + off * sign, atlasUv(ATLAS_FIN, f.uv.u, f.uv.v));
    };
    const uint16_t cf = add(centre, 1.0);
    const uint16_t cb = add(centre, -1.0);
    std::vector<uint16_t> front, back;
    for (const FinPoint& f : outline) {
        front.push_back(add(f, 1.0));
        back.push_back(add(f, -1.0));
    }
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        triangleFacing(m, cf, front[i], front[j], side, FIN_GROUP);
        triangleFacing(m, cb, back[i], back[j], side * -1.0, FIN_GROUP);
    }
    return front;
}

}  // namespace

ModelFile buildFish() {
    Mesh m;
    m.name = "Fish";
    m.material = "FishSkin";

    // Body rings, nose first.
    std::vector<double> ringX(RINGS);
    for (int i = 0; i < RINGS; ++i) {
        const double s = 0.03 + 0.97 * static_cast<double>(i) / (RINGS - 1);
        const double x = FISH_NOSE_X - s * (FISH_NOSE_X - FISH_TAIL_X);
        ringX[static_cast<size_t>(i)] = x;
        const double h = fishHalfHeight(s);
        const double w = fishHalfWidth(s);
        for (int j = 0; j < RING_POINTS; ++j) {
            const double a = TAU * j / RING_POINTS;
            const Vec3 p{x, w * dcos(a), h * dsin(a)};
            m.addVertex(p, atlasUv(ATLAS_SKIN, skinFx(p.x), skinFy(p.z)));
        }
    }
    auto ring = [](int i, int j) { return static_cast<uint16_t>(i * RING_POINTS + (j % RING_POINTS)); };
    const uint16_t nose = m.addVertex({FISH_NOSE_X + 3.0, 0.0, 0.0}, atlasUv(ATLAS_SKIN, 0.0, skinFy(0.0)));
    const uint16_t stalk = m.addVertex({FISH_TAIL_X - 0.5, 0.0, 0.0}, atlasUv(ATLAS_SKIN, 1.0, skinFy(0.0)));
    for (int i = 0; i + 1 < RINGS; ++i) {
        for (int j = 0; j < RING_POINTS; ++j) {
            const uint16_t a = ring(i, j), b = ring(i + 1, j), c = ring(i + 1, j + 1), d = ring(i, j + 1);
            const Vec3 mid = (m.vertices[a] + m.vertices[c]) * 0.5;
            m.addQuadFacing(a, b, c, d, mid - Vec3{mid.x, 0.0, 0.0}, BODY_GROUP);
        }
    }
    for (int j = 0; j < RING_POINTS; ++j) {
        const uint16_t a = ring(0, j), b = ring(0, j + 1);
        triangleFacing(m, nose, a, b, (m.vertices[a] + m.vertices[b]) * 0.5 - Vec3{ringX[0] - 6.0, 0.0, 0.0},
                       BODY_GROUP);
        const uint16_t c = ring(RINGS - 1, j), d = ring(RINGS - 1, j + 1);
        triangleFacing(m, stalk, c, d, Vec3{-1.0, 0.0, 0.0}, BODY_GROUP);
    }

    const Vec3 side{0.0, 1.0, 0.0};
    // Tail: a forked fin behind the stalk.
    auto tailUv = [](double x, double z) { return Vec2{(-38.0 - x) / 28.0, (24.0 - z) / 48.0}; };
    auto tailPoint = [&](double x, double z) { return FinPoint{{x, 0.0, z}, tailUv(x, z)}; };
    const std::vector<uint16_t> tail =
        addFin(m, tailPoint(-44.0, 0.0),
               {tailPoint(-38.0, 6.0), tailPoint(-66.0, 24.0), tailPoint(-54.0, 0.0), tailPoint(-66.0, -24.0),
                tailPoint(-38.0, -6.0)},
               side);
    // Back fin along the top.
    auto backPoint = [&](double x, double z) {
        return FinPoint{{x, 0.0, z}, {(24.0 - x) / 50.0, (40.0 - z) / 24.0}};
    };
    const std::vector<uint16_t> back =
        addFin(m, backPoint(0.0, topAt(0.0) + 2.0),
               {backPoint(24.0, topAt(24.0) - 2.0), backPoint(4.0, 40.0), backPoint(-10.0, 31.0),
                backPoint(-26.0, topAt(-26.0) - 1.0)},
               side);
    // Belly fin.
    auto bellyPoint = [&](double x, double z) {
        return FinPoint{{x, 0.0, z}, {(-10.0 - x) / 24.0, (z + topAt(x)) / -20.0}};
    };
    const std::vector<uint16_t> belly =
        addFin(m, bellyPoint(-20.0, -topAt(-20.0) + 1.0),
               {bellyPoint(-10.0, -topAt(-10.0) + 2.0), bellyPoint(-34.0, -topAt(-34.0) + 1.0),
                bellyPoint(-30.0, -29.0)},
               side);
    // Two side fins behind the gills, angled down and back.
    std::vector<uint16_t> sideTips;
    for (const double sign : {1.0, -1.0}) {
        const double w = fishHalfWidth(fishStation(34.0)) * 0.9;
        const FinPoint base1{{37.0, sign * w, -5.0}, {0.0, 0.3}};
        const FinPoint base2{{31.0, sign * w, -11.0}, {0.0, 0.7}};
        const FinPoint tip{{17.0, sign * (w + 10.0), -19.0}, {1.0, 0.8}};
        const FinPoint centre{{29.0, sign * (w + 2.5), -11.0}, {0.3, 0.6}};
        const Vec3 n = cross(base2.p - base1.p, tip.p - base1.p);
        const Vec3 facing = dot(n, Vec3{0.0, sign, 0.0}) >= 0.0 ? n : n * -1.0;
        const std::vector<uint16_t> fin = addFin(m, centre, {base1, tip, base2}, facing);
        sideTips.push_back(fin[1]);
    }

    // Collision outline first: nose, fin tips, then nine rings from head to
    // stalk, every other point of each.
    std::vector<uint16_t> first = {nose, tail[1], tail[2], tail[3], back[1], belly[2], sideTips[0], sideTips[1]};
    for (int k = 0; k < 9; ++k) {
        const int i = (k * (RINGS - 1) + 4) / 8;
        for (int j = 0; j < RING_POINTS; j += 2) first.push_back(ring(i, j));
    }
    m.moveVerticesToFront(first);

    // Centre the fish's bounding box on the origin: the collision body turns
    // about the origin of its points.
    Vec3 lo = m.vertices[0], hi = m.vertices[0];
    for (const Vec3& v : m.vertices) {
        lo = {std::fmin(lo.x, v.x), std::fmin(lo.y, v.y), std::fmin(lo.z, v.z)};
        hi = {std::fmax(hi.x, v.x), std::fmax(hi.y, v.y), std::fmax(hi.z, v.z)};
    }
    const Vec3 centre = (lo + hi) * 0.5;
    for (Vec3& v : m.vertices) v = v - centre;

    ModelFile f;
    f.file = "fish.3ds";
    Material mat;
    mat.name = "FishSkin";
    mat.ambient = rgb8(80, 80, 80);
    mat.diffuse = rgb8(230, 230, 230);
    mat.specular = rgb8(255, 255, 255);
    mat.shininess = 0.5;
    mat.textureFile = "box3.bmp";
    f.materials.push_back(mat);
    f.meshes.push_back(std::move(m));
    return f;
}

}  // namespace content
