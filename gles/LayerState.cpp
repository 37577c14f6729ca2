// LayerState.cpp: attribute groups and the texture in use.
#include "gles/LayerState.h"

namespace gles {

void restoreGroups(ServerState& state, const ServerState& saved, unsigned mask)
{
    if (mask & attrib::LIGHTING) state.lighting = saved.lighting;
    if (mask & attrib::DEPTH_BUFFER) state.depth = saved.depth;
    if (mask & attrib::STENCIL_BUFFER) state.stencil = saved.stencil;
    if (mask & attrib::VIEWPORT) state.viewport = saved.viewport;
    if (mask & attrib::TRANSFORM) state.transform = saved.transform;
    if (mask & attrib::TEXTURE) state.texture = saved.texture;
    if (mask & attrib::SCISSOR) state.scissor = saved.scissor;
}

const TextureObject* LayerState::activeTexture() const
{
    if (!server.texture.enabled2D) return nullptr;
    const auto found = textures.find(server.texture.binding);
    if (found == textures.end() || found->second.format == BaseFormat::None) return nullptr;
    return &found->second;
}

}  // namespace gles
