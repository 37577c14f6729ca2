// Assembly.h: vertices and pixels put into the shapes ES 3 accepts.
//
// Fixed-function GL takes quads, client arrays of any stride, a current
// normal, colour and texture coordinate for whatever no array supplies, and
// pixels in formats and types ES 3 refuses. These functions turn all of
// that into one vertex layout, triangle indices and RGBA bytes, and RGBA bytes
// back into the formats a read asks for. Pure: no GL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gles/LayerState.h"

namespace gles {

// One vertex as the generated shaders read it.
struct Vertex {
    float position[4];
    float normal[3];
    float texCoord[2];
    float colour[4];
};

// The indices that draw `quads` quads of consecutive vertices as
// triangles: (0, 1, 3) and (1, 2, 3) of each, so that the last vertex of
// both (the one flat shading takes its colour from) is the quad's own last.
std::vector<uint32_t> quadIndices(std::size_t quads);

// Vertex `index` of the enabled client arrays, with current values for the
// arrays that are off. Only float arrays exist in the show.
Vertex fetchVertex(const ClientState& client, const CurrentState& current, uint32_t index);

// Pixels of a glTexImage2D call as tightly packed RGBA bytes. Formats RGB,
// RGBA, LUMINANCE; types UNSIGNED_BYTE and UNSIGNED_INT (the top byte of
// each component counts); rows aligned to `alignment` bytes. Returns false
// for anything else. Null pixels give zeros, as the storage of an empty
// texture.
bool unpackToRgba(int width, int height, unsigned format, unsigned type, int alignment, const void* pixels,
                  std::vector<uint8_t>& rgba);

// RGBA bytes as read from ES 3 (tightly packed) into the pixels of a
// glReadPixels call: formats RGB, RGBA and BGRA of UNSIGNED_BYTE, rows
// aligned to `alignment` bytes (the padding left as it was). Returns false
// for anything else.
bool packFromRgba(int width, int height, unsigned format, unsigned type, int alignment,
                  const std::vector<uint8_t>& rgba, void* pixels);

// Base format of an internal format argument (1..4 components or a name).
BaseFormat baseFormatOf(int internalFormat);

// The fixed-function picture scaling to a power of two, when a mipmapped
// picture is not one already: each side goes to the nearest power of two
// (3 to 4, 5 to 4, 6 to 8; at most `maxSize`), box-filtered over RGBA bytes.
void scaleToPowerOfTwo(int& width, int& height, std::vector<uint8_t>& rgba, int maxSize);

}  // namespace gles
