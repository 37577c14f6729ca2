// GL/glenums.h of the GL 1.x layer: the enum values its pure code reads, so
// that code needs no GL header; ES 3's written exactly as GLES3/gl3.h writes
// them (GL/gl.h includes both, and the compiler warns of a value that differs).
#pragma once

#define GL_QUADS 0x0007
#define GL_FLAT 0x1D00
#define GL_SMOOTH 0x1D01
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_EXP 0x0800
#define GL_EYE_LINEAR 0x2400
#define GL_SPHERE_MAP 0x2402
#define GL_MODULATE 0x2100
#define GL_DECAL 0x2101
#define GL_BGRA 0x80E1
#define GL_POINT_BIT 0x00000002
#define GL_POLYGON_STIPPLE_BIT 0x00000010
#define GL_LIGHTING_BIT 0x00000040
#define GL_ACCUM_BUFFER_BIT 0x00000200
#define GL_VIEWPORT_BIT 0x00000800
#define GL_TRANSFORM_BIT 0x00001000
#define GL_TEXTURE_BIT 0x00040000
#define GL_SCISSOR_BIT 0x00080000

// ES 3's own.
#define GL_ZERO 0
#define GL_ONE 1
#define GL_LINES 0x0001
#define GL_TRIANGLES 0x0004
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_STENCIL_BUFFER_BIT 0x00000400
#define GL_LESS 0x0201
#define GL_ALWAYS 0x0207
#define GL_BACK 0x0405
#define GL_CCW 0x0901
#define GL_UNSIGNED_BYTE 0x1401
#define GL_UNSIGNED_INT 0x1405
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_LUMINANCE 0x1909
#define GL_KEEP 0x1E00
#define GL_REPLACE 0x1E01
#define GL_LINEAR 0x2601
