// WaveScene.cpp: the wave part, a picture on a damped wave surface with five
// stones dropped into it at the start of the part.
#include <GL/gl.h>

#include "image/Texture.h"
#include "shell/DemoParts.h"

namespace {

// The mesh of both waving pictures, points per side.
constexpr int WAVE_SIDE = 50;

// Makes a waving picture and sets the state the show starts the wave with:
// flat shading, the depth test and light 0.
std::unique_ptr<Wave> makeWave(const char* path)
{
    auto made = std::make_unique<Wave>(WAVE_SIDE, WAVE_SIDE);
    made->loadTexture(path, PICTURE_JPEG);
    glShadeModel(GL_FLAT);
    depthSetup();
    lightsOn();
    return made;
}

}  // namespace

void DemoParts::setupEndWave()
{
    // Loaded with the rest, though no part shows it.
    endWave = makeWave("./data/theend.jpg");
}

void DemoParts::setupWave()
{
    wave = makeWave("./data/intro_wave.jpg");
}

// Expects: the model-view matrix current. Leaves: 2D texturing and S/T
// generation on (the wave's draw restores shading and lighting only).
void DemoParts::drawWave(int step)
{
    if (!wave) return;
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -55.0f);
    wave->update(10);
    wave->draw();
    glPopMatrix();
    // Stones at steps 0, 12, 24, 36 and 48, after drawing: each sets the
    // surface moving in the next frame's update. The row comes from the
    // first draw of the show's generator, the column from the second.
    if (step >= 0 && step < 50 && step % 12 == 0) {
        const int r1 = showRandom();
        const int r2 = showRandom();
        wave->poke(r2 % 40 + 5, r1 % 40 + 5, 1.0f);
    }
}
