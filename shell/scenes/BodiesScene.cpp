// BodiesScene.cpp: the bodies part, two fish and three boxes that fall onto
// a textured floor, collide with each other and the walls of an invisible
// room, settle and are kicked up again, with planar shadows on the floor in
// front of the space picture.
#include <GL/gl.h>

#include "image/Texture.h"
#include "shell/DemoParts.h"
#include "shell/RenderKit.h"

namespace {

// One row of the bodies' table: model file, model scale, start position.
struct BodySetup {
    const char* file;
    bool fish;
    float scale;
    float x, y, z;
};

constexpr std::array<BodySetup, 5> BODY_SETUPS = {{
    {"./data/fish.3ds", true, 0.004f, 0.0f, 0.0f, 1.0f},
    {"./data/fish.3ds", true, 0.004f, 0.7f, 0.1f, 1.0f},
    {"./data/boxtex.3ds", false, 0.012f, 0.28f, 0.34f, 1.0f},
    {"./data/boxtex.3ds", false, 0.012f, 0.6f, -0.5f, 1.0f},
    {"./data/boxtex.3ds", false, 0.012f, -0.45f, -0.6f, 1.0f},
}};

// The fish collide through points at this scale, smaller than they are drawn.
constexpr float FISH_POINT_SCALE = 0.003f;

}  // namespace

void DemoParts::setupBodies()
{
    kit.setLightPosition(-5, -5, 9);
    floorHeight = -1.05f;
    shadowAllFaces = true;
    kit.setViewVector(0, 1000, 1000);

    glShadeModel(GL_SMOOTH);
    depthSetup();
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    lightsOn();

    kit.loadPicture("./data/space.bmp");

    // Each body is made anew in turn: its construction resets the shared
    // damping factors and init/initBox set the shared point count, so the
    // order decides what is in force (the last box's 80 points, 0.997, 0.99).
    for (std::size_t i = 0; i < BODY_SETUPS.size(); ++i) {
        const BodySetup& setup = BODY_SETUPS[i];
        CollisionObject& body = bodies[i];
        Object& model = bodyModels[i];
        body = CollisionObject{};
        model = Object{};
        model.load(setup.file);
        if (setup.fish) {
            body.setObject(model);
            body.init(model, FISH_POINT_SCALE);
            model.scale(setup.scale);
        } else {
            model.scale(setup.scale);
            body.initBox();
            body.setObject(model);
        }
        body.setPosition(setup.x, setup.y, setup.z);
    }

    world = CollisionWorld{};
    for (CollisionObject& body : bodies) world.add(body);

    textureFromBmp("./data/floor2.bmp", floorTexture);
}

// Expects the scene projection and the state the tunnels left; clears the
// buffers itself. Leaves face culling and lighting on, 2D texturing and
// blending off, the colour white and depth writes on.
void DemoParts::drawBodies(float timeStep)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    world.setTimeStep(timeStep);

    glEnable(GL_CULL_FACE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -6.2f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);

    // The floor lies 0.05 below the shadows' plane and 0.1 below the room's
    // floor, so neither the shadows nor resting bodies fight with it.
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, floorTexture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f); glVertex3f(-2.0f, 4.0f, -1.1f);
    glTexCoord2f(0.0f, 1.0f); glVertex3f(-2.0f, -4.0f, -1.1f);
    glTexCoord2f(1.0f, 1.0f); glVertex3f(2.0f, -4.0f, -1.1f);
    glTexCoord2f(1.0f, 0.0f); glVertex3f(2.0f, 4.0f, -1.1f);
    glEnd();
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);

    world.step(10);

    for (const Object& model : bodyModels) model.draw(DRAW_TEXTURED);
    // Shadows blend over the floor without hiding each other.
    glDepthMask(GL_FALSE);
    for (const Object& model : bodyModels) model.draw(DRAW_SHADOW);
    glDepthMask(GL_TRUE);

    glColor3f(1.0f, 1.0f, 1.0f);
    kit.drawPicture();
    glPopMatrix();
}
