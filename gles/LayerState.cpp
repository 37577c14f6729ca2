// LayerState.cpp: attribute groups and the texture in use.
#include "gles/LayerState.h"

namespace gles {

void restoreGroups(ServerState& state, const ServerState& saved, unsigned mask)
{
    if (mask & GL_LIGHTING_BIT) state.lighting = saved.lighting;
    if (mask & GL_DEPTH_BUFFER_BIT) state.depth = saved.depth;
    if (mask & GL_STENCIL_BUFFER_BIT) state.stencil = saved.stencil;
    if (mask & GL_VIEWPORT_BIT) state.viewport = saved.viewport;
    if (mask & GL_TRANSFORM_BIT) state.transform = saved.transform;
    if (mask & GL_TEXTURE_BIT) state.texture = saved.texture;
    if (mask & GL_SCISSOR_BIT) state.scissor = saved.scissor;
}

bool scissorShutsEverything(const ServerState& state)
{
    const auto& box = state.scissor.box;
    return state.scissor.test && (box[2] == 0 || box[3] == 0);
}

BaseFormat LayerState::activeTexture() const
{
    if (!server.texture.enabled2D) return BaseFormat::None;
    const auto found = textures.find(server.texture.binding);
    return found == textures.end() ? BaseFormat::None : found->second;
}

}  // namespace gles
