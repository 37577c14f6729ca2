// SpinScene.cpp: the spin part (frames 3600 to 4399): the model turning
// about a wandering axis, drawn smooth into the feedback texture and as
// lines over the whole picture, so that it leaves a glowing, growing trail.
#include <GL/gl.h>

#include <cmath>

#include "shell/DemoParts.h"
#include "shell/RenderKit.h"

void DemoParts::setupSpin()
{
    depthSetup();
    kit.scenePerspective();
    kit.setupLighting();
    lightsOn();
    spinModel = std::make_unique<Object>();
    spinModel->load("data/allt.3ds");
    spinModel->scale(0.007f);
    blur = std::make_unique<BlurTexture>(scaledPixels(FEEDBACK_SQUARE));
    blur->setAlpha(0.98f);
    kit.setLightPosition(0, 0, 10);
}

// Expects the modelview matrix current, the scene projection and the full
// white the timeline's fader sets. The blur's copies clear the whole
// framebuffer, so they come first. Leaves the shade model smooth, depth
// test on, blending and 2D texturing off, the clear colour (0, 0, 0, 0).
void DemoParts::drawSpin(int step)
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -5.0f);
    // About 1/90 and 1/140 as 32-bit factors: the axis wanders slowly.
    const float sx = step * 0.011111111f;
    const float sz = step * 0.0071428571f;
    glRotatef(static_cast<float>(step), static_cast<float>(std::sin(static_cast<double>(sx))), 1.0f,
              static_cast<float>(std::cos(static_cast<double>(sz))));
    blur->begin();
    spinModel->draw(DRAW_SMOOTH);
    blur->capture();
    blur->zoom(0.005f);
    spinModel->draw(DRAW_LINES);
    blur->overlay(0.0f);
    glPopMatrix();
}
