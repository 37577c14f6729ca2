// ScreenCopy.h: the feedback textures' copy of the framebuffer's corner.
#pragma once

#include <cstdint>

// Copies the size x size square at the framebuffer's lower left into
// `texture`. The first copy (captured false) gives the texture that size
// and the internal format (GL_RGB, GL_LUMINANCE...) and sets `captured`;
// later ones copy into the storage it already has. Leaves the texture
// bound.
void copyScreenSquare(uint32_t texture, int internalFormat, int size, bool& captured);
