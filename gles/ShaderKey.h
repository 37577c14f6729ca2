// ShaderKey.h: which generated shader draws under the current state.
//
// Every fixed-function feature the show switches on and off is one field
// of the key; the layer builds one ES 3 program per distinct key it meets
// and keeps it (the whole show meets about a dozen). Values that only
// change numbers (colours, matrices, fog distances) are uniforms, not key.
// Pure: keys and shader sources are made and tested without a context.
#pragma once

#include <cstdint>
#include <string>

#include "gles/LayerState.h"

namespace gles {

enum class TexEnv : uint8_t { Modulate, Decal, Replace };

struct ShaderKey {
    bool lighting = false;
    bool light0 = false;
    bool flat = false;
    bool normalize = false;
    BaseFormat texture = BaseFormat::None;  // None: untextured
    TexEnv env = TexEnv::Modulate;
    bool sphereS = false;  // s from sphere-map generation
    bool sphereT = false;
    bool fog = false;

    uint32_t packed() const;
};

// The key for drawing under `state`. Sets `unsupported` to the name and
// value of a state the layer cannot draw (a generation mode or fog mode the
// show never uses, "fog mode 0x0800"), else leaves it empty.
ShaderKey keyFor(const LayerState& state, std::string& unsupported);

// GLSL ES 3.00 sources for a key. Vertex attributes: aPosition (vec4),
// aNormal (vec3), aTexCoord (vec2), aColor (vec4), at locations 0..3.
std::string vertexSource(const ShaderKey& key);
std::string fragmentSource(const ShaderKey& key);

}  // namespace gles
