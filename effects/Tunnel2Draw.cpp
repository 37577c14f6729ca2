// Tunnel2Draw.cpp: the tube's GL drawing.
//
// The quads go to GL as one interleaved array (texture coordinate, position)
// in the order of one quad per batch: the same corners in the same order,
// so the same pixels, in one call instead of 2,360.
#include <GL/gl.h>

#include "effects/QuadArray.h"
#include "effects/Tunnel2.h"

void Tunnel2::draw(int t)
{
    // Viewport, accumulation, depth, lighting and stipple groups: lighting
    // comes back as it was; 2D texturing stays on.
    glPushAttrib(GL_VIEWPORT_BIT | GL_ACCUM_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_LIGHTING_BIT |
                 GL_POLYGON_STIPPLE_BIT);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glLoadIdentity();

    bend(t);
    drawQuadArray(quads.get(), fillQuads(t));

    glPopMatrix();
    glPopAttrib();
}
