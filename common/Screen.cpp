// Screen.cpp: the render scale and the checks that choose it.
#include "common/Screen.h"

#include <algorithm>
#include <cmath>

namespace {

int scaleInUse = 1;
bool flushesWaited = false;

}  // namespace

void setRenderScale(int scale)
{
    scaleInUse = std::clamp(scale, 1, MAX_RENDER_SCALE);
}

int screenWidth()
{
    return PICTURE_WIDTH * scaleInUse;
}

int screenHeight()
{
    return PICTURE_HEIGHT * scaleInUse;
}

int scaledPixels(int pixelsAtScaleOne)
{
    return pixelsAtScaleOne * scaleInUse;
}

std::string renderScaleRefusal(int scale, const GlLimits& limits)
{
    const int width = PICTURE_WIDTH * scale;
    const int height = PICTURE_HEIGHT * scale;
    const std::string at = "render scale " + std::to_string(scale) + " (" + std::to_string(width) + " x " +
                           std::to_string(height) + ")";
    if (limits.maxRenderbufferSize < width) {
        return at + " needs renderbuffers of " + std::to_string(width) + " pixels; this GL allows " +
               std::to_string(limits.maxRenderbufferSize);
    }
    if (limits.maxViewportWidth < width || limits.maxViewportHeight < height) {
        return at + " needs a viewport of " + std::to_string(width) + " x " + std::to_string(height) +
               "; this GL allows " + std::to_string(limits.maxViewportWidth) + " x " +
               std::to_string(limits.maxViewportHeight);
    }
    if (limits.maxTextureSize < FEEDBACK_SQUARE * scale) {
        return at + " needs textures of " + std::to_string(FEEDBACK_SQUARE * scale) + " pixels; this GL allows " +
               std::to_string(limits.maxTextureSize);
    }
    if (limits.maxLineWidth < static_cast<float>(scale)) {
        return at + " needs lines " + std::to_string(scale) + " pixels wide; this GL draws at most " +
               std::to_string(static_cast<int>(std::floor(limits.maxLineWidth)));
    }
    return {};
}

int largestDrawableScale(int wanted, const GlLimits& limits)
{
    for (int scale = std::min(wanted, MAX_RENDER_SCALE); scale > 1; --scale) {
        if (renderScaleRefusal(scale, limits).empty()) return scale;
    }
    return 1;
}

bool isSoftwareRenderer(const std::string& renderer)
{
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "SwiftShader"}) {
        if (renderer.find(name) != std::string::npos) return true;
    }
    return false;
}

bool flushesRaceWithTheRasterizer(const std::string& renderer)
{
    return renderer.find("llvmpipe") != std::string::npos;
}

void setWaitForFlushes(bool wait)
{
    flushesWaited = wait;
}

bool waitForFlushes()
{
    return flushesWaited;
}

int scaleCovering(int boxWidth, int boxHeight)
{
    for (int scale = 1; scale < MAX_RENDER_SCALE; ++scale) {
        if (PICTURE_WIDTH * scale >= boxWidth && PICTURE_HEIGHT * scale >= boxHeight) return scale;
    }
    return MAX_RENDER_SCALE;
}
