// ModelGlTest.cpp: the draw modes and the screen blur in a real GL context:
// the state the modes leave, the shadow volume's matrix stacks and its
// darkening quad, the line pattern across faces, the blur's half turn, and
// the echo's clipped layers against unclipped ones.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "common/Screen.h"
#include "common/ShowGlobals.h"
#include "model/BlurTexture.h"
#include "model/EchoTexture.h"
#include "model/Object.h"
#include "reader3ds/Reader3DS.h"
#include "tools/writers/Writer3ds.h"
#include "support/TestGlContext.h"

namespace {

class ModelGl : public TestGlContext {
protected:
    void SetUp() override
    {
        TestGlContext::SetUp();
        if (IsSkipped()) return;
        fillTrigTables();
        lightVector = {0.0f, 0.0f, 1000.0f};
        viewVector = {0.0f, 0.0f, -1.0f};
        floorHeight = -99.0f;
        shadowAllFaces = false;
    }

    // Screen coordinates: one unit per pixel, y up, lighting off, white.
    static void pixelProjection()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, PICTURE_WIDTH, 0, PICTURE_HEIGHT, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glColor3f(1, 1, 1);
    }

    // The whole framebuffer as RGBA bytes.
    static std::vector<uint8_t> readFrame()
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(PICTURE_WIDTH) * PICTURE_HEIGHT * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};

// An Object made of the given triangles (3 corners each), one mesh.
void buildTriangles(Object& object, const std::vector<r3ds::Vec3>& corners)
{
    writers::MeshData mesh;
    mesh.vertices = corners;
    for (size_t i = 0; i + 2 < corners.size(); i += 3) {
        mesh.faces.push_back({static_cast<uint16_t>(i), static_cast<uint16_t>(i + 1), static_cast<uint16_t>(i + 2)});
    }
    const auto file = writers::makeFile([&](writers::Writer3ds& w) { writers::writeMeshObject(w, "Test", mesh); });
    Reader3DS reader;
    ASSERT_TRUE(reader.LoadFromMemory(file));
    object.buildFrom(reader, false);
}

GLint stackDepth(GLenum which)
{
    GLint depth = 0;
    glGetIntegerv(which, &depth);
    return depth;
}

}  // namespace

TEST_F(ModelGl, ShadowVolumeAHundredTimesLeavesBothMatrixStacksAsItFoundThem)
{
    Object object;
    buildTriangles(object, {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}});
    const GLint modelview = stackDepth(GL_MODELVIEW_STACK_DEPTH);
    const GLint projection = stackDepth(GL_PROJECTION_STACK_DEPTH);
    for (int i = 0; i < 100; ++i) object.draw(DRAW_SHADOW_VOLUME);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(stackDepth(GL_MODELVIEW_STACK_DEPTH), modelview);
    EXPECT_EQ(stackDepth(GL_PROJECTION_STACK_DEPTH), projection);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    // What it leaves on purpose: blending on, lighting on, stencil off.
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
}

TEST_F(ModelGl, ShadowVolumeDarkensTheWholeMarkedViewUnderAPerspective)
{
    GLint stencilBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    if (stencilBits == 0) GTEST_SKIP() << "no stencil buffer";
    // Every pixel marked, then the darkening quad alone (an empty model).
    glClearColor(1, 1, 1, 1);
    glClearStencil(1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -1, 1, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -5);
    Object empty;
    empty.draw(DRAW_SHADOW_VOLUME);
    for (const auto& [x, y] : {std::pair{2, 2}, std::pair{400, 300}, std::pair{797, 597}}) {
        const auto pixel = readPixel(x, y);
        EXPECT_NEAR(pixel[0], 153, 2) << x << "," << y;  // white at 60 %
    }
}

TEST_F(ModelGl, ModeOutsideTheTableDrawsNothingAndChangesNoState)
{
    Object object;
    buildTriangles(object, {{-1, -1, 0}, {1, -1, 0}, {0, 1, 0}});
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glShadeModel(GL_FLAT);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glDisable(GL_LIGHTING);
    for (int mode : {8, -1, 1000}) object.draw(mode);
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_FLAT);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(readPixel(400, 300)[0], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelGl, EmptyObjectDrawsInEveryModeWithoutError)
{
    Object empty;
    for (int mode = DRAW_LINES; mode <= DRAW_SPHEREMAP; ++mode) empty.draw(mode);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelGl, LinesPairCornersAcrossFacesAndDropTheLastOfAnOddCount)
{
    // Three faces, nine corners: (f0.P0, f0.P1), (f0.P2, f1.P0),
    // (f1.P1, f1.P2), (f2.P0, f2.P1); f2.P2 is left over.
    Object object;
    buildTriangles(object, {{100.5f, 100.5f, 0}, {200.5f, 100.5f, 0}, {100.5f, 300.5f, 0},
                            {300.5f, 300.5f, 0}, {400.5f, 100.5f, 0}, {400.5f, 200.5f, 0},
                            {500.5f, 100.5f, 0}, {600.5f, 100.5f, 0}, {700.5f, 500.5f, 0}});
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    pixelProjection();
    object.draw(DRAW_LINES);
    EXPECT_GT(readPixel(150, 100)[0], 200);  // first face's first edge
    EXPECT_GT(readPixel(200, 300)[0], 200);  // across the faces
    EXPECT_GT(readPixel(400, 150)[0], 200);  // second face's last edge
    EXPECT_GT(readPixel(550, 100)[0], 200);
    EXPECT_EQ(readPixel(650, 300)[0], 0);    // the unpaired corner draws no line
    EXPECT_EQ(readPixel(250, 200)[0], 0);    // no edge (f0.P1, f0.P2)
}

TEST_F(ModelGl, LineAndSmoothModesLeaveTheLastCornersNormalCurrent)
{
    // Later quads drawn with lighting on are shaded by the current normal.
    Object object;
    buildTriangles(object, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}});
    for (int mode : {DRAW_LINES, DRAW_SMOOTH}) {
        glNormal3f(0.3f, 0.3f, 0.3f);
        object.draw(mode);
        GLfloat normal[3] = {};
        glGetFloatv(GL_CURRENT_NORMAL, normal);
        const float* last = object.faces.back().normal[2];
        EXPECT_FLOAT_EQ(normal[0], last[0]) << mode;
        EXPECT_FLOAT_EQ(normal[1], last[1]) << mode;
        EXPECT_FLOAT_EQ(normal[2], last[2]) << mode;
    }
}

TEST_F(ModelGl, ShadowFallsOnTheFloorAndALightInTheFloorsPlaneCastsNone)
{
    // A face above the floor, the light straight above: its shadow is the
    // face itself on the floor plane, seen from above in pixel coordinates.
    Object object;
    buildTriangles(object, {{300, 200, 5}, {500, 200, 5}, {400, 400, 5}});
    floorHeight = 0.0f;
    glClearColor(1, 1, 1, 1);
    pixelProjection();
    for (const float lightZ : {1000.0f, 0.0f}) {
        glClear(GL_COLOR_BUFFER_BIT);
        lightVector = {0.0f, 0.0f, lightZ};
        object.draw(DRAW_SHADOW);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        const int inside = readPixel(400, 250)[0];
        if (lightZ != 0.0f) {
            EXPECT_NEAR(inside, 77, 2);  // white under 70 % black
        } else {
            EXPECT_EQ(inside, 255);
        }
        EXPECT_EQ(readPixel(100, 100)[0], 255);
    }
}

TEST_F(ModelGl, BlurOverlayOverBlackIsAlphaOfTheTextureTurnedByHalfATurn)
{
    BlurTexture blur(FEEDBACK_SQUARE);
    // Red in the lower-left quarter of the captured square.
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 256, 256);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, 300, 200);  // a stray viewport the capture must undo
    blur.capture();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], PICTURE_WIDTH);
    EXPECT_EQ(viewport[3], PICTURE_HEIGHT);
    EXPECT_EQ(readPixel(100, 100)[0], 0);  // the capture cleared the frame

    blur.overlay(0.0f);
    // Turned by half a turn: the lower-left quarter shows at the upper right.
    EXPECT_NEAR(readPixel(600, 450)[0], 229, 2);  // 0.9 of full red
    EXPECT_EQ(readPixel(600, 450)[1], 0);
    EXPECT_EQ(readPixel(200, 150)[0], 0);
    EXPECT_EQ(readPixel(600, 150)[0], 0);
    EXPECT_EQ(readPixel(200, 450)[0], 0);
}

TEST_F(ModelGl, EchoLayersClippedToTheLitTexelsGiveTheSamePictureAsWholeLayers)
{
    Object model;
    model.load("data/allt.3ds");
    ASSERT_GT(model.faceCount, 0) << "run from the build folder, where data/ lies";
    model.scale(0.003f);
    glDisable(GL_TEXTURE_2D);  // the model's texture load left it on
    EchoTexture echo(FEEDBACK_SQUARE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.414, 0.414, -0.414, 0.414, 1, 100);  // 45 degrees, aspect 1
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);  // as drawLayers leaves it, so every capture draws alike
    for (const float step : {0.0f, 0.07f, 0.14f}) {
        std::vector<uint8_t> frames[2];
        for (int whole = 0; whole < 2; ++whole) {
            glClearColor(0, 0, 0, 0.5f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glLoadIdentity();
            glTranslatef(0, 0, -3);
            glRotatef(280, 1, 0, 0);
            glRotatef(step * 300, 0, 1, 0);
            echo.capture(model, DRAW_LINES);
            ASSERT_TRUE(echo.lit.valid);
            if (whole) echo.lit.valid = false;  // layers over the whole screen
            glColor3f(1, 1, 1);
            echo.drawLayers(10, step);
            frames[whole] = readFrame();
        }
        int lit = 0;
        for (size_t i = 0; i < frames[0].size(); i += 4) lit += frames[0][i] > 0;
        EXPECT_GT(lit, 1000) << "step " << step;  // the echo shows at all
        EXPECT_TRUE(frames[0] == frames[1]) << "step " << step;
    }
}
