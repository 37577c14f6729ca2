// TunnelsScene.cpp: the tunnels part, two blended bending tubes.
// Draws nothing until the tubes arrive.
#include "shell/DemoParts.h"

void DemoParts::setupTunnels() {}
void DemoParts::drawTunnels(int) {}
