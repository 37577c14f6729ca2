// Wave.cpp: the picture wave's mesh, stones and wave equation. No GL here.
#include "effects/Wave.h"

#include <cmath>
#include <cstddef>

#include "effects/EffectMemory.h"
#include "image/Texture.h"

namespace {

// Number of points of a width x height mesh; a size of 0 or less has none.
std::size_t pointCount(int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// Number of drawn triangles: the cells from column and row 2 up to width - 2
// and height - 2, two triangles each.
std::size_t drawnTriangles(int width, int height)
{
    if (width < 5 || height < 5) return 0;
    return static_cast<std::size_t>(width - 4) * static_cast<std::size_t>(height - 4) * 2;
}

}  // namespace

Wave::Wave(int width, int height) : width(width), height(height)
{
    points = allocateBlock<WavePoint>(pointCount(width, height), "Wave constructor, malloc", true);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            // Integer halves, truncated: a 50-point row runs from -25 to 24.
            WavePoint& p = at(column, row);
            p.x = static_cast<float>(column - width / 2);
            p.y = static_cast<float>(row - height / 2);
        }
    }
    // The drawn triangles never change, so their vertex order is fixed here:
    // columns outermost, rows innermost, two triangles per cell.
    const std::size_t triangles = drawnTriangles(width, height);
    triangleIndices = allocateBlock<std::uint32_t>(triangles * 3, "Wave constructor, malloc", true);
    triangleIndexCount = static_cast<int>(triangles * 3);
    std::uint32_t* index = triangleIndices.get();
    for (int c = 2; c < width - 2; ++c) {
        for (int r = 2; r < height - 2; ++r) {
            const auto id = [this](int column, int row) { return static_cast<std::uint32_t>(column + row * this->width); };
            *index++ = id(c, r);
            *index++ = id(c + 1, r);
            *index++ = id(c, r + 1);
            *index++ = id(c + 1, r);
            *index++ = id(c + 1, r + 1);
            *index++ = id(c, r + 1);
        }
    }
}

bool Wave::loadTexture(const std::string& path, int kind)
{
    if (kind == PICTURE_BMP) return sphereMapFromBmp(path, texture);
    if (kind == PICTURE_JPEG) return sphereMapFromJpeg(path, texture);
    return false;
}

void Wave::push(int column, int row, float amount)
{
    // The ring of offsets two away reaches the border for a stone at the
    // edge of the accepted band; the border stays at rest all the same.
    if (column < 1 || column > width - 2 || row < 1 || row > height - 2) return;
    at(column, row).velocity -= amount;
}

bool Wave::poke(int column, int row, float strength)
{
    if (column < 3 || column > width - 3 || row < 3 || row > height - 3) return false;
    push(column, row, 5.0f * strength);
    push(column + 1, row, 3.0f * strength);
    push(column - 1, row, 3.0f * strength);
    push(column, row + 1, 3.0f * strength);
    push(column, row - 1, 3.0f * strength);
    push(column - 1, row - 1, strength);
    push(column + 1, row + 1, strength);
    push(column - 1, row + 1, strength);
    push(column + 1, row - 1, strength);
    push(column + 2, row, strength);
    push(column - 2, row, strength);
    push(column, row + 2, strength);
    push(column, row - 2, strength);
    return true;
}

void Wave::updateVelocities()
{
    // Only velocities change here, so every height read is the one from
    // before the step whatever the order of the points.
    const float pull = timeStep * stiffness;
    for (int row = 1; row < height - 1; ++row) {
        for (int column = 1; column < width - 1; ++column) {
            WavePoint& p = at(column, row);
            const float z = p.z;
            p.velocity += pull * ((at(column + 1, row).z - z) + (at(column - 1, row).z - z) +
                                  (at(column, row + 1).z - z) + (at(column, row - 1).z - z));
        }
    }
}

void Wave::integrate()
{
    const std::size_t count = pointCount(width, height);
    for (std::size_t i = 0; i < count; ++i) {
        WavePoint& p = points[i];
        p.z += p.velocity * timeStep;
        p.velocity *= damping;
    }
}

void Wave::updateNormals()
{
    // Plain (unhalved) differences against a fixed -3 in z: the steeper the
    // slope, the more the sphere map bends the picture.
    for (int row = 1; row < height - 1; ++row) {
        for (int column = 1; column < width - 1; ++column) {
            WavePoint& p = at(column, row);
            const float nx = at(column + 1, row).z - at(column - 1, row).z;
            const float ny = at(column, row + 1).z - at(column, row - 1).z;
            const float nz = -3.0f;
            const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
            p.nx = nx / length;
            p.ny = ny / length;
            p.nz = nz / length;
        }
    }
}

void Wave::update(int steps)
{
    for (int step = 0; step < steps; ++step) {
        updateVelocities();
        integrate();
    }
    updateNormals();
}
