// LayerState.h: everything the GL 1.x layer remembers, kept by concern.
//
// The fixed-function state the show sets (matrices, light and materials,
// fog, texturing, per-fragment tests) lives here as plain values, with the
// defaults a fresh GL 1.x context has. Nothing here calls GL: the entry
// points (Layer.cpp) change these values and mirror the parts ES 3 also has
// into the driver; the draw path turns the rest into uniforms and a shader.
// The attribute stacks save and restore whole concerns by group bit.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gles/Matrix.h"
// The enum values, under their GL names; no GL header.
#include "gles/include/GL/glenums.h"

namespace gles {

using Vec4 = std::array<float, 4>;

struct TransformState {
    unsigned matrixMode = GL_MODELVIEW;
    bool normalize = false;
};

struct Material {
    Vec4 ambient{0.2f, 0.2f, 0.2f, 1.0f};
    Vec4 diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    Vec4 specular{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 emission{0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
};

struct LightingState {
    bool lighting = false;
    bool light0 = false;
    unsigned shadeModel = GL_SMOOTH;
    Vec4 lightAmbient{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 lightDiffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Vec4 lightSpecular{1.0f, 1.0f, 1.0f, 1.0f};
    // In eye coordinates: transformed by the model-view matrix when set.
    Vec4 lightPosition{0.0f, 0.0f, 1.0f, 0.0f};
    Vec4 modelAmbient{0.2f, 0.2f, 0.2f, 1.0f};
    // Two-sided lighting is off, so only the front material lights anything;
    // the back one is kept for completeness of the pushed group.
    Material front;
    Material back;
};

struct FogState {
    bool enabled = false;
    unsigned mode = GL_EXP;
    Vec4 colour{0.0f, 0.0f, 0.0f, 0.0f};
    float density = 1.0f;
    float start = 0.0f;
    float end = 1.0f;
};

struct TextureState {
    bool enabled2D = false;
    bool genS = false;
    bool genT = false;
    unsigned genModeS = GL_EYE_LINEAR;
    unsigned genModeT = GL_EYE_LINEAR;
    unsigned envMode = GL_MODULATE;
    unsigned binding = 0;
};

struct DepthState {
    bool test = false;
    unsigned func = GL_LESS;
    bool mask = true;
    float clear = 1.0f;
};

struct StencilState {
    bool test = false;
    unsigned func = GL_ALWAYS;
    int ref = 0;
    unsigned valueMask = 0xFFFFFFFFu;
    unsigned fail = GL_KEEP, zfail = GL_KEEP, zpass = GL_KEEP;
};

struct ScissorState {
    bool test = false;
    std::array<int, 4> box{0, 0, 0, 0};
};

// The groups of state that no attribute bit the show uses covers.
struct OtherState {
    bool blend = false;
    unsigned blendSrc = GL_ONE, blendDst = GL_ZERO;
    bool cull = false;
    unsigned cullFace = GL_BACK;
    unsigned frontFace = GL_CCW;
    std::array<bool, 4> colourMask{true, true, true, true};
    Vec4 clearColour{0.0f, 0.0f, 0.0f, 0.0f};
};

// Server-side state: what glPushAttrib can save.
struct ServerState {
    TransformState transform;
    LightingState lighting;
    FogState fog;
    TextureState texture;
    DepthState depth;
    StencilState stencil;
    ScissorState scissor;
    std::array<int, 4> viewport{0, 0, 0, 0};
    OtherState other;
};

// Attribute bits the layer knows; the point, stipple and accumulation
// groups hold nothing the layer keeps, so saving them saves nothing.
constexpr unsigned KNOWN_ATTRIB_BITS = GL_POINT_BIT | GL_POLYGON_STIPPLE_BIT | GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT |
                                       GL_ACCUM_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_VIEWPORT_BIT |
                                       GL_TRANSFORM_BIT | GL_TEXTURE_BIT | GL_SCISSOR_BIT;

// Copies the groups named in mask from saved into state.
void restoreGroups(ServerState& state, const ServerState& saved, unsigned mask);

// Whether the scissor test is on with a box of no area: then no draw or
// clear can touch a colour, depth or stencil value (the stepped frames).
bool scissorShutsEverything(const ServerState& state);

// One client array: components, stride in bytes (0: tightly packed), data.
struct ClientArray {
    bool enabled = false;
    int size = 3;
    int stride = 0;
    const void* pointer = nullptr;
};

struct ClientState {
    ClientArray vertex;
    ClientArray normal;
    ClientArray texCoord;
};

// Base format a texture samples as: what the fixed-function combiners see.
enum class BaseFormat : uint8_t { None, Rgb, Rgba, Luminance };

// Current values that vertices take.
struct CurrentState {
    Vec4 colour{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 3> normal{0.0f, 0.0f, 1.0f};
    std::array<float, 2> texCoord{0.0f, 0.0f};
};

struct LayerState {
    ServerState server;
    ClientState client;
    CurrentState current;
    std::vector<Mat4> modelview{identity()};
    std::vector<Mat4> projection{identity()};
    std::vector<std::pair<unsigned, ServerState>> attribStack;
    std::vector<ClientState> clientStack;
    // What each texture name holds, once an image was given to it.
    std::unordered_map<unsigned, BaseFormat> textures;
    int unpackAlignment = 4;
    int packAlignment = 4;
    unsigned error = 0;  // first error not yet read by glGetError

    Mat4& currentMatrix() { return server.transform.matrixMode == GL_PROJECTION ? projection.back() : modelview.back(); }
    std::vector<Mat4>& currentStack() { return server.transform.matrixMode == GL_PROJECTION ? projection : modelview; }
    // What drawing samples: the bound texture's format when 2D texturing is
    // on and it has an image, otherwise None (an incomplete texture disables
    // texturing, as in fixed-function GL).
    BaseFormat activeTexture() const;
};

}  // namespace gles
