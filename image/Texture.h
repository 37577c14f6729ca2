// Texture.h: placeholder until the picture readers land.
#pragma once
#include <cstdint>
bool textureFromBmp(const char* path, uint32_t& name);
