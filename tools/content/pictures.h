// pictures.h: every picture of the show, by file name.
//
// Each entry names the file, its format and size, whether the show stretches
// it over the whole 800 x 600 screen (previews then show it at 4:3), and the
// function that paints it. The painting functions live in one file per
// family: titles, intro, tunnels, bodies.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace content {

enum class Format { Bmp, Jpeg };

struct PictureSpec {
    const char* file;
    Format format;
    int width;
    int height;
    bool fullScreen;  // stretched to 800 x 600 by the show
    Canvas (*paint)();
};

// All 17 pictures in the order they are written and shown on the sheet.
const std::vector<PictureSpec>& pictureList();

// Titles (pictures_titles.cpp).
Canvas paintLogo();
Canvas paintBackground();
Canvas paintEndPicture();
Canvas paintEndWave();

// Intro (pictures_intro.cpp).
Canvas paintIntro1();
Canvas paintIntro2();
Canvas paintIntro3();
Canvas paintIntro4();
Canvas paintIntro5();
Canvas paintIntroWave();

// Tunnels and metaballs (pictures_tunnel.cpp).
Canvas paintCorridor();
Canvas paintInnerTube();
Canvas paintTunnelOverlay();
Canvas paintChrome();

// Fish and boxes (pictures_bodies.cpp).
Canvas paintFloor();
Canvas paintSpace();
Canvas paintBoxAtlas();

}  // namespace content
