// QuadArrayDraw.cpp: the tunnels' quad arrays' one GL call.
#include <GL/gl.h>

#include <cstddef>

#include "effects/QuadArray.h"

void drawQuadArray(const float* corners, int count)
{
    if (count <= 0) return;
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glInterleavedArrays(GL_T2F_V3F, 0, corners);
    glDrawArrays(GL_QUADS, 0, count);
    glPopClientAttrib();
    const float* last = corners + static_cast<std::ptrdiff_t>(count - 1) * QUAD_CORNER_FLOATS;
    glTexCoord2f(last[0], last[1]);
}
