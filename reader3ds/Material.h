// Material.h: what the 3DS reader keeps of a material block (colours,
// shininess, transparency, shading code and six texture maps), and the
// colour type shared with lights. Plain records filled by Reader3DS; the show
// itself only counts materials.
#pragma once

#include <cstdint>

#include "reader3ds/NamedObject.h"

struct Color3 {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// One texture map of a material. The defaults are those of a map the file
// does not mention: full scale, no offset, no file.
struct TextureMap {
    static constexpr int FILE_NAME_SIZE = 256;

    float strength = 0.0f;
    char fileName[FILE_NAME_SIZE] = {};
    float uScale = 1.0f;
    float vScale = 1.0f;
    float uOffset = 0.0f;
    float vOffset = 0.0f;
};

// Shading codes as the file stores them.
enum : std::uint32_t {
    SHADING_WIRE = 0,
    SHADING_FLAT = 1,
    SHADING_GOURAUD = 2,
    SHADING_PHONG = 3,
    SHADING_METAL = 4,
};

class Material : public NamedObject {
public:
    // Position in the reader's material array; faces refer to it.
    std::uint32_t GetId() const { return index; }
    void SetId(std::uint32_t newIndex) { index = newIndex; }

    std::uint32_t index = 0;
    TextureMap textureMap1;
    TextureMap textureMap2;
    TextureMap opacityMap;
    TextureMap reflectionMap;
    TextureMap bumpMap;
    TextureMap specularMap;
    Color3 ambient;
    Color3 diffuse;
    Color3 specular;
    float shininess = 0.0f;     // 0 to 1
    float transparency = 0.0f;  // 0 to 1
    std::uint32_t shading = SHADING_GOURAUD;
};
