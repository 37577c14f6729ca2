// DemoParts.cpp: construction, the light set-up and the white flash.
// The scenes' own set-ups and draws live in one file per scene.
#include "shell/DemoParts.h"

#include <GL/gl.h>

#include "shell/Fader.h"
#include "shell/RenderKit.h"

void depthSetup()
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClearDepth(1.0);
}

void lightsOn()
{
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

DemoParts::DemoParts(RenderKit& kit) : kit(kit)
{
    // The tables are filled again, exactly as the kit did.
    fillTrigTables();
    kit.setViewVector(0, 0, -1000);
    kit.setLightPosition(0, 0, -1000);
}

void DemoParts::setupLights()
{
    kit.scenePerspective();
    kit.setupLighting();
}

float flashAlpha(int step)
{
    // Rises from below zero (invisible up to step 6) to 0.5 at step 10, then
    // falls to 10 / 29 at step 19, where the window closes.
    if (step < 10) return 1.5f - 10.0f / static_cast<float>(step);
    return 10.0f / static_cast<float>(step + 10);
}

void DemoParts::drawFlash(int step)
{
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, flashAlpha(step));
    kit.drawOverlay(0.99f, flashTexture);
    glDisable(GL_BLEND);
}
