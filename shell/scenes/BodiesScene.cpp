// BodiesScene.cpp: the bodies part, fish and boxes falling onto a floor.
// Draws nothing until the model and collision subsystems arrive.
#include "shell/DemoParts.h"

void DemoParts::setupBodies() {}
void DemoParts::drawBodies(float) {}
