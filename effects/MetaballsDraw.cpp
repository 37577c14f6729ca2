// MetaballsDraw.cpp: the metaballs' GL drawing.
//
// The surface is computed into one interleaved array (normal, position) and
// sent with a single glDrawArrays: the same vertices in the same order as
// one immediate-mode batch, so the same pixels, without 200,000 calls.
#include <GL/gl.h>

#include "common/ShowGlobals.h"
#include "effects/Metaballs.h"

void Metaballs::draw(int frame, int mode)
{
    moveBalls(frame);
    updateField();
    updateNormals();
    const int count = polygonise();

    // The balls sit 3 units in front of the eye whatever the matrix was;
    // the previous matrix is not kept, and lighting stays off afterwards.
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -3.0f);
    glDisable(GL_LIGHTING);
    GLenum primitive = 0;
    if (mode == DRAW_ENVMAP) {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glBindTexture(GL_TEXTURE_2D, envTexture);
        primitive = GL_TRIANGLES;
    } else if (mode == DRAW_LINES) {
        // Vertices pair into lines in the order sent, across triangles.
        glColor3f(1.0f, 1.0f, 1.0f);
        primitive = GL_LINES;
    }
    if (count > 0) {
        if (primitive != 0) {
            glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
            glEnableClientState(GL_VERTEX_ARRAY);
            glEnableClientState(GL_NORMAL_ARRAY);
            constexpr GLsizei stride = SURFACE_STRIDE * sizeof(float);
            glNormalPointer(GL_FLOAT, stride, surface.get());
            glVertexPointer(3, GL_FLOAT, stride, surface.get() + 3);
            glDrawArrays(primitive, 0, count);
            glPopClientAttrib();
        }
        // The last normal sent stays current, as after a vertex-by-vertex
        // batch (or vertices sent outside any batch, for other modes).
        const float* last = surface.get() + static_cast<std::ptrdiff_t>(count - 1) * SURFACE_STRIDE;
        glNormal3f(last[0], last[1], last[2]);
    }
    // 2D texturing stays on; generation goes off again.
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}
