// TunnelRing.h: one row or ring of points of the tunnels.
//
// The corridor (Tunnel) is made of straight rows, one strip above and one
// below the viewer; the bending tube (Tunnel2) of closed elliptic rings.
// A ring can be displaced as a whole with moveTo, which always sets the
// absolute displacement from its base shape. Pure data, no GL.
// Needs: common/ShowGlobals.h (the tables, for the elliptic rings).
#pragma once

#include <array>
#include <cstddef>
#include <vector>

using TunnelPoint = std::array<float, 3>;

// The texture rows of one band of quads: v at the near ring and at the far one.
struct TextureRow {
    float vNear = 0.0f;
    float vFar = 0.0f;
};

class TunnelRing {
public:
    // Straight rows of the corridor, by kind.
    static constexpr int UPPER_ROW = 0;  // y = +1, x from -10 in steps of 20 / count
    static constexpr int LOWER_ROW = 1;  // y = -1, x from -20 in steps of 40 / count

    // A straight row of `count` points at z = 2 x depth; any kind but the two
    // above leaves the row empty.
    TunnelRing(int count, float depth, int kind);
    // A closed ellipse of radius 1 at z = depth.
    TunnelRing(int count, float depth);
    // A closed ellipse, `radius` wide on each side and 0.7 x radius high,
    // at z = depth; point 0 is at the top, the points go round by whole
    // degrees of the shared tables.
    TunnelRing(int count, float depth, float radius);

    // Point `index` (0..count - 1); an index outside gives the origin.
    const TunnelPoint& point(int index) const;
    // Displaces the ring so that it lies at (x, y, z) from its base shape.
    void moveTo(float x, float y, float z);

    int count = 0;
    std::vector<TunnelPoint> points;
    TunnelPoint offset{};

private:
    void buildEllipse(int count, float depth, float radius);
};

// Depth of ring or row i of the tunnels: 2/3 apart, from 0 toward -z.
float tunnelDepth(int i);
