// Light.h: what the 3DS reader keeps of a light object: position, colour and,
// for spotlights, target and cone. Filled by Reader3DS, read by nobody else.
#pragma once

#include "reader3ds/Material.h"
#include "reader3ds/NamedObject.h"
#include "reader3ds/Vectors3DS.h"

// A light object. Target, hotspot and falloff are only read for spotlights
// and stay 0 otherwise.
class Light : public NamedObject {
public:
    r3ds::Vec3 position;
    Color3 color;
    r3ds::Vec3 target;
    float hotspot = 0.0f;
    float falloff = 0.0f;
};
