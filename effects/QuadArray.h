// QuadArray.h: the tunnels' textured quads sent to GL in one call.
//
// Both tubes fill an array of quad corners, each a texture coordinate and a
// position (GL_T2F_V3F, CORNER_FLOATS floats), in the order a quad-by-quad
// batch would send them, so one draw gives the same pixels.
#pragma once

constexpr int QUAD_CORNER_FLOATS = 5;

// Draws `count` corners as quads with the current texture and state, then
// sets the last corner's texture coordinate current again, as a
// vertex-by-vertex batch would leave it. Nothing for a count of 0.
void drawQuadArray(const float* corners, int count);
