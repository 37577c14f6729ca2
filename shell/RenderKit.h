// RenderKit.h: render helpers every part of the show uses.
//
// Setting the program-wide light and view vectors (common/ShowGlobals.h),
// light 0 and the material, the projection the scenes draw with, full-screen
// textured quads (the overlay picture and any other texture) and the frame
// rate in the window title. Needs a current GL context.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/ShowGlobals.h"

namespace platform { class Platform; }

class RenderKit {
public:
    uint32_t picture = 0;   // the overlay picture, replaced by every loadPicture
    uint32_t lastClock = 0; // tick count at the previous frame-rate update
    std::string title;      // text of the frame-rate title

    // Fills the tables, points the view along -z and gives the first light position.
    explicit RenderKit(platform::Platform& platform);

    void setLightPosition(float x, float y, float z);
    void setViewVector(float x, float y, float z);
    void setupLighting() const;
    void scenePerspective() const;
    bool loadPicture(const char* path);

    void beginOverlay() const;
    void endOverlay() const;
    void drawPictureAt(float z) const;
    void drawPicture() const;
    void drawOverlay(float z, uint32_t texture) const;

    // Every tenth frame: the mean rate of the last ten frames into the title.
    void showFrameRate(platform::Platform& window, int frame);

private:
    // The full-screen quad of drawPictureAt and drawOverlay.
    void drawQuad(float z, uint32_t texture) const;
};
