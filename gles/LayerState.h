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

namespace gles {

using Vec4 = std::array<float, 4>;

// GL enum values the state holds; the same numbers as desktop GL.
namespace glenum {
constexpr unsigned MODELVIEW = 0x1700, PROJECTION = 0x1701;
constexpr unsigned FLAT = 0x1D00, SMOOTH = 0x1D01;
constexpr unsigned MODULATE = 0x2100, DECAL = 0x2101, REPLACE = 0x1E01;
constexpr unsigned LINEAR = 0x2601, EXP = 0x0800, EYE_LINEAR = 0x2400, SPHERE_MAP = 0x2402;
constexpr unsigned LESS = 0x0201, ALWAYS = 0x0207, KEEP = 0x1E00;
constexpr unsigned ONE = 1, ZERO = 0, BACK = 0x0405, CCW = 0x0901;
}  // namespace glenum

struct TransformState {
    unsigned matrixMode = glenum::MODELVIEW;
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
    unsigned shadeModel = glenum::SMOOTH;
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
    unsigned mode = glenum::EXP;
    Vec4 colour{0.0f, 0.0f, 0.0f, 0.0f};
    float density = 1.0f;
    float start = 0.0f;
    float end = 1.0f;
};

struct TextureState {
    bool enabled2D = false;
    bool genS = false;
    bool genT = false;
    unsigned genModeS = glenum::EYE_LINEAR;
    unsigned genModeT = glenum::EYE_LINEAR;
    unsigned envMode = glenum::MODULATE;
    unsigned binding = 0;
};

struct DepthState {
    bool test = false;
    unsigned func = glenum::LESS;
    bool mask = true;
    float clear = 1.0f;
};

struct StencilState {
    bool test = false;
    unsigned func = glenum::ALWAYS;
    int ref = 0;
    unsigned valueMask = 0xFFFFFFFFu;
    unsigned fail = glenum::KEEP, zfail = glenum::KEEP, zpass = glenum::KEEP;
};

struct ScissorState {
    bool test = false;
    std::array<int, 4> box{0, 0, 0, 0};
};

// The groups of state that no attribute bit the show uses covers.
struct OtherState {
    bool blend = false;
    unsigned blendSrc = glenum::ONE, blendDst = glenum::ZERO;
    bool cull = false;
    unsigned cullFace = glenum::BACK;
    unsigned frontFace = glenum::CCW;
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
namespace attrib {
constexpr unsigned POINT = 0x2, POLYGON_STIPPLE = 0x10, LIGHTING = 0x40, DEPTH_BUFFER = 0x100,
                   ACCUM_BUFFER = 0x200, STENCIL_BUFFER = 0x400, VIEWPORT = 0x800, TRANSFORM = 0x1000,
                   TEXTURE = 0x40000, SCISSOR = 0x80000;
constexpr unsigned KNOWN = POINT | POLYGON_STIPPLE | LIGHTING | DEPTH_BUFFER | ACCUM_BUFFER | STENCIL_BUFFER |
                           VIEWPORT | TRANSFORM | TEXTURE | SCISSOR;
}  // namespace attrib

// Copies the groups named in mask from saved into state.
void restoreGroups(ServerState& state, const ServerState& saved, unsigned mask);

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

struct TextureObject {
    unsigned driverName = 0;
    int width = 0;
    int height = 0;
    BaseFormat format = BaseFormat::None;
};

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
    std::unordered_map<unsigned, TextureObject> textures;
    unsigned nextTexture = 1;
    int unpackAlignment = 4;
    int packAlignment = 4;
    unsigned error = 0;  // first error not yet read by glGetError

    Mat4& currentMatrix() { return server.transform.matrixMode == glenum::PROJECTION ? projection.back() : modelview.back(); }
    std::vector<Mat4>& currentStack() { return server.transform.matrixMode == glenum::PROJECTION ? projection : modelview; }
    // The texture drawing samples from: the bound one when 2D texturing is on
    // and it has an image, otherwise none (an incomplete texture disables
    // texturing, as in fixed-function GL).
    const TextureObject* activeTexture() const;
};

}  // namespace gles
