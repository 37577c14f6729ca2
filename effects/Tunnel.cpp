// Tunnel.cpp: the corridor's rows and its texture scroll. No GL here.
#include "effects/Tunnel.h"

#include "effects/EffectMemory.h"
#include "image/Texture.h"

Tunnel::Tunnel()
{
    if (!textureFromBmp("data/gegga1.bmp", texture)) {
        showMessage("Loading .bmp file in tunnel.cpp failed", "LOADING ERROR");
    }
    upperRows.reserve(static_cast<std::size_t>(ringCount));
    lowerRows.reserve(static_cast<std::size_t>(ringCount));
    for (int i = 0; i < ringCount; ++i) {
        upperRows.emplace_back(pointsPerRing, tunnelDepth(i), TunnelRing::UPPER_ROW);
        lowerRows.emplace_back(pointsPerRing, tunnelDepth(i), TunnelRing::LOWER_ROW);
    }
    // Two quads (upper and lower) per cell, four corners each.
    const size_t corners = static_cast<std::size_t>(ringCount - 1) * static_cast<std::size_t>(pointsPerRing - 1) * 8;
    quads = allocateBlock<float>(corners * CORNER_FLOATS, "Tunnel constructor, malloc", false);
}

TextureRow Tunnel::textureRow(int t, int i)
{
    // The remainder keeps the dividend's sign: for t >= 0 it runs from -99
    // to 0, and its jump back to 0 lines up under the texture's repeat.
    const long long phase = -static_cast<long long>(t) - 2LL * i;
    const int r = static_cast<int>(phase % 100);
    return {static_cast<float>(r) * 0.01f, static_cast<float>(r - 2) * 0.01f};
}

namespace {

// One corner: texture coordinate, then position.
float* putCorner(float* out, float s, float t, const TunnelPoint& p)
{
    out[0] = s;
    out[1] = t;
    out[2] = p[0];
    out[3] = p[1];
    out[4] = p[2];
    return out + Tunnel::CORNER_FLOATS;
}

// The quad of a strip between rows near and far at point j.
float* putQuad(float* out, const TunnelRing& near, const TunnelRing& far, int j, float u0, float u1, TextureRow v)
{
    out = putCorner(out, u0, v.vNear, near.point(j));
    out = putCorner(out, u1, v.vNear, near.point(j + 1));
    out = putCorner(out, u1, v.vFar, far.point(j + 1));
    return putCorner(out, u0, v.vFar, far.point(j));
}

}  // namespace

int Tunnel::fillQuads(int t)
{
    // The last row is only ever the far edge and the last point only ever
    // the right edge; u stops at 39/40, so the picture's last fortieth is
    // never shown.
    float* out = quads.get();
    for (int i = 0; i + 1 < ringCount; ++i) {
        const TextureRow v = textureRow(t, i);
        for (int j = 0; j + 1 < pointsPerRing; ++j) {
            const float u0 = static_cast<float>(j) / 40.0f;
            const float u1 = static_cast<float>(j + 1) / 40.0f;
            out = putQuad(out, upperRows[i], upperRows[i + 1], j, u0, u1, v);
            out = putQuad(out, lowerRows[i], lowerRows[i + 1], j, u0, u1, v);
        }
    }
    return static_cast<int>((out - quads.get()) / CORNER_FLOATS);
}
