#include "pictures.h"
namespace content {
static Canvas blank() { return Canvas(512, 512); }
Canvas paintFloor() { return blank(); }
Canvas paintSpace() { return blank(); }
Canvas paintBoxAtlas() { return blank(); }
}
