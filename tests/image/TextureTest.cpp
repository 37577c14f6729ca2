// TextureTest.cpp: texture creation with a real GL context, and the
// orientation of JPEG and BMP pictures in the two ways the show draws them.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <string>

#include "PictureFiles.h"
#include "image/Texture.h"
#include "support/TestGlContext.h"

using testpictures::Bytes;
using testpictures::near;

namespace {

const Bytes RED = {220, 30, 30}, GREEN = {30, 220, 30}, BLUE = {30, 30, 220}, YELLOW = {220, 220, 30};
constexpr int TOLERANCE = 16;
constexpr int SIDE = 64;

// Texture functions with one signature, for tests that run over all of them.
using TextureFunction = bool (*)(const std::string&, std::uint32_t&);

class TextureTest : public TestGlContext {
protected:
    // A picture of four flat quadrants, red top left, green top right, blue
    // bottom left, yellow bottom right, written as file kind "bmp" or "jpg".
    static std::string quadrantFile(const std::string& kind)
    {
        const Bytes pixels = testpictures::quadrants(SIDE, RED, GREEN, BLUE, YELLOW);
        const Bytes file =
            kind == "bmp" ? testpictures::bmp24(SIDE, SIDE, pixels) : testpictures::jpeg(SIDE, SIDE, 3, pixels);
        return testpictures::writeTemp("quadrants." + kind, file);
    }

    // Calls make with standard output captured (the readers print sizes).
    static bool quietly(TextureFunction make, const std::string& path, std::uint32_t& name)
    {
        ::testing::internal::CaptureStdout();
        const bool ok = make(path, name);
        ::testing::internal::GetCapturedStdout();
        return ok;
    }

    // In a fresh context, makes a texture of the quadrant picture of the given
    // kind and draws it with draw; false when no context could be had.
    bool drawQuadrants(TextureFunction make, const std::string& kind, void (*draw)(GLuint))
    {
        TearDown();
        SetUp();
        if (IsSkipped()) {
            return false;
        }
        std::uint32_t name = 0;
        EXPECT_TRUE(quietly(make, quadrantFile(kind), name)) << kind;
        glClear(GL_COLOR_BUFFER_BIT);
        draw(name);
        glFinish();
        return true;
    }

    // Colours at the four screen corners (top left, top right, bottom left,
    // bottom right), inset by margin pixels.
    std::vector<std::vector<std::uint8_t>> corners(int margin) const
    {
        return {readPixel(margin, HEIGHT - 1 - margin), readPixel(WIDTH - 1 - margin, HEIGHT - 1 - margin),
                readPixel(margin, margin), readPixel(WIDTH - 1 - margin, margin)};
    }

    // Expects the screen corners to show the quadrants in the given order.
    void expectCorners(int margin, const std::vector<Bytes>& want) const
    {
        const auto seen = corners(margin);
        const char* const names[] = {"top left", "top right", "bottom left", "bottom right"};
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_TRUE(near(seen[i].data(), want[i], TOLERANCE))
                << names[i] << " shows " << int(seen[i][0]) << "," << int(seen[i][1]) << "," << int(seen[i][2]);
        }
    }
};

// The full-screen picture quad of the overlays: y runs downward, s from 1 at
// the left edge to 0 at the right, t from 0 at the top to 1 at the bottom.
void drawOverlayQuad(GLuint texture)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, 1, -1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(1, 1);
    glVertex3f(-1, 1, 0);
    glTexCoord2f(1, 0);
    glVertex3f(-1, -1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(1, -1, 0);
    glTexCoord2f(0, 1);
    glVertex3f(1, 1, 0);
    glEnd();
}

// A flat, resting wave surface as the wave scene draws it: 45-degree
// perspective with aspect 1, 55 units away, normals (0, 0, -1), texture
// coordinates from sphere-map generation.
void drawFlatWave(GLuint texture)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -55);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, -1);
    glVertex3f(-40, -40, 0);
    glVertex3f(40, -40, 0);
    glVertex3f(40, 40, 0);
    glVertex3f(-40, 40, 0);
    glEnd();
}

}  // namespace

TEST_F(TextureTest, SphereMapSetsGenerationModesAndNormalizeButLeavesGenerationOff)
{
    const std::pair<TextureFunction, std::string> cases[] = {{sphereMapFromBmp, "bmp"}, {sphereMapFromJpeg, "jpg"}};
    for (const auto& [make, kind] : cases) {
        TearDown();
        SetUp();  // a fresh context for each kind
        if (IsSkipped()) {
            return;
        }
        std::uint32_t name = 0;
        ASSERT_TRUE(quietly(make, quadrantFile(kind), name)) << kind;
        GLint modeS = 0, modeT = 0;
        glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &modeS);
        glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &modeT);
        EXPECT_EQ(modeS, GL_SPHERE_MAP) << kind;
        EXPECT_EQ(modeT, GL_SPHERE_MAP) << kind;
        EXPECT_TRUE(glIsEnabled(GL_NORMALIZE)) << kind;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)) << kind;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T)) << kind;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << kind;
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<std::uint32_t>(bound), name) << kind;
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4) << kind << ": the upload must leave the pixel-store state alone";
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << kind;
    }
}

// The parameters every picture is uploaded with, read back from GL: linear
// filters both ways (nearest would show blocky pictures on every overlay and
// sphere map), the default repeat wrap, the picture's own size, and mipmap
// levels only for the sphere maps.
TEST_F(TextureTest, EveryUploadHasLinearFiltersRepeatWrapAndThePicturesSize)
{
    struct Case {
        TextureFunction make;
        std::string kind;
        bool mipmapped;
    };
    const Case cases[] = {{textureFromBmp, "bmp", false},
                          {textureFromJpeg, "jpg", false},
                          {sphereMapFromBmp, "bmp", true},
                          {sphereMapFromJpeg, "jpg", true}};
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        if (IsSkipped()) {
            return;
        }
        const std::string what = c.kind + (c.mipmapped ? " sphere map" : " texture");
        std::uint32_t name = 0;
        ASSERT_TRUE(quietly(c.make, quadrantFile(c.kind), name)) << what;
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        ASSERT_EQ(static_cast<std::uint32_t>(bound), name) << what;
        GLint magFilter = 0, minFilter = 0, wrapS = 0, wrapT = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        EXPECT_EQ(magFilter, GL_LINEAR) << what;
        EXPECT_EQ(minFilter, GL_LINEAR) << what;
        EXPECT_EQ(wrapS, GL_REPEAT) << what;
        EXPECT_EQ(wrapT, GL_REPEAT) << what;
        GLint width = 0, height = 0, nextWidth = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &nextWidth);
        EXPECT_EQ(width, SIDE) << what;
        EXPECT_EQ(height, SIDE) << what;
        EXPECT_EQ(nextWidth, c.mipmapped ? SIDE / 2 : 0) << what;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << what;
    }
}

TEST_F(TextureTest, FailedLoadLeavesCallersNameUnchangedAndMakesNoTexture)
{
    const std::pair<TextureFunction, std::string> cases[] = {{textureFromBmp, "./missing.bmp"},
                                                             {textureFromJpeg, "./missing.jpg"},
                                                             {sphereMapFromBmp, "./missing.bmp"},
                                                             {sphereMapFromJpeg, "./missing.jpg"}};
    for (const auto& [make, path] : cases) {
        std::uint32_t name = 4711;
        EXPECT_FALSE(quietly(make, path, name)) << path;
        EXPECT_EQ(name, 4711u) << path;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << path << ": no GL call for a failed picture";
    }
    // A corrupt JPEG is a failed load too, not the end of the show.
    const std::string corrupt = testpictures::writeTemp("corrupt.jpg", Bytes(200, 0x42));
    std::uint32_t name = 4711;
    EXPECT_FALSE(quietly(textureFromJpeg, corrupt, name));
    EXPECT_EQ(name, 4711u);
    std::remove(corrupt.c_str());
}

TEST_F(TextureTest, TwoLoadsIntoOneVariableGiveTwoNames)
{
    const std::string path = quadrantFile("bmp");
    std::uint32_t name = 0;
    ASSERT_TRUE(quietly(textureFromBmp, path, name));
    const std::uint32_t first = name;
    ASSERT_TRUE(quietly(textureFromBmp, path, name));
    EXPECT_NE(name, first);
    EXPECT_NE(name, 0u);
    // The first texture stays allocated; nothing deletes it.
    EXPECT_TRUE(glIsTexture(first));
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
}

// The overlay shows a BMP picture upright through its rgba buffer; a JPEG
// (stored top row first) must look the same, not flipped or mirrored.
TEST_F(TextureTest, OverlayShowsJpegAndBmpUprightAndUnmirrored)
{
    const std::pair<TextureFunction, std::string> cases[] = {{textureFromJpeg, "jpg"}, {textureFromBmp, "bmp"}};
    for (const auto& [make, kind] : cases) {
        if (!drawQuadrants(make, kind, drawOverlayQuad)) {
            return;
        }
        SCOPED_TRACE(kind);
        expectCorners(40, {RED, GREEN, BLUE, YELLOW});
    }
}

// The wave puts a JPEG up as a sphere map from its unreversed rgb buffer; on
// a resting surface the picture must stand upright. (A BMP sphere map comes
// from the reversed buffer and so shows turned by 180 degrees.)
TEST_F(TextureTest, WaveSphereMapShowsJpegUpright)
{
    const std::pair<TextureFunction, std::string> cases[] = {{sphereMapFromJpeg, "jpg"}, {sphereMapFromBmp, "bmp"}};
    for (const auto& [make, kind] : cases) {
        if (!drawQuadrants(make, kind, drawFlatWave)) {
            return;
        }
        SCOPED_TRACE(kind);
        if (kind == "jpg") {
            expectCorners(40, {RED, GREEN, BLUE, YELLOW});
        } else {
            expectCorners(40, {YELLOW, BLUE, GREEN, RED});
        }
    }
}
