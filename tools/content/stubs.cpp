#include "pictures.h"
namespace content {
static Canvas blank() { return Canvas(512, 512); }
Canvas paintEndWave() { return blank(); }
Canvas paintIntro1() { return blank(); }
Canvas paintIntro2() { return blank(); }
Canvas paintIntro3() { return blank(); }
Canvas paintIntro4() { return blank(); }
Canvas paintIntro5() { return blank(); }
Canvas paintIntroWave() { return blank(); }
Canvas paintCorridor() { return blank(); }
Canvas paintInnerTube() { return blank(); }
Canvas paintTunnelOverlay() { return blank(); }
Canvas paintChrome() { return Canvas(256,256); }
Canvas paintFloor() { return blank(); }
Canvas paintSpace() { return blank(); }
Canvas paintBoxAtlas() { return blank(); }
}
