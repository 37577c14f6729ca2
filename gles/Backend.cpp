// Backend.cpp: shader building, uniforms and the draw call.
#include "gles/Backend.h"

#include <cstdio>
#include <cstdlib>

namespace gles {

namespace {

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
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const auto at = [](std::size_t offset) { return reinterpret_cast<const void*>(offset); };
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, texCoord)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), at(offsetof(Vertex, colour)));
}

const Backend::Program& Backend::programFor(const ShaderKey& key)
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
    const auto where = [&](const char* name) { return glGetUniformLocation(p.name, name); };
    p.modelView = where("uModelView");
    p.projection = where("uProjection");
    p.normalMatrix = where("uNormalMatrix");
    p.sceneColor = where("uSceneColor");
    p.lightPosition = where("uLightPosition");
    p.ambient = where("uAmbientProduct");
    p.diffuse = where("uDiffuseProduct");
    p.specular = where("uSpecularProduct");
    p.shininess = where("uShininess");
    p.alpha = where("uAlpha");
    p.texture = where("uTexture");
    p.fogColor = where("uFogColor");
    p.fogEnd = where("uFogEnd");
    p.fogScale = where("uFogScale");
    return programs.emplace(packed, p).first->second;
}

void Backend::draw(const LayerState& state, const ShaderKey& key, unsigned primitive, const std::vector<Vertex>& vertices)
{
    if (vertices.empty()) return;
    const Program& p = programFor(key);
    glUseProgram(p.name);
    const Mat4& modelview = state.modelview.back();
    glUniformMatrix4fv(p.modelView, 1, GL_FALSE, modelview.data());
    glUniformMatrix4fv(p.projection, 1, GL_FALSE, state.projection.back().data());
    if (p.normalMatrix >= 0) glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, normalMatrix(modelview).data());
    if (key.lighting) {
        const LightingState& l = state.server.lighting;
        const Material& m = l.front;
        const Vec4 scene{m.emission[0] + l.modelAmbient[0] * m.ambient[0],
                         m.emission[1] + l.modelAmbient[1] * m.ambient[1],
                         m.emission[2] + l.modelAmbient[2] * m.ambient[2], 1.0f};
        glUniform4fv(p.sceneColor, 1, scene.data());
        glUniform4fv(p.lightPosition, 1, l.lightPosition.data());
        glUniform4fv(p.ambient, 1, product(l.lightAmbient, m.ambient).data());
        glUniform4fv(p.diffuse, 1, product(l.lightDiffuse, m.diffuse).data());
        glUniform4fv(p.specular, 1, product(l.lightSpecular, m.specular).data());
        glUniform1f(p.shininess, m.shininess);
        glUniform1f(p.alpha, m.diffuse[3]);
    }
    if (key.texture != BaseFormat::None) glUniform1i(p.texture, 0);
    if (key.fog) {
        const FogState& f = state.server.fog;
        glUniform4fv(p.fogColor, 1, f.colour.data());
        glUniform1f(p.fogEnd, f.end);
        glUniform1f(p.fogScale, f.end != f.start ? 1.0f / (f.end - f.start) : 0.0f);
    }
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data(),
                 GL_STREAM_DRAW);
    glDrawArrays(primitive, 0, static_cast<GLsizei>(vertices.size()));
}

}  // namespace gles
