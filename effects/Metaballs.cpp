// Metaballs.cpp: ball paths, field, normals and marching cubes. No GL here.
#include "effects/Metaballs.h"

#include <cmath>

#include "common/ShowGlobals.h"
#include "effects/EffectMemory.h"
#include "effects/MarchingCubesTables.h"
#include "image/Texture.h"

namespace {

// Grid spacing, a float as the grid was laid out with it.
constexpr float GRID_STEP = 0.08f;
// The level of the field that forms the surface.
constexpr float ISO_LEVEL = 1.0f;
// Only points this deep inside the field get a fresh normal.
constexpr float NORMAL_THRESHOLD = 0.7f;
// A grid point exactly on a ball centre would divide by zero; its squared
// distance is taken as this instead, giving a huge but finite value that the
// edge interpolation and the normals can still work with.
constexpr float MIN_DISTANCE_SQUARED = 1e-12f;

double tableSin(int degrees) { return SIN_TABLE[tableIndex(degrees)]; }
double tableCos(int degrees) { return COS_TABLE[tableIndex(degrees)]; }

}  // namespace

Metaballs::Metaballs()
{
    gridPoints = allocateBlock<MetaballPoint>(POINT_COUNT, "Metaballs constructor, malloc", false);
    cubes = allocateBlock<MetaballCube>(CUBE_COUNT, "Metaballs constructor, malloc", false);
    surface = allocateBlock<float>(static_cast<std::size_t>(MAX_SURFACE_VERTICES) * SURFACE_STRIDE,
                                   "Metaballs constructor, malloc", false);
    balls = allocateBlock<Metaball>(ballCount, "Malloc balls", false);
    for (int b = 0; b < ballCount; ++b) balls[b].weight = 0.25f;

    // x and y run from -1 up to 0.92, z from 1 down to -0.92.
    for (int i = 0; i < GRID_SIDE; ++i) {
        for (int j = 0; j < GRID_SIDE; ++j) {
            for (int k = 0; k < GRID_SIDE; ++k) {
                MetaballPoint& p = point(i, j, k);
                p.x = static_cast<float>(i) * GRID_STEP - 1.0f;
                p.y = static_cast<float>(j) * GRID_STEP - 1.0f;
                p.z = 1.0f - static_cast<float>(k) * GRID_STEP;
            }
        }
    }
    // Corners 0..3 are the face at j, 4..7 the face at j + 1, in the same
    // cyclic order, which is the numbering the tables assume.
    for (int i = 0; i < CELL_SIDE; ++i) {
        for (int j = 0; j < CELL_SIDE; ++j) {
            for (int k = 0; k < CELL_SIDE; ++k) {
                MetaballPoint** c = cubes[(i * CELL_SIDE + j) * CELL_SIDE + k].corners;
                c[0] = &point(i, j, k);
                c[1] = &point(i + 1, j, k);
                c[2] = &point(i + 1, j, k + 1);
                c[3] = &point(i, j, k + 1);
                c[4] = &point(i, j + 1, k);
                c[5] = &point(i + 1, j + 1, k);
                c[6] = &point(i + 1, j + 1, k + 1);
                c[7] = &point(i, j + 1, k + 1);
            }
        }
    }
}

bool Metaballs::loadTexture(const std::string& path)
{
    if (sphereMapFromBmp(path, envTexture)) return true;
    showMessage("Couldn't load metaball env map!", "LOAD ERROR");
    return false;
}

void Metaballs::moveBalls(int frame)
{
    // Terms in f repeat every 360 frames, 2f every 180, f/2 every 720 and
    // f/3 every 1,080: the whole motion every 2,160. Worked in double from
    // the float tables, kept as floats.
    const int f = frame;
    const int twice = 2 * tableIndex(f);
    const int reverse = 359 - tableIndex(f);
    const double sf = tableSin(f);
    const double cf = tableCos(f);
    if (ballCount > 0) {
        balls[0].x = static_cast<float>(sf / (2.0 * cf + 3.0));
        balls[0].y = static_cast<float>(0.5 * tableCos(twice));
        balls[0].z = static_cast<float>(0.5 * cf);
    }
    if (ballCount > 1) {
        balls[1].x = static_cast<float>(tableCos(f / 2) / (2.5 * cf + 3.0));
        balls[1].y = static_cast<float>(sf / (tableCos(f / 3) + 3.0));
        balls[1].z = static_cast<float>(0.2 * sf);
    }
    if (ballCount > 2) {
        balls[2].x = static_cast<float>(tableCos(twice) / (sf + 4.0));
        balls[2].y = static_cast<float>(tableCos(reverse) / (cf + 4.0));
        balls[2].z = static_cast<float>(2.0 * tableCos(reverse) / (cf + 5.0));
    }
}

void Metaballs::updateField()
{
    for (int n = 0; n < POINT_COUNT; ++n) {
        MetaballPoint& p = gridPoints[n];
        float value = 0.0f;
        for (int b = 0; b < ballCount; ++b) {
            const Metaball& ball = balls[b];
            const float dx = p.x - ball.x;
            const float dy = p.y - ball.y;
            const float dz = p.z - ball.z;
            float distanceSquared = dx * dx + dy * dy + dz * dz;
            if (distanceSquared < MIN_DISTANCE_SQUARED) distanceSquared = MIN_DISTANCE_SQUARED;
            value += 0.5f * ball.weight / distanceSquared;
        }
        p.value = value;
    }
}

void Metaballs::updateNormals()
{
    constexpr int STEP_I = GRID_SIDE * GRID_SIDE;
    constexpr int STEP_J = GRID_SIDE;
    constexpr int STEP_K = 1;
    for (int i = 1; i < CELL_SIDE; ++i) {
        for (int j = 1; j < CELL_SIDE; ++j) {
            for (int k = 1; k < CELL_SIDE; ++k) {
                const int n = (i * GRID_SIDE + j) * GRID_SIDE + k;
                MetaballPoint& p = gridPoints[n];
                if (!(p.value > NORMAL_THRESHOLD)) continue;
                // In x and y toward falling values; in z never toward the
                // viewer's side (positive values are cut to 0), which keeps
                // the sphere map from folding over at the balls' backs.
                const float nx = gridPoints[n - STEP_I].value - gridPoints[n + STEP_I].value;
                const float ny = gridPoints[n - STEP_J].value - gridPoints[n + STEP_J].value;
                float nz = gridPoints[n - STEP_K].value - gridPoints[n + STEP_K].value;
                if (nz > 0.0f) nz = 0.0f;
                const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
                // A flat spot (no slope at all) has no direction to give: the
                // zero vector is kept rather than dividing by zero.
                if (length > 0.0f) {
                    p.nx = nx / length;
                    p.ny = ny / length;
                    p.nz = nz / length;
                } else {
                    p.nx = p.ny = p.nz = 0.0f;
                }
            }
        }
    }
}

int Metaballs::polygonise()
{
    float edgeVertex[12][SURFACE_STRIDE];
    float* out = surface.get();
    int count = 0;
    for (int c = 0; c < CUBE_COUNT; ++c) {
        MetaballPoint* const* corner = cubes[c].corners;
        int index = 0;
        for (int n = 0; n < 8; ++n) {
            if (corner[n]->value < ISO_LEVEL) index |= 1 << n;
        }
        const int edges = EDGE_TABLE[index];
        if (edges == 0) continue;
        for (int e = 0; e < 12; ++e) {
            if ((edges & (1 << e)) == 0) continue;
            const MetaballPoint& a = *corner[EDGE_CORNERS[e][0]];
            const MetaballPoint& b = *corner[EDGE_CORNERS[e][1]];
            // The two corners lie on different sides of the level, so the
            // values differ and the division is sound. The normal is left
            // unnormalised: GL_NORMALIZE does that when drawing.
            const float mu = (ISO_LEVEL - a.value) / (b.value - a.value);
            float* v = edgeVertex[e];
            v[0] = a.nx + mu * (b.nx - a.nx);
            v[1] = a.ny + mu * (b.ny - a.ny);
            v[2] = a.nz + mu * (b.nz - a.nz);
            v[3] = a.x + mu * (b.x - a.x);
            v[4] = a.y + mu * (b.y - a.y);
            v[5] = a.z + mu * (b.z - a.z);
        }
        const auto& row = TRI_TABLE[index];
        for (int t = 0; t < 16 && row[t] >= 0; ++t) {
            const float* v = edgeVertex[row[t]];
            for (int f = 0; f < SURFACE_STRIDE; ++f) *out++ = v[f];
            ++count;
        }
    }
    surfaceVertexCount = count;
    return count;
}
