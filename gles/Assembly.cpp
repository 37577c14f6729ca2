// Assembly.cpp: quad indices, client-array fetch, pixel unpacking and packing.
#include "gles/Assembly.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gles {

namespace {

const float* element(const ClientArray& array, uint32_t index)
{
    const int stride = array.stride != 0 ? array.stride : array.size * static_cast<int>(sizeof(float));
    return reinterpret_cast<const float*>(static_cast<const uint8_t*>(array.pointer) +
                                          static_cast<std::size_t>(index) * static_cast<std::size_t>(stride));
}

int nearestPowerOfTwo(int value, int maxSize)
{
    // The utility library's rule: a value whose two leading bits are both
    // set rounds up (3 to 4, 6 to 8), any other rounds down (5 to 4).
    int power = 1;
    for (unsigned v = static_cast<unsigned>(std::max(value, 1)); v != 1; v >>= 1) {
        if (v == 3) {
            power *= 4;
            break;
        }
        power *= 2;
    }
    return std::min(power, maxSize);
}

}  // namespace

std::vector<uint32_t> quadIndices(std::size_t quads)
{
    std::vector<uint32_t> indices;
    indices.reserve(quads * 6);
    for (std::size_t q = 0; q < quads; ++q) {
        const auto first = static_cast<uint32_t>(q * 4);
        for (const uint32_t k : {0u, 1u, 3u, 1u, 2u, 3u}) indices.push_back(first + k);
    }
    return indices;
}

Vertex fetchVertex(const ClientState& client, const CurrentState& current, uint32_t index)
{
    Vertex v{};
    v.position[3] = 1.0f;
    if (client.vertex.enabled && client.vertex.pointer) {
        const float* p = element(client.vertex, index);
        for (int i = 0; i < client.vertex.size && i < 4; ++i) v.position[i] = p[i];
    }
    if (client.normal.enabled && client.normal.pointer) {
        std::memcpy(v.normal, element(client.normal, index), sizeof v.normal);
    } else {
        std::memcpy(v.normal, current.normal.data(), sizeof v.normal);
    }
    if (client.texCoord.enabled && client.texCoord.pointer) {
        std::memcpy(v.texCoord, element(client.texCoord, index), sizeof v.texCoord);
    } else {
        std::memcpy(v.texCoord, current.texCoord.data(), sizeof v.texCoord);
    }
    std::memcpy(v.colour, current.colour.data(), sizeof v.colour);
    return v;
}

bool unpackToRgba(int width, int height, unsigned format, unsigned type, int alignment, const void* pixels,
                  std::vector<uint8_t>& rgba)
{
    int components = 0;
    if (format == GL_RGB) components = 3;
    if (format == GL_RGBA) components = 4;
    if (format == GL_LUMINANCE) components = 1;
    const int bytes = type == GL_UNSIGNED_BYTE ? 1 : type == GL_UNSIGNED_INT ? 4 : 0;
    if (components == 0 || bytes == 0 || width < 0 || height < 0 || alignment <= 0) return false;
    rgba.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    if (!pixels) return true;
    const std::size_t packedRow = static_cast<std::size_t>(width) * components * bytes;
    const std::size_t row = (packedRow + alignment - 1) / alignment * alignment;
    const auto* source = static_cast<const uint8_t*>(pixels);
    for (int y = 0; y < height; ++y) {
        const uint8_t* line = source + static_cast<std::size_t>(y) * row;
        for (int x = 0; x < width; ++x) {
            uint8_t c[4] = {0, 0, 0, 255};
            for (int k = 0; k < components; ++k) {
                const uint8_t* at = line + (static_cast<std::size_t>(x) * components + k) * bytes;
                if (bytes == 1) {
                    c[k] = *at;
                } else {
                    uint32_t value;
                    std::memcpy(&value, at, sizeof value);
                    c[k] = static_cast<uint8_t>(value >> 24);
                }
            }
            if (components == 1) c[1] = c[2] = c[0];
            std::memcpy(&rgba[(static_cast<std::size_t>(y) * width + x) * 4], c, 4);
        }
    }
    return true;
}

bool packFromRgba(int width, int height, unsigned format, unsigned type, int alignment,
                  const std::vector<uint8_t>& rgba, void* pixels)
{
    const int components = format == GL_RGB ? 3 : format == GL_RGBA || format == GL_BGRA ? 4 : 0;
    if (components == 0 || type != GL_UNSIGNED_BYTE || width < 0 || height < 0 || alignment <= 0 ||
        rgba.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
        return false;
    }
    const std::size_t packedRow = static_cast<std::size_t>(width) * components;
    const std::size_t row = (packedRow + alignment - 1) / alignment * alignment;
    const bool swap = format == GL_BGRA;
    auto* out = static_cast<uint8_t*>(pixels);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* from = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            uint8_t* to = out + static_cast<std::size_t>(y) * row + static_cast<std::size_t>(x) * components;
            to[0] = from[swap ? 2 : 0];
            to[1] = from[1];
            to[2] = from[swap ? 0 : 2];
            if (components == 4) to[3] = from[3];
        }
    }
    return true;
}

BaseFormat baseFormatOf(int internalFormat)
{
    switch (internalFormat) {
    case 1:
    case GL_LUMINANCE: return BaseFormat::Luminance;
    case 3:
    case GL_RGB: return BaseFormat::Rgb;
    case 4:
    case GL_RGBA: return BaseFormat::Rgba;
    default: return BaseFormat::None;
    }
}

void scaleToPowerOfTwo(int& width, int& height, std::vector<uint8_t>& rgba, int maxSize)
{
    const int newWidth = nearestPowerOfTwo(width, maxSize);
    const int newHeight = nearestPowerOfTwo(height, maxSize);
    if (newWidth == width && newHeight == height) return;
    std::vector<uint8_t> scaled(static_cast<std::size_t>(newWidth) * newHeight * 4);
    const double sx = static_cast<double>(width) / newWidth;
    const double sy = static_cast<double>(height) / newHeight;
    for (int y = 0; y < newHeight; ++y) {
        const int y0 = static_cast<int>(y * sy);
        const int y1 = std::max(y0 + 1, static_cast<int>(std::ceil((y + 1) * sy)));
        for (int x = 0; x < newWidth; ++x) {
            const int x0 = static_cast<int>(x * sx);
            const int x1 = std::max(x0 + 1, static_cast<int>(std::ceil((x + 1) * sx)));
            for (int k = 0; k < 4; ++k) {
                unsigned sum = 0, count = 0;
                for (int yy = y0; yy < std::min(y1, height); ++yy) {
                    for (int xx = x0; xx < std::min(x1, width); ++xx) {
                        sum += rgba[(static_cast<std::size_t>(yy) * width + xx) * 4 + k];
                        ++count;
                    }
                }
                scaled[(static_cast<std::size_t>(y) * newWidth + x) * 4 + k] =
                    static_cast<uint8_t>(count ? (sum + count / 2) / count : 0);
            }
        }
    }
    rgba.swap(scaled);
    width = newWidth;
    height = newHeight;
}

}  // namespace gles
