// MarchingCubesTables.h: the standard marching-cubes lookup tables.
//
// Corners 0..3 are one face of a cell in cyclic order and 4..7 the opposite
// face in the same order; edge 0 joins corners 0-1, 1: 1-2, 2: 2-3, 3: 3-0,
// 4: 4-5, 5: 5-6, 6: 6-7, 7: 7-4, 8: 0-4, 9: 1-5, 10: 2-6, 11: 3-7. A cube
// index has bit n set when corner n lies below the iso level.
//   EDGE_TABLE[index]  twelve-bit mask of the edges the surface crosses
//   TRI_TABLE[index]   up to five triangles as edge numbers, ended by -1
// The data is generated from tools/mctables/marching-cubes-tables.txt.
#pragma once

#include <array>

// Corners joined by each of the twelve edges, in the numbering above.
constexpr std::array<std::array<int, 2>, 12> EDGE_CORNERS = {{
    {0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7},
}};

extern const std::array<int, 256> EDGE_TABLE;
extern const std::array<std::array<int, 16>, 256> TRI_TABLE;
