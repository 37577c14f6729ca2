// EffectsGlTest.cpp: the effects' drawing with a real GL context from the
// headless backend. The effects send their geometry as vertex arrays; each
// is checked pixel for pixel against the same primitives sent vertex by
// vertex, one batch per primitive as the show's look was made with, and
// for the GL state it leaves to the part that follows.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "common/Screen.h"
#include "common/ShowGlobals.h"
#include "common/ShowRandom.h"
#include "effects/Metaballs.h"
#include "effects/Tunnel.h"
#include "effects/Tunnel2.h"
#include "effects/Wave.h"
#include "image/Texture.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/DemoParts.h"
#include "shell/RenderKit.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

class NoShow : public Show {
public:
    void loadShow() override {}
    void drawFrame() override {}
};

struct EffectsGl : testing::Test {
    platform::HeadlessPlatform headless;
    NoShow noShow;
    Shell shell{headless, noShow};
    std::unique_ptr<RenderKit> kit;

    void SetUp() override
    {
        platform::setCurrent(&headless);
        if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
            GTEST_SKIP() << "no GL context available";
        }
        kit = std::make_unique<RenderKit>(headless);
        // The scenes' projection, depth test and a current white.
        kit->scenePerspective();
        depthSetup();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override
    {
        kit.reset();
        shell.closeWindow();
        platform::setCurrent(nullptr);
    }

    // Clears, runs draw, and returns the picture and the current normal and
    // texture coordinate it left.
    struct Result {
        std::vector<uint8_t> picture;
        std::array<float, 4> normal{};
        std::array<float, 4> texCoord{};
    };
    template <class Draw>
    Result render(Draw draw)
    {
        glNormal3f(0.0f, 0.0f, 1.0f);
        glTexCoord2f(0.5f, 0.5f);
        glDisable(GL_FOG);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
        Result result;
        result.picture = headless.readPicture();
        glGetFloatv(GL_CURRENT_NORMAL, result.normal.data());
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, result.texCoord.data());
        return result;
    }

    // Both pictures alike to the byte, and not blank.
    void expectSame(const Result& arrays, const Result& batches, const char* what)
    {
        ASSERT_EQ(arrays.picture.size(), batches.picture.size());
        size_t differing = 0, lit = 0;
        for (size_t i = 0; i < arrays.picture.size(); ++i) {
            differing += arrays.picture[i] != batches.picture[i];
            lit += batches.picture[i] > 16;
        }
        EXPECT_EQ(differing, 0u) << what << ": bytes that differ";
        EXPECT_GT(lit, batches.picture.size() / 50) << what << " drew next to nothing";
        EXPECT_EQ(arrays.normal, batches.normal) << what << ": current normal left behind";
        EXPECT_EQ(arrays.texCoord, batches.texCoord) << what << ": current texture coordinate left behind";
    }
};

// A made-up picture with a different colour in each corner region, so any
// texture coordinate that differs shows.
std::uint32_t makeTestTexture(bool sphereMap)
{
    std::vector<uint8_t> rgba(64 * 64 * 4);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = &rgba[(y * 64 + x) * 4];
            p[0] = static_cast<uint8_t>(x * 4);
            p[1] = static_cast<uint8_t>(y * 4);
            p[2] = static_cast<uint8_t>(((x / 8 + y / 8) % 2) * 200 + 40);
            p[3] = 255;
        }
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    if (sphereMap) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_NORMALIZE);
    }
    return name;
}

// The wave's surface, one vertex at a time in a single triangle batch.
void waveOneVertexAtATime(const Wave& wave)
{
    glPushAttrib(0x1F52);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBindTexture(GL_TEXTURE_2D, wave.texture);
    glBegin(GL_TRIANGLES);
    const auto send = [&](int c, int r) {
        const WavePoint& p = wave.at(c, r);
        glNormal3f(p.nx, p.ny, p.nz);
        glVertex3f(p.x, p.y, p.z);
    };
    for (int c = 2; c < wave.width - 2; ++c) {
        for (int r = 2; r < wave.height - 2; ++r) {
            send(c, r);
            send(c + 1, r);
            send(c, r + 1);
            send(c + 1, r);
            send(c + 1, r + 1);
            send(c, r + 1);
        }
    }
    glEnd();
    glPopAttrib();
}

// The last metaball surface, one vertex at a time in a single batch.
void metaballsOneVertexAtATime(const Metaballs& balls, int mode)
{
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -3.0f);
    glDisable(GL_LIGHTING);
    if (mode == DRAW_ENVMAP) {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glBindTexture(GL_TEXTURE_2D, balls.envTexture);
        glBegin(GL_TRIANGLES);
    } else {
        glColor3f(1.0f, 1.0f, 1.0f);
        glBegin(GL_LINES);
    }
    for (int n = 0; n < balls.surfaceVertexCount; ++n) {
        const float* v = balls.surface.get() + n * Metaballs::SURFACE_STRIDE;
        glNormal3f(v[0], v[1], v[2]);
        glVertex3f(v[3], v[4], v[5]);
    }
    glEnd();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

// One quad in its own batch: (u0, vNear) at a, (u1, vNear) at b,
// (u1, vFar) at c, (u0, vFar) at d.
void quadBatch(float u0, float u1, TextureRow v, const TunnelPoint& a, const TunnelPoint& b, const TunnelPoint& c,
               const TunnelPoint& d)
{
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v.vNear);
    glVertex3f(a[0], a[1], a[2]);
    glTexCoord2f(u1, v.vNear);
    glVertex3f(b[0], b[1], b[2]);
    glTexCoord2f(u1, v.vFar);
    glVertex3f(c[0], c[1], c[2]);
    glTexCoord2f(u0, v.vFar);
    glVertex3f(d[0], d[1], d[2]);
    glEnd();
}

// The corridor, one batch per quad.
void corridorQuadByQuad(const Tunnel& tunnel, int t)
{
    glPushAttrib(0xB50);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, tunnel.texture);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glLoadIdentity();
    glRotatef(static_cast<float>(t), 0, 0, 1);
    glRotatef(static_cast<float>(t), 0, 1, 0);
    glTranslatef(0, 0, 40 * 2.0f / 3.0f);
    for (int i = 0; i < 59; ++i) {
        const TextureRow v = Tunnel::textureRow(t, i);
        for (int j = 0; j < 39; ++j) {
            const float u0 = j / 40.0f, u1 = (j + 1) / 40.0f;
            for (const auto* rows : {&tunnel.upperRows, &tunnel.lowerRows}) {
                quadBatch(u0, u1, v, (*rows)[i].point(j), (*rows)[i].point(j + 1), (*rows)[i + 1].point(j + 1),
                          (*rows)[i + 1].point(j));
            }
        }
    }
    glPopMatrix();
    glPopAttrib();
}

// The tube as it stands, one batch per quad, the closing quad last.
void tubeQuadByQuad(const Tunnel2& tube, int t)
{
    glPushAttrib(0xB50);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, tube.texture);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glLoadIdentity();
    for (int i = 0; i < 59; ++i) {
        const TextureRow v = tube.textureRow(t, i);
        const TunnelRing& near = tube.rings[i];
        const TunnelRing& far = tube.rings[i + 1];
        for (int j = 0; j < 39; ++j) {
            quadBatch(j / 40.0f, (j + 1) / 40.0f, v, near.point(j), near.point(j + 1), far.point(j + 1), far.point(j));
        }
        quadBatch(39 / 40.0f, 1.0f, v, near.point(39), near.point(0), far.point(0), far.point(39));
    }
    glPopMatrix();
    glPopAttrib();
}

}  // namespace

TEST_F(EffectsGl, WaveArraysDrawTheSamePixelsAsOneVertexAtATime)
{
    Wave wave(50, 50);
    wave.texture = makeTestTexture(true);
    wave.poke(20, 30, 1.0f);
    wave.poke(33, 12, 1.0f);
    for (int frame = 0; frame < 40; ++frame) wave.update(10);
    const auto place = [] {
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, -55.0f);
    };
    const Result arrays = render([&] { place(); wave.draw(); glPopMatrix(); });
    const Result batches = render([&] { place(); waveOneVertexAtATime(wave); glPopMatrix(); });
    expectSame(arrays, batches, "wave");
}

TEST_F(EffectsGl, MetaballArraysDrawTheSamePixelsAsOneVertexAtATime)
{
    fillTrigTables();
    Metaballs balls;
    balls.envTexture = makeTestTexture(true);
    for (const int mode : {DRAW_ENVMAP, DRAW_LINES}) {
        glColor3f(1.0f, 1.0f, 1.0f);
        const Result arrays = render([&] { balls.draw(321, mode); });
        const Result batches = render([&] { metaballsOneVertexAtATime(balls, mode); });
        expectSame(arrays, batches, mode == DRAW_ENVMAP ? "metaballs" : "metaball lines");
    }
}

TEST_F(EffectsGl, CorridorArraysDrawTheSamePixelsAsOneQuadPerBatch)
{
    Tunnel tunnel;
    tunnel.texture = makeTestTexture(false);
    for (const int t : {0, 37}) {
        const Result arrays = render([&] { tunnel.draw(t); });
        const Result batches = render([&] { corridorQuadByQuad(tunnel, t); });
        expectSame(arrays, batches, t == 0 ? "corridor at 0" : "corridor at 37");
    }
}

TEST_F(EffectsGl, TubeArraysDrawTheSamePixelsAsOneQuadPerBatch)
{
    fillTrigTables();
    Tunnel2 tube(1.0f);
    tube.texture = makeTestTexture(false);
    tube.setSpeed(-1.0f);
    const Result arrays = render([&] { tube.draw(123); });
    const Result batches = render([&] { tubeQuadByQuad(tube, 123); });
    expectSame(arrays, batches, "tube");
}

TEST_F(EffectsGl, DrawsLeaveTheStateThePartsAfterThemMeet)
{
    fillTrigTables();
    glEnable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    Wave wave(50, 50);
    wave.update(1);
    wave.draw();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << "the wave gives lighting back";
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S)) << "the wave leaves generation on";
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_FLAT);

    Tunnel tunnel;
    tunnel.draw(5);
    EXPECT_TRUE(glIsEnabled(GL_FOG)) << "the corridor leaves fog on";
    GLfloat fogStart = 0, fogEnd = 0;
    GLint fogMode = 0;
    glGetFloatv(GL_FOG_START, &fogStart);
    glGetFloatv(GL_FOG_END, &fogEnd);
    glGetIntegerv(GL_FOG_MODE, &fogMode);
    EXPECT_EQ(fogStart, 8.0f);
    EXPECT_EQ(fogEnd, 19.0f);
    EXPECT_EQ(fogMode, GL_LINEAR);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << "the corridor gives lighting back";

    Metaballs balls;
    balls.draw(0, DRAW_ENVMAP);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "the metaballs leave lighting off";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[14], -3.0f);
    EXPECT_EQ(matrix[0], 1.0f);

    GLint clientArrays = 0;
    glGetIntegerv(GL_CLIENT_ATTRIB_STACK_DEPTH, &clientArrays);
    EXPECT_EQ(clientArrays, 0);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY)) << "no array stays switched on for the immediate-mode parts";
    GLint depth = 0;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(EffectsGl, TunnelsPartSetsItsFogForTheFramesThatFollow)
{
    fillTrigTables();
    DemoParts parts(*kit);
    parts.setupTunnels();
    ASSERT_NE(parts.tunnelOverlay, 0u) << "run from the build folder, where data/ lies";
    EXPECT_EQ(parts.tunnelFront->speed, 1);
    EXPECT_EQ(parts.tunnelBack->speed, -1);
    glDisable(GL_FOG);
    parts.drawTunnels(0);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    GLfloat fogEnd = 0;
    glGetFloatv(GL_FOG_END, &fogEnd);
    EXPECT_EQ(fogEnd, 30.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(EffectsGl, WavePartDropsFiveStonesWhereTheGeneratorSays)
{
    DemoParts parts(*kit);
    parts.setupWave();
    ASSERT_TRUE(parts.wave);
    // The same run on a bare mesh, with the stones placed from a private
    // copy of the sequence: row from the first draw, column from the second.
    Wave expected(50, 50);
    ShowRandom sequence;
    resetShowRandom();
    int stones = 0;
    for (int step = 0; step < 120; ++step) {
        parts.drawWave(step);
        expected.update(10);
        if (step < 50 && step % 12 == 0) {
            const int row = sequence.next() % 40 + 5;
            const int column = sequence.next() % 40 + 5;
            EXPECT_TRUE(column >= 5 && column <= 44 && row >= 5 && row <= 44);
            EXPECT_TRUE(expected.poke(column, row, 1.0f));
            ++stones;
            // The stone is in the velocities now and moves the surface in
            // the next frame's update only.
            EXPECT_FLOAT_EQ(parts.wave->at(column, row).velocity - expected.at(column, row).velocity, 0.0f);
        }
    }
    EXPECT_EQ(stones, 5);
    for (int i = 0; i < 50 * 50; ++i) {
        ASSERT_EQ(parts.wave->points[i].z, expected.points[i].z) << "point " << i;
        ASSERT_EQ(parts.wave->points[i].velocity, expected.points[i].velocity) << "point " << i;
    }
    // Exactly ten numbers were drawn from the show's sequence.
    EXPECT_EQ(showRandom(), sequence.next());
}
