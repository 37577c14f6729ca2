// Backend.cpp: shader building, uniforms and the draw call.
#include "gles/Backend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gles/Counters.h"

namespace gles {

namespace {

// The ring's first storage: larger than any batch the show draws, so
// that a frame wraps it at most once or twice.
constexpr std::size_t RING_BYTES = 4u << 20;
// Quads the first index buffer holds; it doubles when a batch has more.
constexpr std::size_t FIRST_QUADS = 16384;

GLuint compile(GLenum type, const std::string& source)
{
    const GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "gles: shader does not compile: %s\n%s", log, source.c_str());
    }
    return shader;
}

// Colour products of light and material, as fixed-function lighting sums them.
Vec4 product(const Vec4& a, const Vec4& b)
{
    return {a[0] * b[0], a[1] * b[1], a[2] * b[2], a[3] * b[3]};
}

}  // namespace

void Backend::reset()
{
    // The names of an earlier context are gone with it; nothing to delete.
    programs.clear();
    currentProgram = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    capacity = RING_BYTES;
    used = 0;
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(capacity), nullptr, GL_STREAM_DRAW);
    ++counters().bufferAllocations;
    for (GLuint attribute = 0; attribute < 4; ++attribute) glEnableVertexAttribArray(attribute);
    pointAttributesAt(0);
    // The element buffer belongs to the vertex array, which stays bound.
    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    indexQuads = 0;
    reserveQuads(FIRST_QUADS);
}

void Backend::pointAttributesAt(GLint first)
{
    const std::size_t base = static_cast<std::size_t>(first) * sizeof(Vertex);
    const auto at = [base](std::size_t offset) { return reinterpret_cast<const void*>(base + offset); };
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, position)));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, normal)));
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, texCoord)));
    glVertexAttribPointer(3, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, colour)));
    pointerBase = first;
}

void Backend::reserveQuads(std::size_t quads)
{
    if (quads <= indexQuads) return;
    std::size_t size = std::max<std::size_t>(indexQuads, FIRST_QUADS);
    while (size < quads) size *= 2;
    const std::vector<uint32_t> indices = quadIndices(size);
    const std::size_t bytes = indices.size() * sizeof(uint32_t);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), indices.data(), GL_STATIC_DRAW);
    Counters& c = counters();
    ++c.bufferAllocations;
    ++c.bufferUploads;
    c.bufferBytes += bytes;
    indexQuads = size;
}

GLint Backend::stream(const Vertex* vertices, std::size_t count)
{
    const std::size_t bytes = count * sizeof(Vertex);
    Counters& c = counters();
    if (used + bytes > capacity) {
        // Full: new storage (larger, for a batch bigger than the ring),
        // while the draws already made keep reading the old one.
        while (capacity < bytes) capacity *= 2;
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(capacity), nullptr, GL_STREAM_DRAW);
        ++c.bufferAllocations;
        used = 0;
    }
    if (used == 0 && pointerBase != 0) pointAttributesAt(0);
#ifdef __EMSCRIPTEN__
    // WebGL has no mapping; the browser copies the range in its own command
    // stream, after the draws before it.
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(used), static_cast<GLsizeiptr>(bytes), vertices);
#else
    // The range was never written since the storage was made, so no draw
    // reads it: writing it needs no wait for the draws in flight.
    void* at = glMapBufferRange(GL_ARRAY_BUFFER, static_cast<GLintptr>(used), static_cast<GLsizeiptr>(bytes),
                                GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (at) {
        std::memcpy(at, vertices, bytes);
        glUnmapBuffer(GL_ARRAY_BUFFER);
    } else {
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(used), static_cast<GLsizeiptr>(bytes), vertices);
    }
#endif
    ++c.bufferUploads;
    c.bufferBytes += bytes;
    const auto first = static_cast<GLint>(used / sizeof(Vertex));
    used += bytes;
    return first;
}

Backend::Program& Backend::programFor(const ShaderKey& key)
{
    const uint32_t packed = key.packed();
    if (const auto found = programs.find(packed); found != programs.end()) return found->second;
    Program p;
    p.name = glCreateProgram();
    const GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource(key));
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource(key));
    glAttachShader(p.name, vertex);
    glAttachShader(p.name, fragment);
    glLinkProgram(p.name);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(p.name, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetProgramInfoLog(p.name, sizeof log, nullptr, log);
        std::fprintf(stderr, "gles: program does not link: %s\n", log);
    }
    static constexpr std::array<const char*, UNIFORM_COUNT> NAMES = {
        "uModelView", "uProjection", "uNormalMatrix", "uSceneColor", "uLightPosition", "uAmbientProduct",
        "uDiffuseProduct", "uSpecularProduct", "uShininess", "uAlpha", "uFogColor", "uFogEnd", "uFogScale"};
    for (int slot = 0; slot < UNIFORM_COUNT; ++slot) p.location[slot] = glGetUniformLocation(p.name, NAMES[slot]);
    // Every program samples texture unit 0, the only one the show uses:
    // set once, at the making.
    if (const GLint texture = glGetUniformLocation(p.name, "uTexture"); texture >= 0) {
        glUseProgram(p.name);
        glUniform1i(texture, 0);
        ++counters().programSwitches;
        ++counters().uniformUploads;
        currentProgram = p.name;
    }
    return programs.emplace(packed, p).first->second;
}

void Backend::send(Program& p, Uniform slot, const float* values, int size)
{
    const GLint location = p.location[slot];
    SentValue& sent = p.sent[slot];
    if (location < 0) return;
    // Compared bit for bit: what was sent is what the program holds.
    if (sent.size == size && std::memcmp(sent.values.data(), values, sizeof(float) * size) == 0) return;
    std::memcpy(sent.values.data(), values, sizeof(float) * size);
    sent.size = size;
    switch (size) {
    case 16: glUniformMatrix4fv(location, 1, GL_FALSE, values); break;
    case 9: glUniformMatrix3fv(location, 1, GL_FALSE, values); break;
    case 4: glUniform4fv(location, 1, values); break;
    default: glUniform1f(location, values[0]); break;
    }
    ++counters().uniformUploads;
}

void Backend::draw(const LayerState& state, const ShaderKey& key, unsigned mode, const std::vector<Vertex>& vertices)
{
    const bool quads = mode == GL_QUADS;
    const std::size_t count = quads ? vertices.size() / 4 * 4 : vertices.size();
    if (count == 0) return;
    Program& p = programFor(key);
    if (p.name != currentProgram) {
        glUseProgram(p.name);
        currentProgram = p.name;
        ++counters().programSwitches;
    }
    const Mat4& modelview = state.modelview.back();
    send(p, MODEL_VIEW, modelview.data(), 16);
    send(p, PROJECTION, state.projection.back().data(), 16);
    if (p.location[NORMAL_MATRIX] >= 0) send(p, NORMAL_MATRIX, normalMatrix(modelview).data(), 9);
    if (key.lighting) {
        const LightingState& l = state.server.lighting;
        const Material& m = l.front;
        const Vec4 scene{m.emission[0] + l.modelAmbient[0] * m.ambient[0],
                         m.emission[1] + l.modelAmbient[1] * m.ambient[1],
                         m.emission[2] + l.modelAmbient[2] * m.ambient[2], 1.0f};
        send(p, SCENE_COLOR, scene.data(), 4);
        send(p, LIGHT_POSITION, l.lightPosition.data(), 4);
        send(p, AMBIENT, product(l.lightAmbient, m.ambient).data(), 4);
        send(p, DIFFUSE, product(l.lightDiffuse, m.diffuse).data(), 4);
        send(p, SPECULAR, product(l.lightSpecular, m.specular).data(), 4);
        send(p, SHININESS, &m.shininess, 1);
        send(p, ALPHA, &m.diffuse[3], 1);
    }
    if (key.fog) {
        const FogState& f = state.server.fog;
        const float scale = f.end != f.start ? 1.0f / (f.end - f.start) : 0.0f;
        send(p, FOG_COLOR, f.colour.data(), 4);
        send(p, FOG_END, &f.end, 1);
        send(p, FOG_SCALE, &scale, 1);
    }
    const GLint first = stream(vertices.data(), count);
    if (quads) {
        // The indices count from the attributes' base, so the base moves to
        // the batch's first vertex.
        const std::size_t quadCount = count / 4;
        reserveQuads(quadCount);
        pointAttributesAt(first);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(quadCount * 6), GL_UNSIGNED_INT, nullptr);
    } else {
        glDrawArrays(mode, first - pointerBase, static_cast<GLsizei>(count));
    }
    ++counters().draws;
}

}  // namespace gles
