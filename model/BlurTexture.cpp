// BlurTexture.cpp: the feedback texture's set-up, copies and overlays.
#include "model/BlurTexture.h"

#include <GL/gl.h>

#include <vector>

#include "common/Screen.h"
#include "model/Object.h"
#include "model/ScreenCopy.h"

BlurTexture::BlurTexture(int size) : size(size)
{
    // Starts black, so the trail grows from nothing at the first capture.
    std::vector<uint32_t> black;
    allocateModelArray(black, static_cast<std::size_t>(size) * size * 3);
    GLuint name = 0;
    glGenTextures(1, &name);
    texture = name;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, size, size, 0, GL_RGB, GL_UNSIGNED_INT, black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void BlurTexture::begin() const
{
    glViewport(0, 0, size, size);
    overlay(0.0f);
}

void BlurTexture::capture()
{
    copyScreenSquare(texture, GL_RGB, size, captured);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, screenWidth(), screenHeight());
}

void BlurTexture::zoom(float inset)
{
    glViewport(0, 0, size, size);
    overlay(inset);
    capture();
}

void BlurTexture::overlay(float inset) const
{
    const float z = inset;
    glPushAttrib(GL_LIGHTING_BIT);
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Left 800, right 0: x runs right to left, which with the texture
    // coordinates below turns the picture by half a turn.
    glOrtho(PICTURE_WIDTH, 0.0, 0.0, PICTURE_HEIGHT, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glBegin(GL_QUADS);
    glTexCoord2f(z, 1.0f - z); glVertex2f(0.0f, 0.0f);
    glTexCoord2f(z, z); glVertex2f(0.0f, PICTURE_HEIGHT);
    glTexCoord2f(1.0f - z, z); glVertex2f(PICTURE_WIDTH, PICTURE_HEIGHT);
    glTexCoord2f(1.0f - z, 1.0f - z); glVertex2f(PICTURE_WIDTH, 0.0f);
    glEnd();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glPopAttrib();
}
