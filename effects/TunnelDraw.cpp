// TunnelDraw.cpp: the corridor's GL drawing and its fog.
//
// The quads go to GL as one interleaved array (texture coordinate, position)
// in the order of one quad per batch: the same corners in the same order,
// so the same pixels, in one call instead of 4,602.
#include <GL/gl.h>

#include "effects/QuadArray.h"
#include "effects/Tunnel.h"

void switchOnBlackFog(float end)
{
    const GLfloat fogColour[4] = {0.0f, 0.0f, 0.0f, 0.1f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.35f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 8.0f);
    glFogf(GL_FOG_END, end);
    glEnable(GL_FOG);
}

void Tunnel::draw(int t)
{
    // Viewport, accumulation, depth, lighting and stipple groups: lighting
    // comes back as it was; fog and 2D texturing stay on.
    glPushAttrib(GL_VIEWPORT_BIT | GL_ACCUM_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_LIGHTING_BIT |
                 GL_POLYGON_STIPPLE_BIT);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_TEXTURE_2D);

    // A corner is moved along z by 26.67 first, then turned about y, then
    // rolled about the viewing axis, both by t degrees.
    glPushMatrix();
    glLoadIdentity();
    glRotatef(static_cast<float>(t), 0.0f, 0.0f, 1.0f);
    glRotatef(static_cast<float>(t), 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, static_cast<float>(pointsPerRing * 2.0 / 3.0));

    drawQuadArray(quads.get(), fillQuads(t));

    // Set after the corridor is drawn: it and whatever follows are fogged
    // from here on.
    switchOnBlackFog(19.0f);

    glPopMatrix();
    glPopAttrib();
}
