// fish_shape.h: the fish's body profile, shared by the fish model and the
// skin painted for it in box3.bmp, so stripes and the eye land where the
// body is.
//
// Model units, before the model is centred: the nose points to +x, the back
// to +z, the body runs from x = FISH_NOSE_X to FISH_TAIL_X where the tail
// fin takes over. The skin region of the atlas shows the fish from the side:
// columns from nose (left) to tail (right), rows from back to belly.
#pragma once

#include <cmath>

#include "fmath.h"

namespace content {

inline constexpr double FISH_NOSE_X = 60.0;
inline constexpr double FISH_TAIL_X = -42.0;
inline constexpr double FISH_SKIN_TOP = 24.0;      // z shown in the skin region's top row
inline constexpr double FISH_SKIN_BOTTOM = -24.0;  // z shown in its bottom row
inline constexpr double FISH_EYE_X = 47.0;
inline constexpr double FISH_EYE_Z = 5.0;
inline constexpr double FISH_EYE_RADIUS = 4.2;

// Position along the body for x: 0 at the nose, 1 where the tail fin starts.
inline double fishStation(double x) { return (FISH_NOSE_X - x) / (FISH_NOSE_X - FISH_TAIL_X); }

// Half height of the body at station s: a blunt nose, deepest a third of the
// way back, a slim tail stalk.
inline double fishHalfHeight(double s) {
    if (s <= 0.0) return 0.0;
    return 59.5 * std::sqrt(s) * dpow(1.0 - s + 1e-9, 1.1) + 3.5 * s;
}

// Half width: the body is flat from side to side.
inline double fishHalfWidth(double s) { return 0.42 * fishHalfHeight(s) + 0.6; }

// Skin region coordinates (0..1 across, 0..1 down) of a body point.
inline double skinFx(double x) { return fishStation(x); }
inline double skinFy(double z) { return (FISH_SKIN_TOP - z) / (FISH_SKIN_TOP - FISH_SKIN_BOTTOM); }

}  // namespace content
