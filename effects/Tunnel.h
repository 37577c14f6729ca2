// Tunnel.h: the textured corridor behind the metaballs.
//
// Two flat strips of 60 rows of 40 points, one at y = +1 and one at y = -1,
// running from z = 0 into the screen. Each draw rolls the corridor about the
// viewing axis and turns it about the vertical axis by t degrees, scrolls
// the picture along it by a hundredth of its height per unit of t, and then
// switches on linear black fog, which fogs everything drawn after it (the
// corridor itself from the next frame on).
//
// fillQuads is the pure part (the quads' texture coordinates and corners);
// TunnelDraw.cpp holds every GL call.
// Needs: effects/TunnelRing.h, image/Texture.h.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "effects/QuadArray.h"
#include "effects/TunnelRing.h"

class Tunnel {
public:
    // Floats per quad corner: s, t, x, y, z.
    static constexpr int CORNER_FLOATS = QUAD_CORNER_FLOATS;

    // Builds both strips and loads the picture "data/gegga1.bmp"; when the
    // picture fails, says so in a box and carries on without it.
    Tunnel();
    Tunnel(const Tunnel&) = delete;
    Tunnel& operator=(const Tunnel&) = delete;

    // Draws the corridor for time t and sets up the fog.
    void draw(int t);

    // Texture rows of row i at time t: v_near at row i, v_far at row i + 1.
    static TextureRow textureRow(int t, int i);
    // Writes the quads of time t into `quads`, upper strip then lower strip
    // for each cell, row by row; returns the number of corners.
    int fillQuads(int t);

    std::vector<TunnelRing> lowerRows;
    std::vector<TunnelRing> upperRows;
    std::uint32_t texture = 0;
    int ringCount = 60;
    int pointsPerRing = 40;
    // The corners of the last fillQuads, CORNER_FLOATS each.
    std::unique_ptr<float[]> quads;
};

// Linear black fog from 8 to `end` (colour alpha 0.1, density 0.35, no
// hint), switched on: the corridor's and the tunnels part's fog, which the
// frames after them inherit.
void switchOnBlackFog(float end);
