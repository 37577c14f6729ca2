// GL/gl.h of the GL 1.x layer: the header the show's sources include when
// they are built to draw through the layer (see gles/Layer.h).
//
// It takes the types and the shared enums from OpenGL ES 3, adds the
// fixed-function enums the show uses with their desktop values (those the
// layer's pure code reads as well in glenums.h), and maps every
// fixed-function call the show makes onto the layer's own function of the
// same name with a `qgl` prefix. The show's code is unchanged; only the
// include path decides whether `glBegin` is the driver's or the layer's.
// Calls the layer does not map (framebuffer objects, for instance) stay the
// driver's own ES 3 functions.
#pragma once

#include <GLES3/gl3.h>

#include "glenums.h"

typedef double GLdouble;
typedef double GLclampd;

// Enables of fixed-function state.
#define GL_LIGHTING 0x0B50
#define GL_LIGHT0 0x4000
#define GL_FOG 0x0B60
#define GL_NORMALIZE 0x0BA1
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61

// Shading, matrices, lights and materials.
#define GL_MATRIX_MODE 0x0BA0
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_SHININESS 0x1601
#define GL_LIGHT_MODEL_COLOR_CONTROL 0x81F8
#define GL_SINGLE_COLOR 0x81F9

// Fog and hints.
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_START 0x0B63
#define GL_FOG_END 0x0B64
#define GL_FOG_HINT 0x0C54
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50

// Texture coordinate generation and environments.
#define GL_S 0x2000
#define GL_T 0x2001
#define GL_TEXTURE_GEN_MODE 0x2500
#define GL_TEXTURE_ENV 0x2300
#define GL_TEXTURE_ENV_MODE 0x2200

// Client arrays, and the stack errors beyond ES 3.0.
#define GL_VERTEX_ARRAY 0x8074
#define GL_NORMAL_ARRAY 0x8075
#define GL_TEXTURE_COORD_ARRAY 0x8078
#define GL_T2F_V3F 0x2A27
#define GL_CLIENT_VERTEX_ARRAY_BIT 0x00000002
#define GL_STACK_OVERFLOW 0x0503
#define GL_STACK_UNDERFLOW 0x0504

#ifdef __cplusplus
extern "C" {
#endif

// Immediate mode and current values.
void qglBegin(GLenum mode);
void qglEnd(void);
void qglVertex2f(GLfloat x, GLfloat y);
void qglVertex3f(GLfloat x, GLfloat y, GLfloat z);
void qglVertex3fv(const GLfloat* v);
void qglNormal3f(GLfloat x, GLfloat y, GLfloat z);
void qglNormal3fv(const GLfloat* v);
void qglTexCoord2f(GLfloat s, GLfloat t);
void qglColor3f(GLfloat r, GLfloat g, GLfloat b);
void qglColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);

// Matrix stacks.
void qglMatrixMode(GLenum mode);
void qglLoadIdentity(void);
void qglPushMatrix(void);
void qglPopMatrix(void);
void qglTranslatef(GLfloat x, GLfloat y, GLfloat z);
void qglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void qglOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar);

// Enables and attribute stacks.
void qglEnable(GLenum cap);
void qglDisable(GLenum cap);
GLboolean qglIsEnabled(GLenum cap);
void qglEnableClientState(GLenum array);
void qglDisableClientState(GLenum array);
void qglPushAttrib(GLbitfield mask);
void qglPopAttrib(void);
void qglPushClientAttrib(GLbitfield mask);
void qglPopClientAttrib(void);

// Lighting, fog, texturing state.
void qglLightfv(GLenum light, GLenum pname, const GLfloat* params);
void qglMaterialf(GLenum face, GLenum pname, GLfloat param);
void qglMaterialfv(GLenum face, GLenum pname, const GLfloat* params);
void qglShadeModel(GLenum mode);
void qglFogf(GLenum pname, GLfloat param);
void qglFogfv(GLenum pname, const GLfloat* params);
void qglFogi(GLenum pname, GLint param);
void qglHint(GLenum target, GLenum mode);
void qglTexGeni(GLenum coord, GLenum pname, GLint param);
void qglTexEnvi(GLenum target, GLenum pname, GLint param);
void qglGetTexEnviv(GLenum target, GLenum pname, GLint* params);

// Per-fragment state and the framebuffer.
void qglBlendFunc(GLenum sfactor, GLenum dfactor);
void qglDepthFunc(GLenum func);
void qglDepthMask(GLboolean flag);
void qglClearDepth(GLclampd depth);
void qglStencilFunc(GLenum func, GLint ref, GLuint mask);
void qglStencilOp(GLenum fail, GLenum zfail, GLenum zpass);
void qglCullFace(GLenum mode);
void qglFrontFace(GLenum mode);
void qglColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a);
void qglScissor(GLint x, GLint y, GLsizei width, GLsizei height);
void qglViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void qglClear(GLbitfield mask);
void qglClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void qglReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
void qglPixelStorei(GLenum pname, GLint param);
void qglFlush(void);
void qglFinish(void);

// Textures.
void qglGenTextures(GLsizei n, GLuint* textures);
void qglBindTexture(GLenum target, GLuint texture);
void qglDeleteTextures(GLsizei n, const GLuint* textures);
void qglTexParameteri(GLenum target, GLenum pname, GLint param);
void qglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                   GLenum format, GLenum type, const void* pixels);
void qglCopyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x, GLint y, GLsizei width,
                       GLsizei height, GLint border);
void qglCopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y, GLsizei width,
                          GLsizei height);

// Client arrays.
void qglVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void qglNormalPointer(GLenum type, GLsizei stride, const void* pointer);
void qglInterleavedArrays(GLenum format, GLsizei stride, const void* pointer);
void qglDrawArrays(GLenum mode, GLint first, GLsizei count);
void qglDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);

// Queries.
void qglGetFloatv(GLenum pname, GLfloat* params);
void qglGetIntegerv(GLenum pname, GLint* params);
void qglGetBooleanv(GLenum pname, GLboolean* params);
GLenum qglGetError(void);

#ifdef __cplusplus
}
#endif

// The layer's own sources (and the page's entry, which calls WebGL itself)
// define QGL_NO_MACROS: they see the layer's declarations, checked against
// its definitions, without the driver's functions renamed.
#ifndef QGL_NO_MACROS
#define glBegin qglBegin
#define glEnd qglEnd
#define glVertex2f qglVertex2f
#define glVertex3f qglVertex3f
#define glVertex3fv qglVertex3fv
#define glNormal3f qglNormal3f
#define glNormal3fv qglNormal3fv
#define glTexCoord2f qglTexCoord2f
#define glColor3f qglColor3f
#define glColor4f qglColor4f
#define glMatrixMode qglMatrixMode
#define glLoadIdentity qglLoadIdentity
#define glPushMatrix qglPushMatrix
#define glPopMatrix qglPopMatrix
#define glTranslatef qglTranslatef
#define glRotatef qglRotatef
#define glOrtho qglOrtho
#define glEnable qglEnable
#define glDisable qglDisable
#define glIsEnabled qglIsEnabled
#define glEnableClientState qglEnableClientState
#define glDisableClientState qglDisableClientState
#define glPushAttrib qglPushAttrib
#define glPopAttrib qglPopAttrib
#define glPushClientAttrib qglPushClientAttrib
#define glPopClientAttrib qglPopClientAttrib
#define glLightfv qglLightfv
#define glMaterialf qglMaterialf
#define glMaterialfv qglMaterialfv
#define glShadeModel qglShadeModel
#define glFogf qglFogf
#define glFogfv qglFogfv
#define glFogi qglFogi
#define glHint qglHint
#define glTexGeni qglTexGeni
#define glTexEnvi qglTexEnvi
#define glGetTexEnviv qglGetTexEnviv
#define glBlendFunc qglBlendFunc
#define glDepthFunc qglDepthFunc
#define glDepthMask qglDepthMask
#define glClearDepth qglClearDepth
#define glStencilFunc qglStencilFunc
#define glStencilOp qglStencilOp
#define glCullFace qglCullFace
#define glFrontFace qglFrontFace
#define glColorMask qglColorMask
#define glScissor qglScissor
#define glViewport qglViewport
#define glClear qglClear
#define glClearColor qglClearColor
#define glReadPixels qglReadPixels
#define glPixelStorei qglPixelStorei
#define glFlush qglFlush
#define glFinish qglFinish
#define glGenTextures qglGenTextures
#define glBindTexture qglBindTexture
#define glDeleteTextures qglDeleteTextures
#define glTexParameteri qglTexParameteri
#define glTexImage2D qglTexImage2D
#define glCopyTexImage2D qglCopyTexImage2D
#define glCopyTexSubImage2D qglCopyTexSubImage2D
#define glVertexPointer qglVertexPointer
#define glNormalPointer qglNormalPointer
#define glInterleavedArrays qglInterleavedArrays
#define glDrawArrays qglDrawArrays
#define glDrawElements qglDrawElements
#define glGetFloatv qglGetFloatv
#define glGetIntegerv qglGetIntegerv
#define glGetBooleanv qglGetBooleanv
#define glGetError qglGetError
#endif
