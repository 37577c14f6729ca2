// Scenes.cpp: the set-ups and draws of the visual parts whose objects have
// not been built yet. Each does nothing until its subsystem arrives.
#include "shell/DemoParts.h"

void DemoParts::setupEndWave() {}
void DemoParts::setupWave() {}
void DemoParts::drawWave(int) {}
void DemoParts::setupIntro(Fader& introFader) { fader = &introFader; }
void DemoParts::drawIntro(int) { ++cycle; }
void DemoParts::setupTunnels() {}
void DemoParts::drawTunnels(int) {}
void DemoParts::setupMetaballs() {}
void DemoParts::drawMetaballs(int) {}
void DemoParts::setupSpin() {}
void DemoParts::drawSpin(int) {}
void DemoParts::setupBodies() {}
void DemoParts::drawBodies(float) {}
