// IntroScene.cpp: the intro part, the fading intro pictures behind the line
// echo of the model. Its objects arrive with the model subsystem; until then
// the set-up keeps the fader and the draw only counts its calls.
#include "shell/DemoParts.h"

void DemoParts::setupIntro(Fader& introFader) { fader = &introFader; }

void DemoParts::drawIntro(int) { ++cycle; }
