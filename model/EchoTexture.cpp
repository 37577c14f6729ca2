// EchoTexture.cpp: capturing a model's drawing and laying it out in layers.
#include "model/EchoTexture.h"

#include <GL/gl.h>

#include <vector>

#include "common/Screen.h"
#include "common/ShowGlobals.h"
#include "model/Object.h"
#include "model/ScreenCopy.h"

namespace {

// Modes whose drawing stays inside the projection of the model's vertices
// (the shadow modes reach the floor or the whole view).
bool drawsWithinVertices(int mode)
{
    return mode == DRAW_LINES || mode == DRAW_FLAT || mode == DRAW_SMOOTH || mode == DRAW_ENVMAP ||
           mode == DRAW_TEXTURED || mode == DRAW_SPHEREMAP;
}

// Whether an unlit (black) texel adds exactly nothing under the current
// state: the texture modulates or replaces the colour, no fog colour or
// separate specular colour is added after texturing.
bool blackAddsNothing()
{
    GLint envMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    GLint colorControl = GL_SINGLE_COLOR;
    glGetIntegerv(GL_LIGHT_MODEL_COLOR_CONTROL, &colorControl);
    return (envMode == GL_MODULATE || envMode == GL_REPLACE) && !glIsEnabled(GL_FOG) &&
           colorControl == GL_SINGLE_COLOR;
}

}  // namespace

EchoTexture::EchoTexture(int size) : size(size)
{
    constexpr int PLACEHOLDER = 256;
    std::vector<uint8_t> black;
    allocateModelArray(black, static_cast<std::size_t>(PLACEHOLDER) * PLACEHOLDER * 4);
    GLuint name = 0;
    glGenTextures(1, &name);
    texture = name;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, PLACEHOLDER, PLACEHOLDER, 0, GL_RGBA, GL_UNSIGNED_BYTE, black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void EchoTexture::capture(const Object& object, int mode)
{
    // The square holds the model on whatever the frame was cleared to; only
    // on black is everything outside the model's extent unlit.
    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    lit = TexelBox{};
    if (clear[0] == 0.0f && clear[1] == 0.0f && clear[2] == 0.0f && drawsWithinVertices(mode)) {
        GLfloat modelview[16], projection[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        lit = projectedTexels(object.positions.data(), object.vertexCount, modelview, projection, size);
    }

    glViewport(0, 0, size, size);
    object.draw(mode);
    copyScreenSquare(texture, GL_LUMINANCE, size, captured);
    // The half alpha of this clear colour stays for whoever clears next.
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, screenWidth(), screenHeight());
}

void EchoTexture::drawLayers(int count, float step) const
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);

    // Screen coordinates with y running downward.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, PICTURE_WIDTH, PICTURE_HEIGHT, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // Each layer adds only where it samples lit texels; clipping it to that
    // part of the screen leaves the picture as it is and saves most of the
    // fill. Without a known lit region the layers cover the whole screen.
    const bool clip = lit.valid && captured && shiftX == 0.0f && shiftY == 0.0f && blackAddsNothing();
    // A scissor box already in force (frames stepped without filling a
    // pixel) bounds every layer's own, so the layers fill nothing either.
    const bool bounded = clip && glIsEnabled(GL_SCISSOR_TEST);
    PixelBox outer;
    if (bounded) {
        GLint found[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_SCISSOR_BOX, found);
        outer = {found[0], found[1], found[2], found[3]};
    }
    if (clip) {
        glPushAttrib(GL_SCISSOR_BIT);
        glEnable(GL_SCISSOR_TEST);
    }
    // The colour set here only counts where lighting is off; the caller
    // decides that (the intro leaves lighting on).
    const float decrement = 0.5f / static_cast<float>(count);
    float s = 0.0f;
    float a = 0.5f;
    for (int i = 0; i < count; ++i) {
        s += step;
        if (clip) {
            PixelBox box = layerPixels(lit, size, s, screenWidth(), screenHeight());
            if (bounded) box = intersect(box, outer);
            glScissor(box.x, box.y, box.width, box.height);
        }
        glColor4f(1.0f, 1.0f, 1.0f, a);
        const float c = static_cast<float>(i);
        const float dx = c * shiftX, dy = c * shiftY;
        glBegin(GL_QUADS);
        glTexCoord2f(s, 1.0f - s); glVertex2f(dx, dy);
        glTexCoord2f(s, s); glVertex2f(dx, PICTURE_HEIGHT + dy);
        glTexCoord2f(1.0f - s, s); glVertex2f(PICTURE_WIDTH + dx, PICTURE_HEIGHT + dy);
        glTexCoord2f(1.0f - s, 1.0f - s); glVertex2f(PICTURE_WIDTH + dx, dy);
        glEnd();
        a -= decrement;
    }
    if (clip) glPopAttrib();

    // Back out of screen coordinates: projection popped, then modelview.
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, 0);
}
