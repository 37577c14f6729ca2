// model_allt.cpp: allt.3ds, the show's main model: a sculpture of three
// parts around one centre, about 460 units across.
//
//   Knot: a trefoil knot tube, soft all over (one smoothing group).
//   Band: a thick band around everything with three half twists; its broad
//         and narrow sides are separate smoothing groups, so its edges stay
//         sharp while it flows.
//   Core: a pillow-shaped cube in the middle; each side its own smoothing
//         group, so it is soft within a side and creased between sides.
//
// Everything is built of quads whose triangles are ordered for the show's
// line drawing (see Mesh::addQuad), so the intro's white lines trace clean
// grids: rings and lengths of the tube, the band's ribs, the cube's panels.
#include <cmath>

#include "fmath.h"
#include "models.h"

namespace content {

namespace {

constexpr double KNOT_RADIUS = 118.0;     // main radius of the trefoil
constexpr double KNOT_SWING = 52.0;       // how far it weaves in and out
constexpr double KNOT_TUBE = 19.0;        // tube radius
constexpr int KNOT_SEGMENTS = 132;
constexpr int KNOT_SIDES = 8;
constexpr double BAND_RADIUS = 206.0;
constexpr double BAND_HALF_WIDTH = 20.0;
constexpr double BAND_HALF_THICK = 5.0;
constexpr int BAND_SEGMENTS = 108;
constexpr double BAND_TILT = 0.42;        // radians the band leans against the knot
constexpr double CORE_RADIUS = 34.0;
constexpr int CORE_STEPS = 2;             // half the quads along each side of a cube face

Vec3 trefoil(double t) {
    const double rho = KNOT_RADIUS + KNOT_SWING * dcos(3.0 * t);
    return {rho * dcos(2.0 * t), rho * dsin(2.0 * t), KNOT_SWING * 1.1 * dsin(3.0 * t)};
}

Mesh buildKnot() {
    Mesh m;
    m.name = "Knot";
    m.material = "Sculpture";
    std::vector<Vec3> centres(KNOT_SEGMENTS);
    for (int i = 0; i < KNOT_SEGMENTS; ++i) {
        const double t = TAU * i / KNOT_SEGMENTS;
        const double h = 1e-3;
        const Vec3 c = trefoil(t);
        centres[static_cast<size_t>(i)] = c;
        // Frenet frame from central differences: the trefoil never runs
        // straight, so the frame is defined everywhere and closes on itself.
        const Vec3 d1 = (trefoil(t + h) - trefoil(t - h)) * (0.5 / h);
        const Vec3 d2 = (trefoil(t + h) - c * 2.0 + trefoil(t - h)) * (1.0 / (h * h));
        const Vec3 tangent = normalized(d1);
        const Vec3 binormal = normalized(cross(d1, d2));
        const Vec3 normal = cross(binormal, tangent);
        for (int j = 0; j < KNOT_SIDES; ++j) {
            const double a = TAU * j / KNOT_SIDES;
            const Vec3 p = c + (normal * dcos(a) + binormal * dsin(a)) * KNOT_TUBE;
            m.addVertex(p, {static_cast<double>(i) / KNOT_SEGMENTS, static_cast<double>(j) / KNOT_SIDES});
        }
    }
    auto vi = [](int i, int j) {
        return static_cast<uint16_t>((i % KNOT_SEGMENTS) * KNOT_SIDES + (j % KNOT_SIDES));
    };
    for (int i = 0; i < KNOT_SEGMENTS; ++i) {
        for (int j = 0; j < KNOT_SIDES; ++j) {
            const uint16_t a = vi(i, j), b = vi(i + 1, j), c = vi(i + 1, j + 1), d = vi(i, j + 1);
            const Vec3 mid = (m.vertices[a] + m.vertices[c]) * 0.5;
            m.addQuadFacing(a, b, c, d, mid - centres[static_cast<size_t>(i)], 1);
        }
    }
    return m;
}

// A point of the band: ring angle t, corner k of the twisted section.
Vec3 bandPoint(double t, int k) {
    static const double corners[4][2] = {{BAND_HALF_WIDTH, BAND_HALF_THICK},
                                         {-BAND_HALF_WIDTH, BAND_HALF_THICK},
                                         {-BAND_HALF_WIDTH, -BAND_HALF_THICK},
                                         {BAND_HALF_WIDTH, -BAND_HALF_THICK}};
    const double twist = 1.5 * t;  // three half turns around the ring
    const double cr = corners[k][0] * dcos(twist) - corners[k][1] * dsin(twist);
    const double ca = corners[k][0] * dsin(twist) + corners[k][1] * dcos(twist);
    const double r = BAND_RADIUS + cr;
    const Vec3 flat{r * dcos(t), r * dsin(t), ca};
    // Lean the whole ring about the x axis.
    return {flat.x, flat.y * dcos(BAND_TILT) - flat.z * dsin(BAND_TILT), flat.y * dsin(BAND_TILT) + flat.z * dcos(BAND_TILT)};
}

Mesh buildBand() {
    Mesh m;
    m.name = "Band";
    m.material = "Sculpture";
    for (int i = 0; i < BAND_SEGMENTS; ++i)
        for (int k = 0; k < 4; ++k)
            m.addVertex(bandPoint(TAU * i / BAND_SEGMENTS, k),
                        {static_cast<double>(i) / BAND_SEGMENTS, k / 4.0});
    // After a full turn the section has turned by half a turn: corner k
    // continues as corner k + 2, so the last segment joins shifted.
    auto vi = [](int i, int k) {
        const int shift = i >= BAND_SEGMENTS ? 2 : 0;
        return static_cast<uint16_t>((i % BAND_SEGMENTS) * 4 + (k + shift) % 4);
    };
    for (int i = 0; i < BAND_SEGMENTS; ++i) {
        const double t = TAU * (i + 0.5) / BAND_SEGMENTS;
        for (int k = 0; k < 4; ++k) {
            // Broad sides (0, 2) join each other through the twist, and so do
            // the narrow ones (1, 3): one smoothing group for each pair.
            const uint32_t group = (k % 2 == 0) ? 2u : 4u;
            const uint16_t a = vi(i, k), b = vi(i + 1, k), c = vi(i + 1, k + 1), d = vi(i, k + 1);
            const Vec3 mid = (m.vertices[a] + m.vertices[b] + m.vertices[c] + m.vertices[d]) * 0.25;
            const Vec3 axis = (bandPoint(t, 0) + bandPoint(t, 2)) * 0.5;  // section centre
            m.addQuadFacing(a, b, c, d, mid - axis, group);
        }
    }
    return m;
}

Mesh buildCore() {
    Mesh m;
    m.name = "Core";
    m.material = "Sculpture";
    // Shared corner and edge vertices, found by their lattice position, so
    // the reader's smoothing groups (not separate vertices) make the creases.
    constexpr int n = CORE_STEPS;
    std::vector<int> lattice((2 * n + 1) * (2 * n + 1) * (2 * n + 1), -1);
    auto vertex = [&](int x, int y, int z) {
        int& slot = lattice[static_cast<size_t>(((x + n) * (2 * n + 1) + (y + n)) * (2 * n + 1) + (z + n))];
        if (slot < 0) {
            const Vec3 cube{static_cast<double>(x) / n, static_cast<double>(y) / n, static_cast<double>(z) / n};
            const Vec3 sphere = normalized(cube);
            // Halfway between cube and sphere: a pillow with soft faces.
            const Vec3 p = (cube * 0.55 + sphere * 0.45) * CORE_RADIUS;
            slot = m.addVertex(p, {0.5 + 0.5 * cube.x, 0.5 + 0.5 * cube.y});
        }
        return static_cast<uint16_t>(slot);
    };
    for (int face = 0; face < 6; ++face) {
        const int axis = face / 2;
        const int sign = (face % 2 == 0) ? 1 : -1;
        const uint32_t group = 8u << face;
        for (int i = -n; i < n; ++i) {
            for (int j = -n; j < n; ++j) {
                auto at = [&](int a, int b) {
                    int c[3];
                    c[axis] = sign * n;
                    c[(axis + 1) % 3] = a;
                    c[(axis + 2) % 3] = b;
                    return vertex(c[0], c[1], c[2]);
                };
                Vec3 out{};
                (axis == 0 ? out.x : axis == 1 ? out.y : out.z) = sign;
                m.addQuadFacing(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1), out, group);
            }
        }
    }
    return m;
}

}  // namespace

ModelFile buildSculpture() {
    ModelFile f;
    f.file = "allt.3ds";
    Material m;
    m.name = "Sculpture";
    m.ambient = rgb8(60, 50, 110);
    m.diffuse = rgb8(150, 140, 230);
    m.specular = rgb8(255, 255, 255);
    m.shininess = 0.6;
    m.textureFile = "box3.bmp";
    f.materials.push_back(m);
    f.meshes.push_back(buildKnot());
    f.meshes.push_back(buildBand());
    f.meshes.push_back(buildCore());
    // Built facing +z; the intro turns the model 270 degrees about x, which
    // shows its -y side with z up, so turn (x, y, z) into (x, -z, y).
    for (Mesh& m : f.meshes)
        for (Vec3& v : m.vertices) v = Vec3{v.x, -v.z, v.y};
    return f;
}

}  // namespace content
