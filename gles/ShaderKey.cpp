// ShaderKey.cpp: the state-to-key mapping and the generated GLSL.
//
// The vertex stage does what fixed-function GL does per vertex: the
// model-view and projection transforms, lighting of one light with the
// front material (non-local viewer, no attenuation, no two-sided light),
// sphere-map generation and the fog distance |z| in eye space. The fragment
// stage does texturing by environment mode and base format, then linear fog.
#include "gles/ShaderKey.h"

#include <cstdio>

namespace gles {

uint32_t ShaderKey::packed() const
{
    return static_cast<uint32_t>(lighting) | static_cast<uint32_t>(light0) << 1 | static_cast<uint32_t>(flat) << 2 |
           static_cast<uint32_t>(normalize) << 3 | static_cast<uint32_t>(texture) << 4 |
           static_cast<uint32_t>(env) << 7 | static_cast<uint32_t>(sphereS) << 9 |
           static_cast<uint32_t>(sphereT) << 10 | static_cast<uint32_t>(fog) << 11;
}

ShaderKey keyFor(const LayerState& state, std::string& unsupported)
{
    const ServerState& s = state.server;
    // "WHAT 0xVALUE": a state the generated shaders cannot draw.
    const auto named = [](const char* what, unsigned value) {
        char text[64];
        std::snprintf(text, sizeof text, "%s 0x%04x", what, value);
        return std::string(text);
    };
    ShaderKey key;
    key.lighting = s.lighting.lighting;
    key.light0 = key.lighting && s.lighting.light0;
    key.flat = s.lighting.shadeModel == GL_FLAT;
    key.normalize = s.transform.normalize;
    key.texture = state.activeTexture();
    if (key.texture != BaseFormat::None) {
        switch (s.texture.envMode) {
        case GL_MODULATE: key.env = TexEnv::Modulate; break;
        case GL_DECAL: key.env = TexEnv::Decal; break;
        case GL_REPLACE: key.env = TexEnv::Replace; break;
        default: unsupported = named("texture environment mode", s.texture.envMode); break;
        }
        // Generated coordinates only matter where a texture is sampled.
        key.sphereS = s.texture.genS;
        key.sphereT = s.texture.genT;
        if (key.sphereS && s.texture.genModeS != GL_SPHERE_MAP) {
            unsupported = named("texture generation mode", s.texture.genModeS);
        } else if (key.sphereT && s.texture.genModeT != GL_SPHERE_MAP) {
            unsupported = named("texture generation mode", s.texture.genModeT);
        }
    }
    key.fog = s.fog.enabled;
    if (key.fog && s.fog.mode != GL_LINEAR) unsupported = named("fog mode", s.fog.mode);
    // Normals are only read by lighting and by generation.
    if (!key.lighting && !key.sphereS && !key.sphereT) key.normalize = false;
    return key;
}

std::string vertexSource(const ShaderKey& key)
{
    std::string s = "#version 300 es\n";
    const bool needNormal = key.lighting || key.sphereS || key.sphereT;
    s += "layout(location = 0) in vec4 aPosition;\n"
         "layout(location = 1) in vec3 aNormal;\n"
         "layout(location = 2) in vec2 aTexCoord;\n"
         "layout(location = 3) in vec4 aColor;\n"
         "uniform mat4 uModelView;\n"
         "uniform mat4 uProjection;\n"
         "uniform mat3 uNormalMatrix;\n";
    if (key.lighting) {
        s += "uniform vec4 uSceneColor;\n"
             "uniform vec4 uLightPosition;\n"
             "uniform vec4 uAmbientProduct;\n"
             "uniform vec4 uDiffuseProduct;\n"
             "uniform vec4 uSpecularProduct;\n"
             "uniform float uShininess;\n"
             "uniform float uAlpha;\n";
    }
    s += std::string(key.flat ? "flat " : "") + "out vec4 vColor;\n";
    s += "out vec2 vTexCoord;\nout float vFogCoord;\n";
    s += "void main() {\n"
         "  vec4 eye = uModelView * aPosition;\n"
         "  gl_Position = uProjection * eye;\n";
    if (needNormal) {
        s += "  vec3 n = uNormalMatrix * aNormal;\n";
        if (key.normalize) s += "  n = normalize(n);\n";
    }
    if (key.lighting) {
        s += "  vec3 color = uSceneColor.rgb;\n";
        if (key.light0) {
            // A positional light (w = 1) shines from its point, a directional
            // one (w = 0) along its vector; the viewer is at infinity.
            s += "  vec3 l = normalize(uLightPosition.xyz - eye.xyz * uLightPosition.w);\n"
                 "  float nDotL = dot(n, l);\n"
                 "  vec3 h = normalize(l + vec3(0.0, 0.0, 1.0));\n"
                 "  float nDotH = max(dot(n, h), 0.0);\n"
                 "  float spec = nDotL > 0.0 ? (uShininess == 0.0 ? 1.0 : pow(nDotH, uShininess)) : 0.0;\n"
                 "  color += uAmbientProduct.rgb + max(nDotL, 0.0) * uDiffuseProduct.rgb + spec * "
                 "uSpecularProduct.rgb;\n";
        }
        s += "  vColor = vec4(clamp(color, 0.0, 1.0), uAlpha);\n";
    } else {
        s += "  vColor = clamp(aColor, 0.0, 1.0);\n";
    }
    if (key.sphereS || key.sphereT) {
        s += "  vec3 u = normalize(eye.xyz);\n"
             "  vec3 r = u - 2.0 * n * dot(n, u);\n"
             "  float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));\n"
             "  vec2 sphere = vec2(r.x / m + 0.5, r.y / m + 0.5);\n";
    }
    s += std::string("  vTexCoord = vec2(") + (key.sphereS ? "sphere.x" : "aTexCoord.x") + ", " +
         (key.sphereT ? "sphere.y" : "aTexCoord.y") + ");\n";
    s += "  vFogCoord = abs(eye.z);\n}\n";
    return s;
}

std::string fragmentSource(const ShaderKey& key)
{
    std::string s = "#version 300 es\nprecision highp float;\n";
    s += std::string(key.flat ? "flat " : "") + "in vec4 vColor;\n";
    s += "in vec2 vTexCoord;\nin float vFogCoord;\n"
         "uniform sampler2D uTexture;\n"
         "out vec4 fragColor;\n"
         "void main() {\n"
         "  vec4 c = vColor;\n";
    if (key.texture != BaseFormat::None) {
        // Every texture is stored as RGBA; the base format decides which
        // channels the environment sees, as a fixed-function unit would.
        s += "  vec4 t = texture(uTexture, vTexCoord);\n";
        if (key.texture == BaseFormat::Rgb) s += "  t.a = 1.0;\n";
        if (key.texture == BaseFormat::Luminance) s += "  t = vec4(t.rrr, 1.0);\n";
        switch (key.env) {
        case TexEnv::Modulate: s += "  c *= t;\n"; break;
        case TexEnv::Decal: s += "  c.rgb = mix(c.rgb, t.rgb, t.a);\n"; break;
        case TexEnv::Replace:
            s += key.texture == BaseFormat::Rgba ? "  c = t;\n" : "  c.rgb = t.rgb;\n";
            break;
        }
    }
    if (key.fog) {
        s.insert(s.find("out vec4 fragColor"), "uniform vec4 uFogColor;\nuniform float uFogEnd;\nuniform float uFogScale;\n");
        s += "  float f = clamp((uFogEnd - vFogCoord) * uFogScale, 0.0, 1.0);\n"
             "  c.rgb = mix(uFogColor.rgb, c.rgb, f);\n";
    }
    s += "  fragColor = c;\n}\n";
    return s;
}

}  // namespace gles
