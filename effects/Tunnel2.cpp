// Tunnel2.cpp: the tube's rings, its bend and its texture scroll. No GL here.
#include "effects/Tunnel2.h"

#include <cmath>
#include <limits>

#include "effects/EffectMemory.h"
#include "image/Texture.h"

namespace {

// Load failures of either picture kind are reported with the same text.
void reportLoadFailure()
{
    showMessage("Loading .bmp file in tunnel.cpp failed", "LOADING ERROR");
}

}  // namespace

Tunnel2::Tunnel2()
{
    if (!textureFromBmp("data/gegga1.bmp", texture)) reportLoadFailure();
    build(1.0f);
}

Tunnel2::Tunnel2(float radius)
{
    build(radius);
}

void Tunnel2::build(float radius)
{
    rings.reserve(static_cast<std::size_t>(ringCount));
    for (int i = 0; i < ringCount; ++i) rings.emplace_back(pointsPerRing, tunnelDepth(i), radius);
    // One quad per point of every ring but the last, four corners each.
    const size_t corners = static_cast<std::size_t>(ringCount - 1) * static_cast<std::size_t>(pointsPerRing) * 4;
    quads = allocateBlock<float>(corners * CORNER_FLOATS, "Tunnel2 constructor, malloc", false);
}

bool Tunnel2::loadTexture(const std::string& path, int kind)
{
    bool loaded = false;
    if (kind == PICTURE_BMP) {
        loaded = textureFromBmp(path, texture);
    } else if (kind == PICTURE_JPEG) {
        loaded = textureFromJpeg(path, texture);
    } else {
        return false;
    }
    if (!loaded) reportLoadFailure();
    return loaded;
}

void Tunnel2::setSpeed(float factor)
{
    const double scaled = std::trunc(static_cast<double>(speed) * factor);
    // A factor that leaves the integer range (or is not a number) would be
    // undefined to convert; such a speed is held at the range's ends.
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (std::isnan(scaled)) {
        speed = 0;
    } else {
        speed = static_cast<int>(std::fmin(std::fmax(scaled, lowest), highest));
    }
}

void Tunnel2::bend(int t)
{
    // Swings of period 2 pi x 49 (up and down) and 2 pi x 74 (sideways) in
    // t, growing along the tube; rings 0 and 2 stay on the axis.
    const float c = std::cos(static_cast<float>(t) * 0.020408163f);
    const float s = std::sin(static_cast<float>(t) * 0.013513514f);
    for (int i = 0; i < ringCount; ++i) {
        const double h = i / 60.0;
        const double g = i - 2;
        rings[i].moveTo(static_cast<float>(0.4 * g * std::sin(1.5 * h) * s),
                        static_cast<float>(0.2 * g * std::sin(2.0 * h) * c), 0.0f);
    }
}

TextureRow Tunnel2::textureRow(int t, int i) const
{
    // The remainder keeps the dividend's sign; its jumps at multiples of the
    // period line up under the texture's repeat.
    const long long phase = -(static_cast<long long>(speed) * t) - 2LL * i;
    const int r = static_cast<int>(phase % texturePeriod);
    const float period = static_cast<float>(texturePeriod);
    return {static_cast<float>(r) / period, static_cast<float>(r - 2) / period};
}

int Tunnel2::fillQuads(int t)
{
    float* out = quads.get();
    const auto put = [&out](float s, float v, const TunnelPoint& p) {
        out[0] = s;
        out[1] = v;
        out[2] = p[0];
        out[3] = p[1];
        out[4] = p[2];
        out += CORNER_FLOATS;
    };
    for (int i = 0; i + 1 < ringCount; ++i) {
        const TextureRow v = textureRow(t, i);
        const TunnelRing& near = rings[i];
        const TunnelRing& far = rings[i + 1];
        // The picture wraps once round the tube: the last quad joins the
        // last point to the first with u running up to 1.
        for (int j = 0; j < pointsPerRing; ++j) {
            const int next = (j + 1) % pointsPerRing;
            const float u0 = static_cast<float>(j) / 40.0f;
            const float u1 = static_cast<float>(j + 1) / 40.0f;
            put(u0, v.vNear, near.point(j));
            put(u1, v.vNear, near.point(next));
            put(u1, v.vFar, far.point(next));
            put(u0, v.vFar, far.point(j));
        }
    }
    return static_cast<int>((out - quads.get()) / CORNER_FLOATS);
}
