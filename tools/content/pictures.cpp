// pictures.cpp: the list of the show's pictures.
#include "pictures.h"

namespace content {

// The order is also the order of the contact sheet: titles, intro, wave,
// metaballs and tunnels, then the bodies part and the end.
const std::vector<PictureSpec>& pictureList() {
    static const std::vector<PictureSpec> list = {
        {"logga.bmp", Format::Bmp, 512, 512, true, paintLogo},
        {"background.bmp", Format::Bmp, 256, 256, true, paintBackground},
        {"intro1.jpg", Format::Jpeg, 512, 512, true, paintIntro1},
        {"intro2.jpg", Format::Jpeg, 512, 512, true, paintIntro2},
        {"intro3.jpg", Format::Jpeg, 512, 512, true, paintIntro3},
        {"intro4.jpg", Format::Jpeg, 512, 512, true, paintIntro4},
        {"intro5.jpg", Format::Jpeg, 512, 512, true, paintIntro5},
        {"intro_wave.jpg", Format::Jpeg, 512, 512, false, paintIntroWave},
        {"theend.jpg", Format::Jpeg, 512, 512, false, paintEndWave},
        {"Chrome-test.bmp", Format::Bmp, 256, 256, false, paintChrome},
        {"gegga1.bmp", Format::Bmp, 512, 512, false, paintCorridor},
        {"tunnel2.jpg", Format::Jpeg, 512, 512, false, paintInnerTube},
        {"tunnel-l.jpg", Format::Jpeg, 512, 512, true, paintTunnelOverlay},
        {"floor2.bmp", Format::Bmp, 512, 512, false, paintFloor},
        {"box3.bmp", Format::Bmp, 512, 512, false, paintBoxAtlas},
        {"space.bmp", Format::Bmp, 512, 512, true, paintSpace},
        {"theend.bmp", Format::Bmp, 512, 512, true, paintEndPicture},
    };
    return list;
}

}  // namespace content
