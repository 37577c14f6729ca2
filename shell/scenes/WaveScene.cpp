// WaveScene.cpp: the wave part, a picture on a damped wave surface.
// Draws nothing until the wave effect arrives.
#include "shell/DemoParts.h"

void DemoParts::setupEndWave() {}
void DemoParts::setupWave() {}
void DemoParts::drawWave(int) {}
