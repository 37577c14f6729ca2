// RenderKit.h: render helpers every part of the show uses.
//
// The shared sine and cosine tables (whole degrees, with pi taken as 3.1415),
// the light and view vectors the model drawing reads, light 0 and the
// material, the projection the scenes draw with, full-screen textured quads
// (the overlay picture and any other texture) and the frame rate in the
// window title. Needs a current GL context for everything but the tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace platform { class Platform; }

// Sine and cosine of i whole degrees, i = 0..359. The degree-to-radian
// factor is 3.1415 / 180 on purpose: the show's rotations were tuned with it.
extern std::array<float, 360> SIN_TABLE;
extern std::array<float, 360> COS_TABLE;

// Light position last given to setLightPosition; the shadow modes read it.
extern std::array<float, 3> lightVector;
// Unit vector last given to setViewVector; the environment mode reads it.
extern std::array<float, 3> viewVector;

// Fills SIN_TABLE and COS_TABLE.
void fillTrigTables();

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
