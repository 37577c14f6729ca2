// WaveDraw.cpp: the picture wave's GL drawing.
//
// The surface goes to GL as one indexed triangle list straight from the
// point array (positions and normals, stride of a WavePoint). It is the same
// vertex sequence, normal then position per vertex, as one immediate-mode
// triangle batch, and draws the same pixels, at a fraction of the calls.
#include <GL/gl.h>

#include "effects/Wave.h"

void Wave::draw() const
{
    // Point, stipple, lighting, depth, accumulation, stencil, viewport and
    // transform groups. The enables of texturing and of S/T generation are
    // outside them: both stay on after the draw, and the next part meets them.
    glPushAttrib(GL_POINT_BIT | GL_POLYGON_STIPPLE_BIT | GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT |
                 GL_ACCUM_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    // Texture coordinates come from the normals (the sphere-map mode the
    // picture's loader set).
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (triangleIndexCount > 0) {
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(WavePoint), &points[0].x);
        glNormalPointer(GL_FLOAT, sizeof(WavePoint), &points[0].nx);
        glDrawElements(GL_TRIANGLES, triangleIndexCount, GL_UNSIGNED_INT, triangleIndices.get());
        glPopClientAttrib();
        // The last normal sent stays current, as after a vertex-by-vertex batch.
        const WavePoint& last = points[triangleIndices[triangleIndexCount - 1]];
        glNormal3f(last.nx, last.ny, last.nz);
    }
    glPopAttrib();
}
