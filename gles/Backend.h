// Backend.h: the GL 1.x layer's use of the ES 3 driver for drawing.
//
// Every batch goes into one streaming vertex buffer, written as a ring:
// each draw takes the next free range, and only when the ring is full is
// its storage orphaned (the driver keeps the old one for the draws still
// reading it) and writing starts again at the front. Nothing is created or
// resized per draw. Quads are drawn as indexed triangles from one index
// buffer made once. The generated programs are cached by key with their
// uniform locations and the values last sent, so a program is switched to
// and a uniform sent only when it changes.
#pragma once

#include <GLES3/gl3.h>

#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "gles/Assembly.h"
#include "gles/ShaderKey.h"

namespace gles {

class Backend {
public:
    // Forgets everything made in an earlier context and makes the vertex
    // array and buffers in the current one.
    void reset();
    // Draws `vertices` as `mode` (GL_QUADS or a primitive ES has) under
    // `state`, with the program for `key`; an unfinished quad at the end is
    // dropped.
    void draw(const LayerState& state, const ShaderKey& key, unsigned mode, const std::vector<Vertex>& vertices);

private:
    // The uniforms of the generated shaders, by slot.
    enum Uniform {
        MODEL_VIEW, PROJECTION, NORMAL_MATRIX, SCENE_COLOR, LIGHT_POSITION, AMBIENT, DIFFUSE, SPECULAR,
        SHININESS, ALPHA, FOG_COLOR, FOG_END, FOG_SCALE, UNIFORM_COUNT
    };
    // A uniform's value as last sent (no value yet: size 0).
    struct SentValue {
        std::array<float, 16> values{};
        int size = 0;
    };
    struct Program {
        GLuint name = 0;
        std::array<GLint, UNIFORM_COUNT> location{};
        std::array<SentValue, UNIFORM_COUNT> sent{};
    };
    Program& programFor(const ShaderKey& key);
    // Sends `size` floats to `slot` of `p` unless they are what it holds.
    void send(Program& p, Uniform slot, const float* values, int size);
    // Copies `count` vertices into the ring; returns the first one's index
    // in the buffer.
    GLint stream(const Vertex* vertices, std::size_t count);
    // Points the vertex attributes at vertex `first` of the buffer.
    void pointAttributesAt(GLint first);
    // Makes the index buffer hold at least `quads` quads.
    void reserveQuads(std::size_t quads);

    GLuint vertexArray = 0;
    GLuint buffer = 0;
    GLuint indexBuffer = 0;
    std::size_t used = 0;       // bytes of the ring written since its storage was made
    std::size_t capacity = 0;   // bytes of the ring's storage
    GLint pointerBase = 0;      // vertex the attributes point at
    std::size_t indexQuads = 0; // quads the index buffer holds
    GLuint currentProgram = 0;
    std::unordered_map<uint32_t, Program> programs;
};

}  // namespace gles
