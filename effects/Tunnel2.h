// Tunnel2.h: the bending textured tube of the tunnels part.
//
// 60 closed elliptic rings of 40 points, seen from inside along -z, from
// z = 0 to z = -39.33. Each draw bends the tube for time t (its far end
// swings sideways and up and down), scrolls the picture along it by
// `speed` hundredths of its height per unit of t (toward the viewer for a
// positive speed) and draws every ring's quads plus the quad that closes
// the ring. Unlike the corridor it sets no fog and does not turn.
//
// bend and fillQuads are the pure part; Tunnel2Draw.cpp holds every GL call.
// Needs: effects/TunnelRing.h, image/Texture.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "effects/QuadArray.h"
#include "effects/TunnelRing.h"

class Tunnel2 {
public:
    // Floats per quad corner: s, t, x, y, z.
    static constexpr int CORNER_FLOATS = QUAD_CORNER_FLOATS;

    // Radius 1 with the picture "data/gegga1.bmp".
    Tunnel2();
    // The given radius and no picture until loadTexture.
    explicit Tunnel2(float radius);
    Tunnel2(const Tunnel2&) = delete;
    Tunnel2& operator=(const Tunnel2&) = delete;

    // Loads a picture of kind 1000 (BMP) or 1001 (JPEG) into `texture`; any
    // other kind does nothing. A failure says so in a box and keeps the
    // texture that was there.
    bool loadTexture(const std::string& path, int kind);
    // Multiplies the speed by factor, truncating toward zero.
    void setSpeed(float factor);
    // Bends the tube for time t and draws it.
    void draw(int t);

    // Moves every ring to its displacement at time t.
    void bend(int t);
    // Texture rows of ring i at time t: v_near at ring i, v_far at ring i + 1.
    TextureRow textureRow(int t, int i) const;
    // Writes the quads of time t into `quads`, ring by ring, each ring's
    // closing quad last; returns the number of corners.
    int fillQuads(int t);

    std::vector<TunnelRing> rings;
    std::uint32_t texture = 0;
    int ringCount = 60;
    int pointsPerRing = 40;
    int texturePeriod = 100;
    int speed = 1;
    // The corners of the last fillQuads, CORNER_FLOATS each.
    std::unique_ptr<float[]> quads;

private:
    void build(float radius);
};
