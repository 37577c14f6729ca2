// GL/glenums.h of the GL 1.x layer: the enum values it knows, by GL name:
// the fixed-function ones ES 3 lacks, with their desktop values, and the ES 3
// ones its pure code reads, written exactly as GLES3/gl3.h writes them (GL/gl.h
// includes both, and the compiler warns of a value that differs).
#pragma once

// Primitives beyond ES.
#define GL_QUADS 0x0007

// Errors beyond ES 3.0.
#define GL_STACK_OVERFLOW 0x0503
#define GL_STACK_UNDERFLOW 0x0504

// Enables of fixed-function state.
#define GL_LIGHTING 0x0B50
#define GL_LIGHT0 0x4000
#define GL_FOG 0x0B60
#define GL_NORMALIZE 0x0BA1
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61

// Shading, matrices, lights and materials.
#define GL_FLAT 0x1D00
#define GL_SMOOTH 0x1D01
#define GL_MATRIX_MODE 0x0BA0
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
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
#define GL_EXP 0x0800
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
#define GL_EYE_LINEAR 0x2400
#define GL_SPHERE_MAP 0x2402
#define GL_TEXTURE_ENV 0x2300
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_MODULATE 0x2100
#define GL_DECAL 0x2101

// Client arrays.
#define GL_VERTEX_ARRAY 0x8074
#define GL_NORMAL_ARRAY 0x8075
#define GL_TEXTURE_COORD_ARRAY 0x8078
#define GL_T2F_V3F 0x2A27

// Pixel formats beyond ES.
#define GL_BGRA 0x80E1

// Attribute groups.
#define GL_CLIENT_VERTEX_ARRAY_BIT 0x00000002
#define GL_POINT_BIT 0x00000002
#define GL_POLYGON_STIPPLE_BIT 0x00000010
#define GL_LIGHTING_BIT 0x00000040
#define GL_ACCUM_BUFFER_BIT 0x00000200
#define GL_VIEWPORT_BIT 0x00000800
#define GL_TRANSFORM_BIT 0x00001000
#define GL_TEXTURE_BIT 0x00040000
#define GL_SCISSOR_BIT 0x00080000

// ES 3 values the pure code reads, as GLES3/gl3.h has them.
#define GL_ZERO 0
#define GL_ONE 1
#define GL_LINES 0x0001
#define GL_TRIANGLES 0x0004
#define GL_TRIANGLE_STRIP 0x0005
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
