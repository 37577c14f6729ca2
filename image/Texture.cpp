// Texture.cpp: placeholder until the picture readers land.
#include "image/Texture.h"
bool textureFromBmp(const char*, uint32_t&) { return false; }
