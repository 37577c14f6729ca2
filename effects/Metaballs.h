// Metaballs.h: three soft balls that melt into one another, polygonised by
// marching cubes and drawn with a chrome picture as a sphere map.
//
// Every draw moves the balls along their fixed paths (the motion repeats
// after 2,160 frames), samples the inverse-square field of the balls on a
// 25 x 25 x 25 grid, takes per-point normals from the field's differences,
// and extracts the surface where the field is 1.0 with the marching-cubes
// tables. The grid, the cube corner references and the surface buffer are
// built once, so a frame allocates nothing.
//
// The steps of a draw (moveBalls, updateField, updateNormals, polygonise)
// are pure and public for tests; MetaballsDraw.cpp holds every GL call.
// Needs: effects/MarchingCubesTables.h, common/ShowGlobals.h (tables, draw
// modes), image/Texture.h (picture).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// One grid point: position, normal and the field's value there.
struct MetaballPoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float nx = 0.0f;
    float ny = 0.0f;
    float nz = 0.0f;
    float value = 0.0f;
};

// One cell of the grid: its eight corners in the marching-cubes numbering.
struct MetaballCube {
    MetaballPoint* corners[8] = {};
};

// A ball: its weight and its centre.
struct Metaball {
    float weight = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

class Metaballs {
public:
    static constexpr int GRID_SIDE = 25;  // points along each axis
    static constexpr int CELL_SIDE = GRID_SIDE - 1;
    static constexpr int POINT_COUNT = GRID_SIDE * GRID_SIDE * GRID_SIDE;
    static constexpr int CUBE_COUNT = CELL_SIDE * CELL_SIDE * CELL_SIDE;
    // At most five triangles per cube, three vertices each.
    static constexpr int MAX_SURFACE_VERTICES = CUBE_COUNT * 5 * 3;
    // Floats per surface vertex: normal, then position.
    static constexpr int SURFACE_STRIDE = 6;

    // Builds the grid and the cubes and three balls of weight 0.25 at the
    // origin. Ends the process with "Malloc balls" when the balls cannot be
    // allocated.
    Metaballs();
    Metaballs(const Metaballs&) = delete;
    Metaballs& operator=(const Metaballs&) = delete;

    // Loads the chrome picture (BMP) as a sphere map; on failure shows
    // "Couldn't load metaball env map!" and carries on without it.
    bool loadTexture(const std::string& path);
    // Moves the balls to `frame`, refreshes field and normals and draws the
    // surface: DRAW_ENVMAP sphere-mapped, DRAW_LINES in white lines, any
    // other mode nothing. Leaves lighting off, 2D texturing on (envmap) and
    // the model-view matrix at a translation by -3 along z.
    void draw(int frame, int mode);

    // Ball centres at `frame` (0 or more; the motion repeats every 2,160).
    void moveBalls(int frame);
    // The field's value at every grid point from the first ballCount balls.
    void updateField();
    // Normals of the interior points whose value is above 0.7; the others
    // keep the normal they had.
    void updateNormals();
    // Marching cubes over every cube into `surface`; returns the number of
    // vertices (three per triangle).
    int polygonise();

    // The grid point (i, j, k), each 0..24.
    MetaballPoint& point(int i, int j, int k) { return gridPoints[(i * GRID_SIDE + j) * GRID_SIDE + k]; }

    int ballCount = 3;
    std::uint32_t envTexture = 0;
    std::unique_ptr<MetaballPoint[]> gridPoints;  // POINT_COUNT, k fastest
    std::unique_ptr<MetaballCube[]> cubes;        // CUBE_COUNT, same order
    std::unique_ptr<Metaball[]> balls;            // ballCount
    // The triangles of the last polygonise: per vertex nx, ny, nz, x, y, z.
    std::unique_ptr<float[]> surface;
    int surfaceVertexCount = 0;
};
