// SpinScene.cpp: the spin part, the turning model with its feedback trail.
// Draws nothing until the model and the screen blur arrive.
#include "shell/DemoParts.h"

void DemoParts::setupSpin() {}
void DemoParts::drawSpin(int) {}
