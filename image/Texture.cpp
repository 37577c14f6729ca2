// Texture.cpp: texture creation from the picture readers. All GL calls of
// the image subsystem live here; the readers themselves never touch GL.
#include "image/Texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <type_traits>

#include "common/LoadTimes.h"
#include "image/Image.h"
#include "image/JPGImage.h"

static_assert(std::is_same_v<GLuint, std::uint32_t>, "texture names are handed out as std::uint32_t");

namespace {

// Steps 2-4 of every texture: texturing on, a fresh name bound, linear
// filters (the sphere maps' mipmap levels are built but not used for
// minification).
void beginTexture(GLuint& name)
{
    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

// Plain texture at the picture's own size from a 4-byte-per-pixel buffer.
void uploadPlain(GLsizei width, GLsizei height, const unsigned char* rgba)
{
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

// Context-wide sphere-map settings; the draws that want them enable
// generation themselves.
void setSphereMapping()
{
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_NORMALIZE);
}

}  // namespace

bool textureFromBmp(const std::string& path, std::uint32_t& name)
{
    const LoadTimer timer(LoadKind::Pictures);
    Image picture;
    if (!picture.load(path)) {
        return false;
    }
    beginTexture(name);
    uploadPlain(picture.width, picture.height, picture.rgba.data());
    return true;
}

bool textureFromJpeg(const std::string& path, std::uint32_t& name)
{
    const LoadTimer timer(LoadKind::Pictures);
    JPGImage picture;
    if (!picture.load(path)) {
        return false;
    }
    beginTexture(name);
    uploadPlain(static_cast<GLsizei>(picture.width), static_cast<GLsizei>(picture.height), picture.rgba.data());
    return true;
}

bool sphereMapFromBmp(const std::string& path, std::uint32_t& name)
{
    const LoadTimer timer(LoadKind::Pictures);
    Image picture;
    if (!picture.load(path)) {
        return false;
    }
    beginTexture(name);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture.width, picture.height, GL_RGBA, GL_UNSIGNED_BYTE,
                      picture.rgba.data());
    setSphereMapping();
    return true;
}

bool sphereMapFromJpeg(const std::string& path, std::uint32_t& name)
{
    const LoadTimer timer(LoadKind::Pictures);
    JPGImage picture;
    if (!picture.load(path)) {
        return false;
    }
    beginTexture(name);
    // The rgb rows are packed (width * 3 bytes), while GL by default expects
    // rows padded to 4 bytes; read them byte-aligned for this upload only, so
    // every width comes out unskewed and the pixel-store state is as before.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, static_cast<GLint>(picture.width), static_cast<GLint>(picture.height),
                      GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    setSphereMapping();
    return true;
}
