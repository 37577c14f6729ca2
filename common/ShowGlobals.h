// ShowGlobals.h: the program-wide values every subsystem of the show reads.
//
// The sine and cosine tables, the light and view vectors, the draw modes of
// the models and the floor plane of the shadow modes. They live here, below
// shell/, model/ and effects/, so that each of those folders can read them
// without including the one above it. Plain data: no GL, no SDL.
#pragma once

#include <array>

// Sine and cosine of i whole degrees, i = 0..359. The degree-to-radian
// factor is 3.1415 / 180 on purpose: the show's rotations were tuned with it.
extern std::array<float, 360> SIN_TABLE;
extern std::array<float, 360> COS_TABLE;

// Fills SIN_TABLE and COS_TABLE.
void fillTrigTables();

// Reduces any whole-degree angle into the tables' index range 0..359.
constexpr int tableIndex(int degrees)
{
    const int reduced = degrees % 360;
    return reduced < 0 ? reduced + 360 : reduced;
}

// Light position last given to RenderKit::setLightPosition; the shadow
// modes of the model drawing read it.
extern std::array<float, 3> lightVector;
// Unit vector last given to RenderKit::setViewVector; the environment mode
// reads it.
extern std::array<float, 3> viewVector;

// How a model (and the metaball surface) is drawn.
constexpr int DRAW_LINES = 0;
constexpr int DRAW_FLAT = 1;
constexpr int DRAW_SMOOTH = 2;
constexpr int DRAW_ENVMAP = 3;
constexpr int DRAW_TEXTURED = 4;
constexpr int DRAW_SHADOW = 5;
constexpr int DRAW_SHADOW_VOLUME = 6;
constexpr int DRAW_SPHEREMAP = 7;

// The z of the floor plane the shadow modes project onto; the bodies scene
// sets it when it is set up.
extern float floorHeight;
// When true every face casts a shadow, also faces that reach below the floor.
extern bool shadowAllFaces;
