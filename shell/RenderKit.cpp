// RenderKit.cpp: tables, light, projection, overlays and the frame-rate title.
#include "shell/RenderKit.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>

#include "image/Texture.h"
#include "platform/Platform.h"
#include "common/Screen.h"

RenderKit::RenderKit(platform::Platform& platform)
{
    fillTrigTables();
    setViewVector(0, 0, -1000);
    setLightPosition(50, 50, 100);
    lastClock = platform.ticks();
}

void RenderKit::setLightPosition(float x, float y, float z)
{
    // Light 0 gets the position of the previous call while lightVector takes
    // the new one; the show's lighting was set up around this delay.
    const GLfloat previous[4] = {lightVector[0], lightVector[1], lightVector[2], 1.0f};
    lightVector = {x, y, z};
    glLightfv(GL_LIGHT0, GL_POSITION, previous);
}

void RenderKit::setViewVector(float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length > 0.0f) {
        viewVector = {x / length, y / length, z / length};
    }
}

void RenderKit::setupLighting() const
{
    const GLfloat ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    const GLfloat diffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    const GLfloat specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat position[4] = {lightVector[0], lightVector[1], lightVector[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT0, GL_POSITION, position);

    const GLfloat matAmbient[4] = {0.5f, 0.2f, 1.0f, 1.0f};
    const GLfloat matDiffuse[4] = {0.4f, 0.4f, 0.9f, 1.0f};
    const GLfloat matSpecular[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat backAmbient[4] = {0.9f, 0.4f, 0.1f, 1.0f};
    const GLfloat backOther[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    // Front, then back, then both: the last call decides both sides.
    glMaterialfv(GL_FRONT, GL_AMBIENT, matAmbient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, matDiffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, matSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, 30.0f);
    glMaterialfv(GL_BACK, GL_AMBIENT, backAmbient);
    glMaterialfv(GL_BACK, GL_DIFFUSE, backOther);
    glMaterialfv(GL_BACK, GL_SPECULAR, backOther);
    glMaterialf(GL_BACK, GL_SHININESS, 30.0f);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, matAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, matDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, matSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 30.0f);
}

void RenderKit::scenePerspective() const
{
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glViewport(0, 0, screenWidth(), screenHeight());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Whole-number aspect: 800 / 600 is 1, so every scene is stretched
    // horizontally by 4/3. The show's look was made with this stretch.
    constexpr int ASPECT = PICTURE_WIDTH / PICTURE_HEIGHT;
    gluPerspective(45.0, ASPECT, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool RenderKit::loadPicture(const char* path)
{
    // The picture it replaces is never drawn again; its texture goes with it.
    // A picture that does not load leaves the old one up.
    const GLuint previous = picture;
    if (!textureFromBmp(path, picture)) return false;
    if (previous != 0) glDeleteTextures(1, &previous);
    return true;
}

void RenderKit::beginOverlay() const
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Bottom 1, top -1: y runs downward on screen.
    glOrtho(-1.0, 1.0, 1.0, -1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void RenderKit::endOverlay() const
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void RenderKit::drawQuad(float z, uint32_t texture) const
{
    // Point, depth, accumulation, stencil and transform groups (0x1702).
    glPushAttrib(GL_POINT_BIT | GL_DEPTH_BUFFER_BIT | GL_ACCUM_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
                 GL_TRANSFORM_BIT);
    beginOverlay();
    glTranslatef(0.0f, 0.0f, z);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, texture);
    // s runs 1 -> 0 left to right and t 0 -> 1 top to bottom, which shows a
    // picture stored last pixel first (the readers' rgba) upright.
    glBegin(GL_QUADS);
    glTexCoord2f(1.0f, 1.0f); glVertex2f(-1.0f, 1.0f);
    glTexCoord2f(1.0f, 0.0f); glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(0.0f, 0.0f); glVertex2f(1.0f, -1.0f);
    glTexCoord2f(0.0f, 1.0f); glVertex2f(1.0f, 1.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void RenderKit::drawPictureAt(float z) const
{
    drawQuad(z, picture);
    glEnable(GL_CULL_FACE);
    endOverlay();
    glPopAttrib();
}

void RenderKit::drawPicture() const
{
    drawPictureAt(-0.99f);
}

void RenderKit::drawOverlay(float z, uint32_t texture) const
{
    // Unlike drawPictureAt, face culling stays off afterwards.
    drawQuad(z, texture);
    endOverlay();
    glPopAttrib();
}

void RenderKit::showFrameRate(platform::Platform& window, int frame)
{
    if (frame % 10 != 0) return;
    const uint32_t now = window.ticks();
    const float elapsedSeconds = static_cast<float>(now - lastClock) * 0.001f;
    const float rate = 10.0f / elapsedSeconds;
    char text[256];
    std::snprintf(text, sizeof text, "Fps: %.1f", rate);
    title = text;
    lastClock = now;
    window.setTitle(title);
}
