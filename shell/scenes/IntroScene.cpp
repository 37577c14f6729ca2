// IntroScene.cpp: the intro part (frames 400 to 1949, and once under the
// logo at frame 0): the five intro pictures one after another, each faded
// in and out by the borrowed fader, behind the layered line echo of a
// slowly turning model.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "image/Texture.h"
#include "shell/DemoParts.h"
#include "shell/Fader.h"
#include "shell/RenderKit.h"

void DemoParts::setupIntro(Fader& introFader)
{
    fader = &introFader;
    kit.setLightPosition(-50, -50, 90);
    introModel = std::make_unique<Object>();
    introModel->load("data/allt.3ds");
    introModel->scale(0.003f);
    echo = std::make_unique<EchoTexture>(scaledPixels(FEEDBACK_SQUARE));
    // Replaced by later loads before it is ever shown.
    kit.loadPicture("data/background.bmp");
    glShadeModel(GL_FLAT);
    depthSetup();
    lightsOn();
    const char* const files[5] = {"./data/intro1.jpg", "./data/intro2.jpg", "./data/intro3.jpg",
                                  "./data/intro4.jpg", "./data/intro5.jpg"};
    for (int i = 0; i < 5; ++i) textureFromJpeg(files[i], introPictures[i]);
    pictureIndex = 0;
    cycle = 0;
}

// Expects the modelview matrix current and the scene projection; captures
// first, since the capture clears the whole framebuffer. Leaves face
// culling off, lighting on (the echo layers are lit), depth test on,
// blending and 2D texturing off, the clear colour (0, 0, 0, 0.5).
void DemoParts::drawIntro(int step)
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -3.0f);
    const float x = static_cast<float>(step);
    glRotatef(static_cast<float>(std::sin(x * 0.02) * 30.0 + 270.0), 1.0f, 0.0f, 0.0f);
    glRotatef(x * 0.5f, 0.0f, 1.0f, 0.0f);
    echo->capture(*introModel, DRAW_LINES);

    const int n = cycle;
    // Radians of n degrees with pi taken as 3.14: the echo's breathing
    // never quite reaches zero at n = 90.
    const float angle = static_cast<float>(n * 0.017444444444444446);
    // Each picture's fade: full for 40 frames, down to black at 180 frames,
    // where the next picture takes over, then back up.
    if (introPictureFadeStarts(n)) setIntroPictureFade(*fader, n);
    if (n % 360 == 270) pictureIndex = std::min(pictureIndex + 1, 4);
    fader->draw(n);
    kit.drawOverlay(-0.99f, introPictures[pictureIndex]);

    glDisable(GL_CULL_FACE);
    glColor3f(1.0f, 1.0f, 1.0f);
    echo->drawLayers(10, static_cast<float>((1.0 - std::sin(static_cast<double>(angle))) * 0.07));
    glPopMatrix();
    ++cycle;
}
