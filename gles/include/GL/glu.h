// GL/glu.h of the GL 1.x layer: the two utility calls the show makes.
#pragma once

// Its own GL/gl.h beside it, whatever the include path finds first.
#include "gl.h"

#ifdef __cplusplus
extern "C" {
#endif

void qgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
GLint qgluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format, GLenum type,
                         const void* data);

#ifdef __cplusplus
}
#endif

// The layer's own sources declare its functions without renaming the driver's.
#ifndef QGL_NO_MACROS
#define gluPerspective qgluPerspective
#define gluBuild2DMipmaps qgluBuild2DMipmaps
#endif
