// EchoTexture.cpp: capturing a model's drawing and laying it out in layers.
#include "model/EchoTexture.h"

#include <GL/gl.h>

#include <vector>

#include "common/Screen.h"
#include "model/Object.h"

EchoTexture::EchoTexture()
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

void EchoTexture::capture(const Object& object, int mode) const
{
    glViewport(0, 0, size, size);
    object.draw(mode);
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 0, 0, size, size, 0);
    // The half alpha of this clear colour stays for whoever clears next.
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
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
    glOrtho(0.0, SCREEN_WIDTH, SCREEN_HEIGHT, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // The colour set here only counts where lighting is off; the caller
    // decides that (the intro leaves lighting on).
    const float decrement = 0.5f / static_cast<float>(count);
    float s = 0.0f;
    float a = 0.5f;
    glBegin(GL_QUADS);
    for (int i = 0; i < count; ++i) {
        s += step;
        glColor4f(1.0f, 1.0f, 1.0f, a);
        const float c = static_cast<float>(i);
        const float dx = c * shiftX, dy = c * shiftY;
        glTexCoord2f(s, 1.0f - s); glVertex2f(dx, dy);
        glTexCoord2f(s, s); glVertex2f(dx, SCREEN_HEIGHT + dy);
        glTexCoord2f(1.0f - s, s); glVertex2f(SCREEN_WIDTH + dx, SCREEN_HEIGHT + dy);
        glTexCoord2f(1.0f - s, 1.0f - s); glVertex2f(SCREEN_WIDTH + dx, dy);
        a -= decrement;
    }
    glEnd();

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
