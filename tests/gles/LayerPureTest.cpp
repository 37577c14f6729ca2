// LayerPureTest.cpp: the GL 1.x layer's computations, without a context:
// matrices, shader keys and their sources, quad splitting, pixel unpacking
// and packing, and attribute groups. Each case names the fault it would catch.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "gles/Assembly.h"
#include "gles/LayerState.h"
#include "gles/Matrix.h"
#include "gles/ShaderKey.h"

using namespace gles;

namespace {

void expectNear(const Mat4& a, const Mat4& b)
{
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], 1e-5f) << "element " << i;
}

}  // namespace

TEST(GlesMatrix, RotationTurnsAboutTheAxisCounterClockwiseAndPostMultiplies)
{
    // 90 degrees about z takes x to y; translating after rotating moves
    // along the rotated axis (a pre-multiplying layer would get (1, 0)).
    const Mat4 m = multiply(rotation(90.0f, 0, 0, 2), translation(1, 0, 0));
    const auto p = transform(m, {0, 0, 0, 1});
    EXPECT_NEAR(p[0], 0.0f, 1e-6f);
    EXPECT_NEAR(p[1], 1.0f, 1e-6f);
}

TEST(GlesMatrix, PerspectiveAndOrthoMatchTheFixedFunctionFormulas)
{
    // 45 degrees, aspect 1, near 1, far 100: the scene projection.
    const float f = static_cast<float>(1.0 / std::tan(22.5 * M_PI / 180.0));
    expectNear(perspective(45.0, 1.0, 1.0, 100.0), {f, 0, 0, 0, 0, f, 0, 0, 0, 0, -101.0f / 99.0f, -1, 0, 0, -200.0f / 99.0f, 0});
    // The overlay's flipped ortho: bottom 1, top -1.
    expectNear(ortho(-1, 1, 1, -1, -1, 1), {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1});
}

TEST(GlesMatrix, NormalMatrixUndoesNonUniformScale)
{
    Mat4 scale = identity();
    scale[0] = 2.0f;
    const Mat3 n = normalMatrix(scale);
    EXPECT_NEAR(n[0], 0.5f, 1e-6f);
    EXPECT_NEAR(n[4], 1.0f, 1e-6f);
    EXPECT_EQ(normalMatrix(Mat4{}), Mat3{});  // singular: no division by zero
}

TEST(GlesShaderKey, KeyFollowsTheStateThatChangesTheShader)
{
    LayerState s;
    std::string missing;
    EXPECT_EQ(keyFor(s, missing).packed(), 0u);

    // Texturing on with nothing uploaded draws untextured, as GL does with
    // an incomplete texture.
    s.server.texture.enabled2D = true;
    s.server.texture.binding = 7;
    EXPECT_EQ(keyFor(s, missing).texture, BaseFormat::None);
    s.textures[7] = BaseFormat::Luminance;
    EXPECT_EQ(keyFor(s, missing).texture, BaseFormat::Luminance);

    // Generation only counts with a texture; normalising only with normals in use.
    s.server.transform.normalize = true;
    s.server.texture.genS = s.server.texture.genT = true;
    s.server.texture.genModeS = s.server.texture.genModeT = GL_SPHERE_MAP;
    ShaderKey key = keyFor(s, missing);
    EXPECT_TRUE(key.sphereS && key.sphereT && key.normalize);
    EXPECT_TRUE(missing.empty());
    s.server.texture.enabled2D = false;
    key = keyFor(s, missing);
    EXPECT_FALSE(key.sphereS || key.normalize);

    // Modes the layer cannot draw are named, not drawn silently wrong.
    s.server.fog.enabled = true;
    keyFor(s, missing);
    EXPECT_EQ(missing, "fog mode 0x0800") << "the mode asked for, by value";
    s.server.fog.mode = GL_LINEAR;
    missing.clear();
    EXPECT_TRUE(keyFor(s, missing).fog);
    EXPECT_TRUE(missing.empty());
}

TEST(GlesShaderKey, SourcesCarryEachFeatureOnlyWhenKeyed)
{
    ShaderKey plain;
    ShaderKey full;
    full.lighting = full.light0 = full.flat = full.fog = full.sphereS = full.sphereT = true;
    full.texture = BaseFormat::Rgb;
    full.env = TexEnv::Decal;
    const std::string v = vertexSource(full), f = fragmentSource(full);
    for (const char* piece : {"flat out vec4 vColor", "uLightPosition", "sphere.x", "sphere.y"}) {
        EXPECT_NE(v.find(piece), std::string::npos) << piece;
        EXPECT_EQ(vertexSource(plain).find(piece), std::string::npos) << piece;
    }
    for (const char* piece : {"flat in vec4 vColor", "t.a = 1.0", "mix(c.rgb, t.rgb, t.a)", "uFogEnd"}) {
        EXPECT_NE(f.find(piece), std::string::npos) << piece;
        EXPECT_EQ(fragmentSource(plain).find(piece), std::string::npos) << piece;
    }
    EXPECT_NE(plain.packed(), full.packed());
}

TEST(GlesAssembly, QuadIndicesKeepEachQuadsLastVertexLastInBothTriangles)
{
    const std::vector<uint32_t> indices = quadIndices(2);
    const std::vector<uint32_t> expected = {0, 1, 3, 1, 2, 3, 4, 5, 7, 5, 6, 7};
    EXPECT_EQ(indices, expected);
    EXPECT_TRUE(quadIndices(0).empty());
}

TEST(GlesAssembly, ArraysThatAreOffTakeTheCurrentValues)
{
    const float interleaved[10] = {0.25f, 0.5f, 1, 2, 3, 0.75f, 1.0f, 4, 5, 6};  // T2F_V3F
    ClientState client;
    client.texCoord = {true, 2, 5 * sizeof(float), interleaved};
    client.vertex = {true, 3, 5 * sizeof(float), interleaved + 2};
    CurrentState current;
    current.normal = {0, 1, 0};
    const Vertex v = fetchVertex(client, current, 1);
    EXPECT_EQ(v.position[0], 4.0f);
    EXPECT_EQ(v.position[3], 1.0f);
    EXPECT_EQ(v.texCoord[0], 0.75f);
    EXPECT_EQ(v.normal[1], 1.0f);
}

TEST(GlesAssembly, UnpackHonoursAlignmentFormatsAndTypes)
{
    // A 1 x 2 RGB picture with 4-byte row alignment: a byte of padding per row.
    const uint8_t rgb[8] = {1, 2, 3, 0, 4, 5, 6, 0};
    std::vector<uint8_t> out;
    ASSERT_TRUE(unpackToRgba(1, 2, GL_RGB, GL_UNSIGNED_BYTE, 4, rgb, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3, 255, 4, 5, 6, 255}));
    const uint32_t wide[3] = {0xFF000000u, 0x80000000u, 0};  // UNSIGNED_INT keeps the top byte
    ASSERT_TRUE(unpackToRgba(1, 1, GL_RGB, GL_UNSIGNED_INT, 4, wide, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{255, 128, 0, 255}));
    const uint8_t grey[1] = {9};
    ASSERT_TRUE(unpackToRgba(1, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE, 1, grey, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{9, 9, 9, 255}));
    EXPECT_FALSE(unpackToRgba(1, 1, GL_BGRA, GL_UNSIGNED_BYTE, 4, grey, out));
}

TEST(GlesAssembly, PackKeepsRowPaddingAndSwapsRedAndBlueOnlyForBgra)
{
    // Two rows of two pixels, as ES 3 reads them; the format, the alignment
    // and the packed bytes (0xEE: padding, left as it was).
    const std::vector<uint8_t> rgba = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const std::tuple<unsigned, int, std::vector<uint8_t>> cases[] = {
        {GL_RGB, 4, {1, 2, 3, 5, 6, 7, 0xEE, 0xEE, 9, 10, 11, 13, 14, 15, 0xEE, 0xEE}},
        {GL_RGB, 1, {1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, 0xEE, 0xEE, 0xEE, 0xEE}},
        {GL_RGBA, 8, rgba},
        {GL_BGRA, 4, {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16}},
    };
    for (const auto& [format, alignment, packed] : cases) {
        std::vector<uint8_t> out(16, 0xEE);
        ASSERT_TRUE(packFromRgba(2, 2, format, GL_UNSIGNED_BYTE, alignment, rgba, out.data())) << format;
        EXPECT_EQ(out, packed) << "format " << format << ", alignment " << alignment;
    }
    std::vector<uint8_t> out(16);
    EXPECT_FALSE(packFromRgba(2, 2, GL_LUMINANCE, GL_UNSIGNED_BYTE, 4, rgba, out.data()));
    EXPECT_FALSE(packFromRgba(2, 2, GL_RGBA, GL_UNSIGNED_INT, 4, rgba, out.data()));
}

TEST(GlesAssembly, NonPowerOfTwoPicturesScaleToTheNearestPowerAveragingTheirBoxes)
{
    // 3 x 5 pixels, all different (10 x + 50 y), to 4 x 4: each new pixel
    // the rounded mean of the old ones its box touches.
    int w = 3, h = 5;
    std::vector<uint8_t> rgba;
    for (int i = 0; i < w * h * 4; ++i) rgba.push_back(static_cast<uint8_t>(i / 4 % w * 10 + i / 4 / w * 50));
    scaleToPowerOfTwo(w, h, rgba, 1024);
    ASSERT_EQ(std::make_pair(w, h), std::make_pair(4, 4));
    ASSERT_EQ(rgba.size(), 64u);
    // (0, 0) covers old x 0, y 0..1; (3, 3) x 2, y 3..4; (1, 2) x 0..1, y 2..3.
    EXPECT_EQ(rgba[0], (0 + 50) / 2);
    EXPECT_EQ(rgba[(3 * 4 + 3) * 4], (170 + 220) / 2);
    EXPECT_EQ(rgba[(2 * 4 + 1) * 4 + 3], (100 + 110 + 150 + 160) / 4) << "alpha alike";
}

TEST(GlesAttribs, PopRestoresOnlyTheSavedGroups)
{
    ServerState now, saved;
    saved.lighting.lighting = true;
    saved.texture.binding = 3;
    saved.other.blend = true;  // no group the show pushes holds blending
    restoreGroups(now, saved, GL_LIGHTING_BIT | GL_POINT_BIT);
    EXPECT_TRUE(now.lighting.lighting);
    EXPECT_EQ(now.texture.binding, 0u);
    EXPECT_FALSE(now.other.blend);
}

TEST(GlesScissor, OnlyAShutBoxWithTheTestOnLeavesDrawsOut)
{
    // {test on, width, height, shut}: the stepped frames' box; no width; no
    // height; a shut box not applied; one pixel that still shows.
    const int cases[][4] = {{1, 0, 0, 1}, {1, 0, 600, 1}, {1, 800, 0, 1}, {0, 0, 0, 0}, {1, 1, 1, 0}};
    for (const auto& c : cases) {
        ServerState state;
        state.scissor = {c[0] != 0, {10, 20, c[1], c[2]}};
        EXPECT_EQ(scissorShutsEverything(state), c[3] != 0) << c[0] << " " << c[1] << " x " << c[2];
    }
}
