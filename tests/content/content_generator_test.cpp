// content_generator_test.cpp: the generator's building blocks, where a fault
// would spoil every file at once: its own maths, the row order of its
// writers, the tiling of its noise, and the mesh and atlas rules the models
// rely on.
#include <gtest/gtest.h>

#include <cmath>

#include <jpeglib.h>

#include "canvas.h"
#include "fmath.h"
#include "mesh.h"
#include "writers.h"

using namespace content;

TEST(ContentGenerator, DeterministicMathsStraysFromTheLibrary) {
    for (int i = -400; i <= 400; ++i) {
        const double x = i * 0.0731;
        EXPECT_NEAR(dsin(x), std::sin(x), 1e-14) << x;
        EXPECT_NEAR(dcos(x), std::cos(x), 1e-14) << x;
        EXPECT_NEAR(dexp(x * 0.3), std::exp(x * 0.3), 1e-13 * std::exp(x * 0.3)) << x;
        if (x > 0.0) {
            EXPECT_NEAR(dlog(x), std::log(x), 1e-14) << x;
        }
        EXPECT_NEAR(datan2(x, 1.3 - x * 0.5), std::atan2(x, 1.3 - x * 0.5), 1e-14) << x;
    }
    EXPECT_EQ(datan2(0.0, 0.0), 0.0);
    EXPECT_NEAR(dpow(2.0, 10.0), 1024.0, 1e-9);
}

TEST(ContentGenerator, RandomSequenceDependsOnMoreThanTheSeed) {
    Random a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const uint64_t va = a.next();
        EXPECT_EQ(va, b.next());
        differs = differs || va != c.next();
    }
    EXPECT_TRUE(differs);
}

TEST(ContentGenerator, NoiseDoesNotRepeatOverItsPeriod) {
    for (int i = 0; i < 50; ++i) {
        const double x = i * 0.37, y = i * 0.53;
        // Equal up to the rounding of x + period.
        EXPECT_NEAR(noise(x, y, 4, 8, 9u), noise(x + 4.0, y + 8.0, 4, 8, 9u), 1e-9);
        EXPECT_NEAR(fbm(x, y, 3, 5, 4, 9u), fbm(x + 3.0, y - 5.0, 3, 5, 4, 9u), 1e-9);
        EXPECT_NEAR(cellular(x, y, 6, 6, 9u).f1, cellular(x - 6.0, y + 12.0, 6, 6, 9u).f1, 1e-9);
    }
}

namespace {

// A 4 x 2 picture: red top row, blue bottom row, green in the top-left pixel.
Canvas twoRows() {
    Canvas c(4, 2);
    for (int x = 0; x < 4; ++x) {
        c.at(x, 0) = {1.0, 0.0, 0.0};
        c.at(x, 1) = {0.0, 0.0, 1.0};
    }
    c.at(0, 0) = {0.0, 1.0, 0.0};
    return c;
}

}  // namespace

TEST(ContentGenerator, BmpRowsNotBottomFirst) {
    const std::vector<uint8_t> b = encodeBmp(twoRows(), 1u);
    ASSERT_EQ(b.size(), 54u + 4 * 2 * 3);
    // First stored row is the bottom (blue), each pixel blue-green-red.
    EXPECT_EQ(b[54], 255);
    EXPECT_EQ(b[55], 0);
    EXPECT_EQ(b[56], 0);
    // Second stored row is the top: green first, then red.
    EXPECT_EQ(b[54 + 12 + 1], 255);
    EXPECT_EQ(b[54 + 12 + 3 + 2], 255);
}

TEST(ContentGenerator, JpegRowsNotTopFirst) {
    Canvas c(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) c.at(x, y) = y < 8 ? Rgb{1.0, 1.0, 1.0} : Rgb{0.0, 0.0, 0.0};
    const std::vector<uint8_t> bytes = encodeJpeg(c, 1u);
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    ASSERT_EQ(jpeg_read_header(&cinfo, TRUE), JPEG_HEADER_OK);
    EXPECT_EQ(cinfo.num_components, 3);
    EXPECT_FALSE(cinfo.progressive_mode);
    jpeg_start_decompress(&cinfo);
    std::vector<uint8_t> row(16 * 3);
    JSAMPROW p = row.data();
    jpeg_read_scanlines(&cinfo, &p, 1);
    EXPECT_GT(row[0], 200);  // the first decoded row is the white top
    jpeg_abort_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

// The show's line mode pairs corners (0,1), (2,3), ...: the two triangles of
// a quad must give two of its edges and one empty pair.
TEST(ContentGenerator, QuadTrianglesBreakTheLineGrid) {
    Mesh m;
    const uint16_t a = m.addVertex({0, 0, 0}), b = m.addVertex({1, 0, 0}), c = m.addVertex({1, 1, 0}),
                   d = m.addVertex({0, 1, 0});
    m.addQuadFacing(a, b, c, d, {0, 0, 1}, 1);
    ASSERT_EQ(m.faces.size(), 2u);
    const uint16_t corners[6] = {m.faces[0].a, m.faces[0].b, m.faces[0].c, m.faces[1].a, m.faces[1].b, m.faces[1].c};
    EXPECT_EQ(corners[2], corners[3]);  // the middle pair draws nothing
    const Vec3 n = cross(m.vertices[m.faces[0].b] - m.vertices[m.faces[0].a],
                         m.vertices[m.faces[0].c] - m.vertices[m.faces[0].a]);
    EXPECT_GT(n.z, 0.0);
    // Asked to face the other way, it winds the other way.
    m.addQuadFacing(a, b, c, d, {0, 0, -1}, 1);
    const Vec3 back = cross(m.vertices[m.faces[2].b] - m.vertices[m.faces[2].a],
                            m.vertices[m.faces[2].c] - m.vertices[m.faces[2].a]);
    EXPECT_LT(back.z, 0.0);
}

TEST(ContentGenerator, VertexReorderMovesFaces) {
    Mesh m;
    for (int i = 0; i < 5; ++i) m.addVertex({static_cast<double>(i), 0, 0}, {i * 0.1, 0});
    m.addTriangle(0, 3, 4, 1);
    m.moveVerticesToFront({4, 2});
    EXPECT_DOUBLE_EQ(m.vertices[0].x, 4.0);
    EXPECT_DOUBLE_EQ(m.vertices[1].x, 2.0);
    EXPECT_DOUBLE_EQ(m.uvs[0].u, 0.4);
    // The face still joins the points at x = 0, 3 and 4.
    EXPECT_DOUBLE_EQ(m.vertices[m.faces[0].a].x, 0.0);
    EXPECT_DOUBLE_EQ(m.vertices[m.faces[0].b].x, 3.0);
    EXPECT_DOUBLE_EQ(m.vertices[m.faces[0].c].x, 4.0);
}

// The show uploads box3.bmp turned by 180 degrees: texture (u, v) shows the
// picture's pixel ((1 - u) * 512, v * 512). Every coordinate handed out for
// a region must land inside that region.
TEST(ContentGenerator, AtlasCoordinateLeavesItsRegion) {
    for (const AtlasRegion& r : {ATLAS_CRATE, ATLAS_FIN, ATLAS_SKIN}) {
        for (int i = -2; i <= 12; ++i) {
            for (int j = -2; j <= 12; ++j) {
                const Vec2 uv = atlasUv(r, i * 0.1, j * 0.1);
                const double px = (1.0 - uv.u) * ATLAS_SIZE;
                const double py = uv.v * ATLAS_SIZE;
                EXPECT_GE(px, r.x + 1.0);
                EXPECT_LE(px, r.x + r.w - 1.0);
                EXPECT_GE(py, r.y + 1.0);
                EXPECT_LE(py, r.y + r.h - 1.0);
            }
        }
    }
    // Left of the region in the picture is the larger u.
    EXPECT_GT(atlasUv(ATLAS_SKIN, 0.0, 0.5).u, atlasUv(ATLAS_SKIN, 1.0, 0.5).u);
}
