// ObjectDraw.cpp: the eight draw modes of a model. Each mode submits all
// faces in face order in one primitive block, with whatever matrices and
// viewport the caller set. The state a mode leaves behind is part of the
// show's look (the scenes rely on it) and is listed at each mode.
#include <GL/gl.h>

#include "common/ShowGlobals.h"
#include "model/Object.h"
#include "model/ObjectProjections.h"

void Object::draw(int mode) const
{
    switch (mode) {
    case DRAW_LINES: drawLines(); break;
    case DRAW_FLAT: drawFlat(); break;
    case DRAW_SMOOTH: drawSmooth(); break;
    case DRAW_ENVMAP: drawEnvMap(); break;
    case DRAW_TEXTURED: drawTextured(); break;
    case DRAW_SHADOW: drawShadow(); break;
    case DRAW_SHADOW_VOLUME: drawShadowVolume(); break;
    case DRAW_SPHEREMAP: drawSphereMap(); break;
    default: break;  // unknown modes draw nothing and touch no state
    }
}

namespace {

// Submits the corners of all faces as `primitive` from the drawn position
// and normal arrays, through client-side vertex arrays: the same vertices
// and normals, in the same order, as one normal-and-vertex call per corner,
// at a fraction of the calls. The current normal is left as a per-corner
// submission leaves it (the last corner's), since later quads drawn with
// lighting on take their shade from it.
void drawCorners(GLenum primitive, const Object& object)
{
    if (object.faceCount == 0) {
        glBegin(primitive);
        glEnd();
        return;
    }
    glVertexPointer(3, GL_FLOAT, 0, object.positions.data());
    glNormalPointer(GL_FLOAT, 0, object.normals.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glDrawElements(primitive, static_cast<GLsizei>(object.cornerIndices.size()), GL_UNSIGNED_INT,
                   object.cornerIndices.data());
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glNormal3fv(object.faces.back().normal[2]);
}

}  // namespace

// Smooth-shaded triangles with vertex normals. Leaves GL_SMOOTH.
void Object::drawSmooth() const
{
    glShadeModel(GL_SMOOTH);
    drawCorners(GL_TRIANGLES, *this);
}

// Flat triangles with face normals, untextured. Leaves GL_FLAT.
void Object::drawFlat() const
{
    glPushAttrib(GL_TEXTURE_BIT);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glBegin(GL_TRIANGLES);
    for (const ObjectFace& face : faces) {
        glNormal3fv(face.faceNormal);
        glVertex3fv(face.position[0]);
        glVertex3fv(face.position[1]);
        glVertex3fv(face.position[2]);
    }
    glEnd();
    glPopAttrib();
}

// Triangles with face normals and the faces' own texture coordinates,
// wearing textureB. Texture state is restored.
void Object::drawTextured() const
{
    glPushAttrib(GL_TEXTURE_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureB);
    glBegin(GL_TRIANGLES);
    for (const ObjectFace& face : faces) {
        glNormal3fv(face.faceNormal);
        for (int k = 0; k < 3; ++k) {
            glTexCoord2f(face.texCoord[k * 2], face.texCoord[k * 2 + 1]);
            glVertex3fv(face.position[k]);
        }
    }
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glPopAttrib();
}

// Unlit triangles wearing textureA with generated coordinates; the
// generation mode (sphere map) is the one the sphere-map textures set up.
void Object::drawSphereMap() const
{
    glPushAttrib(GL_TEXTURE_BIT | GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBindTexture(GL_TEXTURE_2D, textureA);
    glBegin(GL_TRIANGLES);
    for (const ObjectFace& face : faces) {
        for (int k = 0; k < 3; ++k) {
            glNormal3fv(face.normal[k]);
            glVertex3fv(face.position[k]);
        }
    }
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glPopAttrib();
}

// Decal texture with coordinates from the vertex normals and the view
// vector. Leaves 2D texturing off and the decal environment mode set.
void Object::drawEnvMap() const
{
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glBindTexture(GL_TEXTURE_2D, textureA);
    glBegin(GL_TRIANGLES);
    for (const ObjectFace& face : faces) {
        float s[3], t[3];
        for (int k = 0; k < 3; ++k) envMapCoord(face.normal[k], viewVector, s[k], t[k]);
        for (int k = 0; k < 3; ++k) {
            glTexCoord2f(s[k], t[k]);
            glVertex3fv(face.position[k]);
        }
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// Translucent black triangles on the floor plane, each face projected along
// the light vector. Leaves colour (0, 0, 0, 0.7) and the blend function set.
void Object::drawShadow() const
{
    glPushAttrib(GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_TRIANGLES);
    if (lightCastsShadows(lightVector)) {
        for (const ObjectFace& face : faces) {
            if (!castsShadow(face.position[0], face.position[1], face.position[2], floorHeight, shadowAllFaces)) {
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                glVertex3fv(projectToFloor(face.position[k], lightVector, floorHeight).data());
            }
        }
    }
    glEnd();
    glDisable(GL_BLEND);
    glPopAttrib();
}

// Stencil shadow volume: the side quads of every shadow-casting face mark
// the stencil buffer, then one quad darkens what they marked. Leaves
// blending on with colour (0, 0, 0, 0.4) and lighting on; both matrices
// are as the caller left them.
void Object::drawShadowVolume() const
{
    glDisable(GL_LIGHTING);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
    glBegin(GL_QUADS);
    if (lightCastsShadows(lightVector)) {
        for (const ObjectFace& face : faces) {
            const float* p0 = face.position[0];
            const float* p1 = face.position[1];
            const float* p2 = face.position[2];
            if (!castsShadow(p0, p1, p2, floorHeight, shadowAllFaces)) continue;
            const auto f0 = projectToFloor(p0, lightVector, floorHeight);
            const auto f1 = projectToFloor(p1, lightVector, floorHeight);
            const auto f2 = projectToFloor(p2, lightVector, floorHeight);
            glVertex3fv(p1); glVertex3fv(p0); glVertex3fv(f0.data()); glVertex3fv(f1.data());
            glVertex3fv(p1); glVertex3fv(p2); glVertex3fv(f2.data()); glVertex3fv(f1.data());
            glVertex3fv(p0); glVertex3fv(p2); glVertex3fv(f2.data()); glVertex3fv(f0.data());
        }
    }
    glEnd();

    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glColor4f(0.0f, 0.0f, 0.0f, 0.4f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glStencilFunc(GL_NOTEQUAL, 0, 0xFFFFFFFFu);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);

    // The darkening quad spans clip space from corner to corner: identity
    // projection and modelview, both pushed and popped again, so it covers
    // the whole view whatever the caller's matrices are and leaves both
    // stacks as deep as it found them. The stencil marks decide where it
    // shows, so the depth test is off for it alone.
    GLint matrixMode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    glPushAttrib(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 1.0f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(static_cast<GLenum>(matrixMode));
    glPopAttrib();

    glDisable(GL_STENCIL_TEST);
    glEnable(GL_LIGHTING);
}

// Lines through all face corners in order: consecutive corners pair up
// across face boundaries, and with an odd face count the last corner is
// left over and dropped. Leaves GL_SMOOTH.
void Object::drawLines() const
{
    glShadeModel(GL_SMOOTH);
    drawCorners(GL_LINES, *this);
}
