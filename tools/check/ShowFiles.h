// ShowFiles.h: every file the show opens from its data folder, by the name
// the show uses, with the reader that opens it. The checker walks this list
// when it is given a folder; keep it in step with the scenes' loads.
#pragma once

#include "FileCheck.h"

namespace check {

struct ShowFile {
    const char* name;  // inside the data folder
    Kind kind;
};

inline constexpr ShowFile SHOW_FILES[] = {
    // Overlay pictures: the logo, the intro's first background, the bodies'
    // backdrop and the end picture.
    {"logga.bmp", Kind::Bmp},
    {"background.bmp", Kind::Bmp},
    {"space.bmp", Kind::Bmp},
    {"theend.bmp", Kind::Bmp},
    // Textures of the corridor and tubes, the metaballs' sphere map, the
    // floor and the boxes.
    {"gegga1.bmp", Kind::Bmp},
    {"Chrome-test.bmp", Kind::Bmp},
    {"floor2.bmp", Kind::Bmp},
    {"box3.bmp", Kind::Bmp},
    // Intro backgrounds, the waving pictures and the tunnels' pictures.
    {"intro1.jpg", Kind::Jpeg},
    {"intro2.jpg", Kind::Jpeg},
    {"intro3.jpg", Kind::Jpeg},
    {"intro4.jpg", Kind::Jpeg},
    {"intro5.jpg", Kind::Jpeg},
    {"intro_wave.jpg", Kind::Jpeg},
    {"theend.jpg", Kind::Jpeg},
    {"tunnel2.jpg", Kind::Jpeg},
    {"tunnel-l.jpg", Kind::Jpeg},
    // Models: the intro and spin model, the falling fish and boxes.
    {"allt.3ds", Kind::Model},
    {"fish.3ds", Kind::Model},
    {"boxtex.3ds", Kind::Model},
    // The music.
    {"musik.mp3", Kind::Music},
};

}  // namespace check
