// TunnelsScene.cpp: the tunnels part, two bending tubes, the inner one added
// over the outer one, under a picture overlay.
#include <GL/gl.h>

#include "effects/Tunnel.h"
#include "image/Texture.h"
#include "shell/DemoParts.h"
#include "shell/RenderKit.h"

void DemoParts::setupTunnels()
{
    depthSetup();
    kit.scenePerspective();
    tunnelFront = std::make_unique<Tunnel2>();
    tunnelFront->loadTexture("./data/gegga1.bmp", PICTURE_BMP);
    tunnelFront->setSpeed(1.0f);
    // Just inside the outer tube, its picture running the other way.
    tunnelBack = std::make_unique<Tunnel2>(0.99f);
    tunnelBack->loadTexture("./data/tunnel2.jpg", PICTURE_JPEG);
    tunnelBack->setSpeed(-1.0f);
    textureFromJpeg("./data/tunnel-l.jpg", tunnelOverlay);
}

// Expects: the model-view matrix current. Leaves: blending off with the
// additive function, colour (1, 1, 1, 0.9), the overlay's 2D texturing off,
// lighting on and face culling off, and linear fog from 8 to 30 on for the
// frames that follow.
void DemoParts::drawTunnels(int step)
{
    if (!tunnelFront || !tunnelBack) return;
    tunnelFront->draw(step);

    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 0.9f);
    tunnelBack->draw(step);
    glDisable(GL_BLEND);

    // In front of everything, added with the colour still current.
    glEnable(GL_BLEND);
    kit.drawOverlay(0.99f, tunnelOverlay);
    glDisable(GL_BLEND);

    // Set after drawing, so in force from the next frame on.
    switchOnBlackFog(30.0f);
}
