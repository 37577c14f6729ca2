// DemoParts.h: the holder of every visual part's objects, set-ups and draws.
//
// One instance, made by loadShow. Each part has a set-up (run once while
// loading, in the order loadShow gives) and a draw (run every frame the
// part is on, with the frame relative to the part's start). The draws do
// not restore the GL state they change, so each part starts from what the
// previous one left: the running order fixes the look.
//
// Each part's set-up and draw live in their own file, shell/scenes/NAMEScene.cpp.
// The part objects arrive with their subsystems; until then a part's set-up
// and draw do nothing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

// The program-wide tables, vectors, draw modes, floor plane and random
// generator the scenes share with model/ and effects/.
#include "common/Screen.h"
#include "common/ShowGlobals.h"
#include "common/ShowRandom.h"
// The part objects.
#include "effects/Metaballs.h"
#include "effects/Tunnel.h"
#include "effects/Tunnel2.h"
#include "effects/Wave.h"
#include "model/CollisionObject.h"
#include "model/CollisionWorld.h"
#include "model/Object.h"

// The model objects and screen blurs of the intro and spin parts.
#include "model/BlurTexture.h"
#include "model/EchoTexture.h"
#include "model/Object.h"

class Fader;
class RenderKit;

// GL shorthands the scenes share: depth test with GL_LESS and clear depth 1,
// and lighting with light 0.
void depthSetup();
void lightsOn();

class DemoParts {
public:
    RenderKit& kit;             // shared helpers, borrowed
    Fader* fader = nullptr;     // faderA of the timeline, borrowed by the intro
    int pictureIndex = 0;       // which intro picture is shown
    int cycle = 0;              // number of drawIntro calls so far
    uint32_t flashTexture = 0;  // never loaded: the flash quad is plain white

    // Intro part (scenes/IntroScene.cpp)
    std::unique_ptr<EchoTexture> echo;      // layered echo of the intro model
    std::unique_ptr<Object> introModel;     // "data/allt.3ds" at scale 0.003
    uint32_t introPictures[5] = {0, 0, 0, 0, 0};  // "./data/intro1.jpg" to "./data/intro5.jpg"

    // Wave part (scenes/WaveScene.cpp)
    std::unique_ptr<Wave> wave;     // "./data/intro_wave.jpg", 50 x 50 points
    std::unique_ptr<Wave> endWave;  // "./data/theend.jpg"; set up, drawn by no part

    // Metaball part (scenes/MetaballScene.cpp)
    std::unique_ptr<Metaballs> metaballs;  // chrome balls, "./data/Chrome-test.bmp"
    std::unique_ptr<Tunnel> tunnel;        // the fogged corridor behind them

    // Spin part (scenes/SpinScene.cpp)
    std::unique_ptr<Object> spinModel;      // "data/allt.3ds" at scale 0.007
    std::unique_ptr<BlurTexture> blur;      // feedback blur of the spinning model

    // Tunnels part (scenes/TunnelsScene.cpp)
    std::unique_ptr<Tunnel2> tunnelFront;  // outer tube, "./data/gegga1.bmp", speed 1
    std::unique_ptr<Tunnel2> tunnelBack;   // inner tube, "./data/tunnel2.jpg", speed -1
    uint32_t tunnelOverlay = 0;            // "./data/tunnel-l.jpg" over everything

    // Bodies part (scenes/BodiesScene.cpp)
    CollisionWorld world;                     // holds the five bodies
    std::array<CollisionObject, 5> bodies;    // two fish, then three boxes
    std::array<Object, 5> bodyModels;         // their models, same order
    uint32_t floorTexture = 0;                // "./data/floor2.bmp"

    explicit DemoParts(RenderKit& kit);

    void setupLights();
    // White flash, steps 1..19 of a flash window.
    void drawFlash(int step);

    void setupEndWave();
    void setupWave();
    void drawWave(int step);
    void setupIntro(Fader& fader);
    void drawIntro(int step);
    void setupTunnels();
    void drawTunnels(int step);
    void setupMetaballs();
    void drawMetaballs(int step);
    void setupSpin();
    void drawSpin(int step);
    void setupBodies();
    void drawBodies(float timeStep);
};

// Alpha of the white flash at a step of its window (may be at or below 0,
// which draws nothing visible).
float flashAlpha(int step);
