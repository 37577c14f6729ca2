// TunnelRing.cpp: rows and rings of the tunnels, and their displacement.
#include "effects/TunnelRing.h"

#include "common/ShowGlobals.h"

float tunnelDepth(int i)
{
    return static_cast<float>(-i * 2.0 / 3.0);
}

TunnelRing::TunnelRing(int count, float depth, int kind)
{
    if (count <= 0 || (kind != UPPER_ROW && kind != LOWER_ROW)) return;
    this->count = count;
    points.reserve(static_cast<std::size_t>(count));
    const float z = 2.0f * depth;
    for (int k = 0; k < count; ++k) {
        const double across = static_cast<double>(k) / count;
        if (kind == UPPER_ROW) {
            points.push_back({static_cast<float>(across * 20.0 - 10.0), 1.0f, z});
        } else {
            points.push_back({static_cast<float>(across * 40.0 - 20.0), -1.0f, z});
        }
    }
}

TunnelRing::TunnelRing(int count, float depth)
{
    buildEllipse(count, depth, 1.0f);
}

TunnelRing::TunnelRing(int count, float depth, float radius)
{
    buildEllipse(count, depth, radius);
}

void TunnelRing::buildEllipse(int count, float depth, float radius)
{
    if (count <= 0) return;
    this->count = count;
    points.reserve(static_cast<std::size_t>(count));
    // Whole degrees per point (9 for 40 points), so the ring is drawn from
    // the shared tables; the ellipse is flattened to 0.7 of its width.
    const int degreesPerPoint = 360 / count;
    for (int k = 0; k < count; ++k) {
        const int a = tableIndex(k * degreesPerPoint);
        points.push_back({radius * SIN_TABLE[a], 0.7f * radius * COS_TABLE[a], depth});
    }
}

const TunnelPoint& TunnelRing::point(int index) const
{
    static const TunnelPoint origin{};
    if (index < 0 || index >= static_cast<int>(points.size())) return origin;
    return points[static_cast<std::size_t>(index)];
}

void TunnelRing::moveTo(float x, float y, float z)
{
    const float dx = x - offset[0];
    const float dy = y - offset[1];
    const float dz = z - offset[2];
    for (TunnelPoint& p : points) {
        p[0] += dx;
        p[1] += dy;
        p[2] += dz;
    }
    offset = {x, y, z};
}
