// GL/glext.h of the GL 1.x layer: framebuffer objects and their function
// types are core in OpenGL ES 3, which GL/gl.h already brings in.
#pragma once

// Its own GL/gl.h beside it, whatever the include path finds first.
#include "gl.h"
