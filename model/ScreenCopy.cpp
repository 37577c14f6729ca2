// ScreenCopy.cpp: the feedback textures' one framebuffer copy.
#include "model/ScreenCopy.h"

#include <GL/gl.h>

#include "common/Screen.h"

void copyScreenSquare(uint32_t texture, int internalFormat, int size, bool& captured)
{
    // On llvmpipe the copy is a blit that switches framebuffers twice, each
    // switch sending the work so far to the rasterizer without waiting; the
    // next batch may then reuse one whose last thread is still signalling
    // it. Finished work before and after leaves nothing in flight.
    if (waitForFlushes()) glFinish();
    glBindTexture(GL_TEXTURE_2D, texture);
    if (captured) {
        // Same size and format as the first copy: into the storage the
        // texture already has.
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, size, size);
    } else {
        glCopyTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLenum>(internalFormat), 0, 0, size, size, 0);
        captured = true;
    }
    if (waitForFlushes()) glFinish();
}
