// Wave.h: a picture on a rectangular mesh whose heights follow a damped
// discrete wave equation.
//
// The mesh lies in the x-y plane, `width` points per row and `height` rows,
// centred on the origin; each interior point is pulled toward the heights of
// its four neighbours. poke() drops a stone (pushes a small patch of points
// down), update() advances time and refreshes the normals, draw() puts the
// picture on the surface as a sphere map, so the bumps bend it. The outer
// border never moves, never gets a normal and is never drawn.
//
// The object knows nothing of frames: time moves only through update().
// Wave.cpp is the pure computation; WaveDraw.cpp holds every GL call.
// Needs: image/Texture.h (pictures), effects/EffectMemory.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// One point of the mesh: position, unit normal and the rate of change of z.
struct WavePoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float nx = 0.0f;
    float ny = 0.0f;
    float nz = 0.0f;
    float velocity = 0.0f;
};

class Wave {
public:
    // A flat, resting mesh of width x height points. When its points cannot
    // be allocated, the process ends with "Wave constructor, malloc".
    Wave(int width, int height);
    Wave(const Wave&) = delete;
    Wave& operator=(const Wave&) = delete;

    // Loads the picture as a sphere map: kind 1000 (BMP) or 1001 (JPEG); any
    // other kind does nothing. The result is the loader's.
    bool loadTexture(const std::string& path, int kind);
    // Drops a stone of the given strength at (column, row). Accepts
    // 3 <= column <= width - 3 and 3 <= row <= height - 3; returns false and
    // changes nothing otherwise.
    bool poke(int column, int row, float strength);
    // Advances the surface by `steps` steps (none for 0 or less), then
    // recomputes the normals of the interior points.
    void update(int steps);
    // One step of motion for every point, border included.
    void integrate();
    // Draws the surface with the picture in the current model-view frame.
    void draw() const;

    // The point at (column, row); both must lie inside the mesh.
    WavePoint& at(int column, int row) { return points[column + row * width]; }
    const WavePoint& at(int column, int row) const { return points[column + row * width]; }

    std::uint32_t texture = 0;
    float damping = 0.999f;
    int width;
    int height;
    std::unique_ptr<WavePoint[]> points;  // row by row, index column + row * width
    float stiffness = 1.0f;
    float timeStep = 0.01f;

private:
    void updateVelocities();
    void updateNormals();
    // Takes `amount` off the velocity of (column, row) if that point is not
    // on the border.
    void push(int column, int row, float amount);

    // Vertex indices of the drawn triangles, built once (WaveDraw.cpp).
    std::unique_ptr<std::uint32_t[]> triangleIndices;
    int triangleIndexCount = 0;
};
