// ScreenCopy.cpp: the feedback textures' one framebuffer copy.
#include "model/ScreenCopy.h"

#include <GL/gl.h>

void copyScreenSquare(uint32_t texture, int internalFormat, int size, bool& captured)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    if (captured) {
        // Same size and format as the first copy: into the storage the
        // texture already has.
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, size, size);
    } else {
        glCopyTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLenum>(internalFormat), 0, 0, size, size, 0);
        captured = true;
    }
}
