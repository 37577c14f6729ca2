// MetaballScene.cpp: the metaball part, chrome balls in the fogged corridor.
#include <GL/gl.h>

#include "shell/DemoParts.h"
#include "shell/RenderKit.h"

void DemoParts::setupMetaballs()
{
    depthSetup();
    kit.scenePerspective();
    tunnel = std::make_unique<Tunnel>();
    metaballs = std::make_unique<Metaballs>();
    metaballs->loadTexture("./data/Chrome-test.bmp");
}

// Expects: the model-view matrix current. Leaves: fog on (start 8, end 19),
// lighting off, 2D texturing on with S/T generation off, the model-view
// matrix at the balls' translation.
void DemoParts::drawMetaballs(int step)
{
    if (!tunnel || !metaballs) return;
    // The corridor moves at half the frame rate.
    tunnel->draw(step / 2);
    metaballs->draw(step, DRAW_ENVMAP);
}
