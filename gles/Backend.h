// Backend.h: the GL 1.x layer's use of the ES 3 driver for drawing: one
// vertex array and buffer for every batch, and the generated programs
// cached by key with their uniform locations.
#pragma once

#include <GLES3/gl3.h>

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "gles/Assembly.h"
#include "gles/ShaderKey.h"

namespace gles {

class Backend {
public:
    // Forgets everything made in an earlier context and makes the vertex
    // array and buffer in the current one.
    void reset();
    // Draws `vertices` (already assembled for ES) as `primitive` under
    // `state`, with the program for `key`.
    void draw(const LayerState& state, const ShaderKey& key, unsigned primitive, const std::vector<Vertex>& vertices);

private:
    struct Program {
        GLuint name = 0;
        GLint modelView = -1, projection = -1, normalMatrix = -1;
        GLint sceneColor = -1, lightPosition = -1, ambient = -1, diffuse = -1, specular = -1, shininess = -1,
              alpha = -1;
        GLint texture = -1, fogColor = -1, fogEnd = -1, fogScale = -1;
    };
    const Program& programFor(const ShaderKey& key);

    GLuint vertexArray = 0;
    GLuint buffer = 0;
    std::unordered_map<uint32_t, Program> programs;
};

}  // namespace gles
