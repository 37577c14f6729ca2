// ShowGlobals.cpp: storage of the program-wide tables, vectors and floor.
#include "common/ShowGlobals.h"

#include <cmath>

std::array<float, 360> SIN_TABLE{};
std::array<float, 360> COS_TABLE{};
std::array<float, 3> lightVector{};
std::array<float, 3> viewVector{};
float floorHeight = -99.0f;
bool shadowAllFaces = false;

void fillTrigTables()
{
    // 3.1415 / 180, not pi / 180: SIN_TABLE[180] is about 0.0000927, not 0.
    constexpr double DEGREE = 0.01745277777777778;
    for (int i = 0; i < 360; ++i) {
        const double a = i * DEGREE;
        COS_TABLE[i] = static_cast<float>(std::cos(a));
        SIN_TABLE[i] = static_cast<float>(std::sin(a));
    }
}
