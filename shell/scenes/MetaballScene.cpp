// MetaballScene.cpp: the metaball part, chrome balls in the fogged corridor.
// Draws nothing until the metaballs and the corridor arrive.
#include "shell/DemoParts.h"

void DemoParts::setupMetaballs() {}
void DemoParts::drawMetaballs(int) {}
