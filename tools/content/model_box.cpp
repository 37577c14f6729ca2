// model_box.cpp: boxtex.3ds, a cargo box 33.3 units on a side centred on its
// origin (the show draws it at scale 0.012: the 0.4-unit box its collision
// simulation assumes). Each side has its own four corners, its own smoothing
// group (hard edges) and the full crate region of box3.bmp, upright.
#include "models.h"

namespace content {

namespace {

constexpr double BOX_HALF = 33.3 * 0.5;

}  // namespace

ModelFile buildBox() {
    Mesh m;
    m.name = "Box";
    m.material = "CrateMetal";
    struct Side {
        Vec3 normal, up;
    };
    const Side sides[6] = {{{0, -1, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 0, 1}},  {{0, 1, 0}, {0, 0, 1}},
                           {{-1, 0, 0}, {0, 0, 1}}, {{0, 0, 1}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}}};
    // Four sides stand upright (picture top at +z); top and bottom have +y
    // as their up.
    for (int s = 0; s < 6; ++s) {
        const Vec3 n = sides[s].normal;
        const Vec3 up = sides[s].up;
        const Vec3 right = cross(up, n);  // to the right for a viewer facing the side
        auto corner = [&](double fx, double fy) {
            const Vec3 p = (n + right * (2.0 * fx - 1.0) + up * (1.0 - 2.0 * fy)) * BOX_HALF;
            return m.addVertex(p, atlasUv(ATLAS_CRATE, fx, fy));
        };
        const uint16_t bl = corner(0.0, 1.0), br = corner(1.0, 1.0), tr = corner(1.0, 0.0), tl = corner(0.0, 0.0);
        m.addQuadFacing(bl, br, tr, tl, n, 1u << s);
    }
    ModelFile f;
    f.file = "boxtex.3ds";
    Material mat;
    mat.name = "CrateMetal";
    mat.ambient = rgb8(90, 90, 90);
    mat.diffuse = rgb8(220, 220, 220);
    mat.specular = rgb8(200, 200, 200);
    mat.shininess = 0.3;
    mat.textureFile = "box3.bmp";
    f.materials.push_back(mat);
    f.meshes.push_back(std::move(m));
    return f;
}

// In the order the build writes them.
std::vector<ModelFile> buildModels() { return {buildSculpture(), buildFish(), buildBox()}; }

}  // namespace content
