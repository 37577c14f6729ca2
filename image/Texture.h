// Texture.h: picture file to OpenGL texture in one call.
//
// Each function reads a picture with the BMP reader (Image) or the JPEG
// reader (JPGImage), makes a new texture object, stores its name in the
// caller's variable, uploads the pixels and throws the pixel record away.
// The texture stays bound and 2D texturing stays enabled afterwards.
// Textures are never deleted: loading again into the same variable makes a
// new name and leaves the old texture allocated.
//
// A picture that cannot be read makes the function return false after the
// reader's own message, with no GL call and the caller's variable unchanged.
//
// The sphere-map variants also set the context's S and T generation mode to
// sphere mapping and enable GL_NORMALIZE; those settings outlive the call
// and take effect wherever a draw enables GL_TEXTURE_GEN_S/T.
// Needs: a current GL context (OpenGL 1.1 + GLU).
#pragma once

#include <cstdint>
#include <string>

// The message box belongs with texture creation: the users of these
// functions report their own load failures through it.
#include "image/Message.h"

// Picture kinds, for objects that accept either file type.
constexpr int PICTURE_BMP = 1000;
constexpr int PICTURE_JPEG = 1001;

// `name` is the caller's GL texture-name variable (GLuint is a 32-bit
// unsigned int); this header needs no GL include.

// BMP picture as a linear-filtered RGBA texture, from the reversed buffer.
bool textureFromBmp(const std::string& path, std::uint32_t& name);
// JPEG picture as a linear-filtered RGBA texture, from the reversed buffer.
bool textureFromJpeg(const std::string& path, std::uint32_t& name);
// BMP picture as a mipmapped sphere map, from the reversed buffer.
bool sphereMapFromBmp(const std::string& path, std::uint32_t& name);
// JPEG picture as a mipmapped sphere map, from the unreversed rgb buffer.
bool sphereMapFromJpeg(const std::string& path, std::uint32_t& name);
