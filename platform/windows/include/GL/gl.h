// GL/gl.h for the Windows build: mingw-w64's own gl.h (OpenGL 1.1), then
// glext.h with the later names (renderbuffers, aliased line widths), as
// Mesa's gl.h includes it on Linux. The calls past 1.1 are looked up at run
// time, as on Linux.
#pragma once
#include_next <GL/gl.h>
#include <GL/glext.h>
