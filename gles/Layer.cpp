// Layer.cpp: the fixed-function entry points of the GL 1.x layer.
//
// Each call updates LayerState; those whose state ES 3 also has pass it on
// to the driver at once, so the driver never lags behind the layer. Draws
// (glEnd, glDrawArrays, glDrawElements) gather their vertices and hand them
// to the Backend with the shader key of the state in force.
//
// The layer's own GL/gl.h and GL/glu.h (gles/include comes first on this
// library's include path) declare every qgl function defined below, so a
// definition that strays from its declaration does not compile.
#define QGL_NO_MACROS
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gles/Assembly.h"
#include "gles/Backend.h"
#include "gles/Counters.h"
#include "gles/Layer.h"
#include "gles/ShaderKey.h"

namespace {

gles::LayerState layer;
gles::Backend backend;
bool inBatch = false;
GLenum batchMode = 0;
std::vector<gles::Vertex> batch;

// Records an error for glGetError; the first one stays until it is read.
void setError(GLenum error)
{
    if (layer.error == GL_NO_ERROR) layer.error = error;
}

// Reports what the layer does not handle ("CALL does not support 0xVALUE"
// or, for a draw, the state named); see Layer.h.
void unsupported(const std::string& what)
{
    std::fprintf(stderr, "gles: %s\n", what.c_str());
    setError(GL_INVALID_ENUM);
#ifndef NDEBUG
    std::abort();
#endif
}

void unsupported(const char* call, unsigned value)
{
    char number[16];
    std::snprintf(number, sizeof number, "0x%04x", value);
    unsupported(std::string(call) + " does not support " + number);
}

void driverEnable(GLenum cap, bool on)
{
    if (on) {
        glEnable(cap);
    } else {
        glDisable(cap);
    }
}

// Puts the state ES 3 shares with the layer into the driver: all of it
// (`before` null, for a new context), or what differs from `before`, the
// state the driver holds (every call that changes it goes through the
// layer, so the two never differ otherwise).
void applyDriverState(const gles::ServerState* before = nullptr)
{
    const gles::ServerState& s = layer.server;
    const auto differs = [before](const auto& field, const auto& was) { return !before || !(field == was); };
    const gles::ServerState& b = before ? *before : s;
    if (differs(s.other.blend, b.other.blend)) driverEnable(GL_BLEND, s.other.blend);
    if (differs(s.other.blendSrc, b.other.blendSrc) || differs(s.other.blendDst, b.other.blendDst)) {
        glBlendFunc(s.other.blendSrc, s.other.blendDst);
    }
    if (differs(s.other.cull, b.other.cull)) driverEnable(GL_CULL_FACE, s.other.cull);
    if (differs(s.other.cullFace, b.other.cullFace)) glCullFace(s.other.cullFace);
    if (differs(s.other.frontFace, b.other.frontFace)) glFrontFace(s.other.frontFace);
    if (differs(s.other.colourMask, b.other.colourMask)) {
        glColorMask(s.other.colourMask[0], s.other.colourMask[1], s.other.colourMask[2], s.other.colourMask[3]);
    }
    if (differs(s.other.clearColour, b.other.clearColour)) {
        glClearColor(s.other.clearColour[0], s.other.clearColour[1], s.other.clearColour[2], s.other.clearColour[3]);
    }
    if (differs(s.depth.test, b.depth.test)) driverEnable(GL_DEPTH_TEST, s.depth.test);
    if (differs(s.depth.func, b.depth.func)) glDepthFunc(s.depth.func);
    if (differs(s.depth.mask, b.depth.mask)) glDepthMask(s.depth.mask ? GL_TRUE : GL_FALSE);
    if (differs(s.depth.clear, b.depth.clear)) glClearDepthf(s.depth.clear);
    if (differs(s.stencil.test, b.stencil.test)) driverEnable(GL_STENCIL_TEST, s.stencil.test);
    if (differs(s.stencil.func, b.stencil.func) || differs(s.stencil.ref, b.stencil.ref) ||
        differs(s.stencil.valueMask, b.stencil.valueMask)) {
        glStencilFunc(s.stencil.func, s.stencil.ref, s.stencil.valueMask);
    }
    if (differs(s.stencil.fail, b.stencil.fail) || differs(s.stencil.zfail, b.stencil.zfail) ||
        differs(s.stencil.zpass, b.stencil.zpass)) {
        glStencilOp(s.stencil.fail, s.stencil.zfail, s.stencil.zpass);
    }
    if (differs(s.scissor.test, b.scissor.test)) driverEnable(GL_SCISSOR_TEST, s.scissor.test);
    if (differs(s.scissor.box, b.scissor.box)) glScissor(s.scissor.box[0], s.scissor.box[1], s.scissor.box[2], s.scissor.box[3]);
    if (differs(s.viewport, b.viewport)) glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    if (differs(s.texture.binding, b.texture.binding)) glBindTexture(GL_TEXTURE_2D, s.texture.binding);
}

// The layer's flag for an enable, or null for one the driver alone holds.
bool* layerFlag(GLenum cap)
{
    gles::ServerState& s = layer.server;
    switch (cap) {
    case GL_LIGHTING: return &s.lighting.lighting;
    case GL_LIGHT0: return &s.lighting.light0;
    case GL_FOG: return &s.fog.enabled;
    case GL_NORMALIZE: return &s.transform.normalize;
    case GL_TEXTURE_GEN_S: return &s.texture.genS;
    case GL_TEXTURE_GEN_T: return &s.texture.genT;
    case GL_TEXTURE_2D: return &s.texture.enabled2D;
    case GL_BLEND: return &s.other.blend;
    case GL_CULL_FACE: return &s.other.cull;
    case GL_DEPTH_TEST: return &s.depth.test;
    case GL_STENCIL_TEST: return &s.stencil.test;
    case GL_SCISSOR_TEST: return &s.scissor.test;
    default: return nullptr;
    }
}

bool driverHas(GLenum cap)
{
    return cap == GL_BLEND || cap == GL_CULL_FACE || cap == GL_DEPTH_TEST || cap == GL_STENCIL_TEST ||
           cap == GL_SCISSOR_TEST;
}

void setEnabled(const char* call, GLenum cap, bool on)
{
    bool* flag = layerFlag(cap);
    if (!flag) {
        unsupported(call, cap);
        return;
    }
    *flag = on;
    if (driverHas(cap)) driverEnable(cap, on);
}

void draw(GLenum mode, const std::vector<gles::Vertex>& vertices)
{
    if (mode != GL_TRIANGLES && mode != GL_LINES && mode != GL_TRIANGLE_STRIP && mode != GL_QUADS) {
        unsupported("draw", mode);
        return;
    }
    std::string missing;
    const gles::ShaderKey key = gles::keyFor(layer, missing);
    if (!missing.empty()) unsupported("drawing does not support " + missing);
    // Under a shut scissor box the draw would fill nothing: its vertices,
    // program and uniforms stay here, and the driver catches up with them at
    // the next draw that shows. A stepped frame then costs the driver
    // (WebGL above all) next to nothing.
    if (gles::scissorShutsEverything(layer.server)) {
        ++gles::counters().drawsLeftOut;
        return;
    }
    backend.draw(layer, key, mode, vertices);
}

void addVertex(float x, float y, float z)
{
    gles::Vertex v{};
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    v.position[3] = 1.0f;
    std::memcpy(v.normal, layer.current.normal.data(), sizeof v.normal);
    std::memcpy(v.texCoord, layer.current.texCoord.data(), sizeof v.texCoord);
    std::memcpy(v.colour, layer.current.colour.data(), sizeof v.colour);
    batch.push_back(v);
}

gles::Material* materialsOf(GLenum face, gles::Material*& second)
{
    gles::LightingState& l = layer.server.lighting;
    second = nullptr;
    if (face == GL_FRONT) return &l.front;
    if (face == GL_BACK) return &l.back;
    if (face == GL_FRONT_AND_BACK) {
        second = &l.back;
        return &l.front;
    }
    return nullptr;
}

void multiplyCurrent(const gles::Mat4& m)
{
    gles::Mat4& current = layer.currentMatrix();
    current = gles::multiply(current, m);
}

}  // namespace

void glesContextCreated()
{
    layer = gles::LayerState{};
    inBatch = false;
    batch.clear();
    backend.reset();
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    layer.server.viewport = {viewport[0], viewport[1], viewport[2], viewport[3]};
    layer.server.scissor.box = layer.server.viewport;
    applyDriverState();
}

extern "C" {

// ---- Immediate mode --------------------------------------------------------

void qglBegin(GLenum mode)
{
    inBatch = true;
    batchMode = mode;
    batch.clear();
}

void qglEnd(void)
{
    if (!inBatch) return;
    inBatch = false;
    draw(batchMode, batch);
}

void qglVertex2f(GLfloat x, GLfloat y) { addVertex(x, y, 0.0f); }
void qglVertex3f(GLfloat x, GLfloat y, GLfloat z) { addVertex(x, y, z); }
void qglVertex3fv(const GLfloat* v) { addVertex(v[0], v[1], v[2]); }
void qglNormal3f(GLfloat x, GLfloat y, GLfloat z) { layer.current.normal = {x, y, z}; }
void qglNormal3fv(const GLfloat* v) { layer.current.normal = {v[0], v[1], v[2]}; }
void qglTexCoord2f(GLfloat s, GLfloat t) { layer.current.texCoord = {s, t}; }
void qglColor3f(GLfloat r, GLfloat g, GLfloat b) { layer.current.colour = {r, g, b, 1.0f}; }
void qglColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { layer.current.colour = {r, g, b, a}; }

// ---- Matrices --------------------------------------------------------------

void qglMatrixMode(GLenum mode)
{
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) {
        unsupported("glMatrixMode", mode);
        return;
    }
    layer.server.transform.matrixMode = mode;
}

void qglLoadIdentity(void) { layer.currentMatrix() = gles::identity(); }

void qglPushMatrix(void)
{
    std::vector<gles::Mat4>& stack = layer.currentStack();
    // The depths a GL 1.x implementation at least offers: 32 and 2.
    const std::size_t limit = layer.server.transform.matrixMode == GL_PROJECTION ? 2 : 32;
    if (stack.size() >= limit) {
        setError(GL_STACK_OVERFLOW);
        return;
    }
    stack.push_back(stack.back());
}

void qglPopMatrix(void)
{
    std::vector<gles::Mat4>& stack = layer.currentStack();
    if (stack.size() <= 1) {
        setError(GL_STACK_UNDERFLOW);
        return;
    }
    stack.pop_back();
}

void qglTranslatef(GLfloat x, GLfloat y, GLfloat z) { multiplyCurrent(gles::translation(x, y, z)); }
void qglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) { multiplyCurrent(gles::rotation(angle, x, y, z)); }
void qglOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar)
{
    multiplyCurrent(gles::ortho(left, right, bottom, top, zNear, zFar));
}
void qgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    multiplyCurrent(gles::perspective(fovy, aspect, zNear, zFar));
}

// ---- Enables and attribute stacks -------------------------------------------

void qglEnable(GLenum cap) { setEnabled("glEnable", cap, true); }
void qglDisable(GLenum cap) { setEnabled("glDisable", cap, false); }

GLboolean qglIsEnabled(GLenum cap)
{
    const bool* flag = layerFlag(cap);
    if (!flag) {
        unsupported("glIsEnabled", cap);
        return GL_FALSE;
    }
    return *flag ? GL_TRUE : GL_FALSE;
}

static gles::ClientArray* clientArray(GLenum array)
{
    switch (array) {
    case GL_VERTEX_ARRAY: return &layer.client.vertex;
    case GL_NORMAL_ARRAY: return &layer.client.normal;
    case GL_TEXTURE_COORD_ARRAY: return &layer.client.texCoord;
    default: return nullptr;
    }
}

static void setClientState(const char* call, GLenum array, bool on)
{
    if (gles::ClientArray* a = clientArray(array)) {
        a->enabled = on;
    } else {
        unsupported(call, array);
    }
}

void qglEnableClientState(GLenum array) { setClientState("glEnableClientState", array, true); }
void qglDisableClientState(GLenum array) { setClientState("glDisableClientState", array, false); }

void qglPushAttrib(GLbitfield mask)
{
    if (mask & ~gles::KNOWN_ATTRIB_BITS) unsupported("glPushAttrib", mask & ~gles::KNOWN_ATTRIB_BITS);
    layer.attribStack.emplace_back(mask, layer.server);
}

void qglPopAttrib(void)
{
    if (layer.attribStack.empty()) {
        setError(GL_STACK_UNDERFLOW);
        return;
    }
    const auto [mask, saved] = layer.attribStack.back();
    layer.attribStack.pop_back();
    const gles::ServerState before = layer.server;
    gles::restoreGroups(layer.server, saved, mask);
    applyDriverState(&before);
}

void qglPushClientAttrib(GLbitfield mask)
{
    if (mask != GL_CLIENT_VERTEX_ARRAY_BIT) unsupported("glPushClientAttrib", mask);
    layer.clientStack.push_back(layer.client);
}

void qglPopClientAttrib(void)
{
    if (layer.clientStack.empty()) {
        setError(GL_STACK_UNDERFLOW);
        return;
    }
    layer.client = layer.clientStack.back();
    layer.clientStack.pop_back();
}

// ---- Lighting, fog, texturing state -----------------------------------------

void qglLightfv(GLenum light, GLenum pname, const GLfloat* p)
{
    gles::LightingState& l = layer.server.lighting;
    if (light != GL_LIGHT0) {
        unsupported("glLightfv", light);
        return;
    }
    switch (pname) {
    case GL_AMBIENT: l.lightAmbient = {p[0], p[1], p[2], p[3]}; break;
    case GL_DIFFUSE: l.lightDiffuse = {p[0], p[1], p[2], p[3]}; break;
    case GL_SPECULAR: l.lightSpecular = {p[0], p[1], p[2], p[3]}; break;
    case GL_POSITION: l.lightPosition = gles::transform(layer.modelview.back(), {p[0], p[1], p[2], p[3]}); break;
    default: unsupported("glLightfv", pname); break;
    }
}

void qglMaterialfv(GLenum face, GLenum pname, const GLfloat* p)
{
    gles::Material* second = nullptr;
    gles::Material* first = materialsOf(face, second);
    if (!first) {
        unsupported("glMaterialfv", face);
        return;
    }
    for (gles::Material* m : {first, second}) {
        if (!m) continue;
        switch (pname) {
        case GL_AMBIENT: m->ambient = {p[0], p[1], p[2], p[3]}; break;
        case GL_DIFFUSE: m->diffuse = {p[0], p[1], p[2], p[3]}; break;
        case GL_SPECULAR: m->specular = {p[0], p[1], p[2], p[3]}; break;
        case GL_SHININESS: m->shininess = p[0]; break;
        default: unsupported("glMaterialfv", pname); return;
        }
    }
}

void qglMaterialf(GLenum face, GLenum pname, GLfloat param)
{
    if (pname != GL_SHININESS) {
        unsupported("glMaterialf", pname);
        return;
    }
    qglMaterialfv(face, pname, &param);
}

void qglShadeModel(GLenum mode)
{
    if (mode != GL_FLAT && mode != GL_SMOOTH) {
        unsupported("glShadeModel", mode);
        return;
    }
    layer.server.lighting.shadeModel = mode;
}

void qglFogf(GLenum pname, GLfloat param)
{
    gles::FogState& f = layer.server.fog;
    switch (pname) {
    case GL_FOG_DENSITY: f.density = param; break;
    case GL_FOG_START: f.start = param; break;
    case GL_FOG_END: f.end = param; break;
    case GL_FOG_MODE: f.mode = static_cast<unsigned>(param); break;
    default: unsupported("glFogf", pname); break;
    }
}

void qglFogi(GLenum pname, GLint param) { qglFogf(pname, static_cast<GLfloat>(param)); }

void qglFogfv(GLenum pname, const GLfloat* params)
{
    if (pname == GL_FOG_COLOR) {
        layer.server.fog.colour = {params[0], params[1], params[2], params[3]};
    } else {
        qglFogf(pname, params[0]);
    }
}

void qglHint(GLenum target, GLenum)
{
    // Hints allow any quality; the shaders always do the nicest.
    if (target != GL_FOG_HINT && target != GL_PERSPECTIVE_CORRECTION_HINT) unsupported("glHint", target);
}

void qglTexGeni(GLenum coord, GLenum pname, GLint param)
{
    if (pname != GL_TEXTURE_GEN_MODE || param != static_cast<GLint>(GL_SPHERE_MAP) || (coord != GL_S && coord != GL_T)) {
        unsupported("glTexGeni", coord == GL_S || coord == GL_T ? static_cast<unsigned>(param) : coord);
        return;
    }
    (coord == GL_S ? layer.server.texture.genModeS : layer.server.texture.genModeT) = GL_SPHERE_MAP;
}

void qglTexEnvi(GLenum target, GLenum pname, GLint param)
{
    if (target != GL_TEXTURE_ENV || pname != GL_TEXTURE_ENV_MODE ||
        (param != static_cast<GLint>(GL_MODULATE) && param != static_cast<GLint>(GL_DECAL) && param != GL_REPLACE)) {
        unsupported("glTexEnvi", static_cast<unsigned>(param));
        return;
    }
    layer.server.texture.envMode = static_cast<unsigned>(param);
}

void qglGetTexEnviv(GLenum target, GLenum pname, GLint* params)
{
    if (target != GL_TEXTURE_ENV || pname != GL_TEXTURE_ENV_MODE) {
        unsupported("glGetTexEnviv", pname);
        return;
    }
    *params = static_cast<GLint>(layer.server.texture.envMode);
}

// ---- Per-fragment state and the framebuffer ---------------------------------

void qglBlendFunc(GLenum sfactor, GLenum dfactor)
{
    layer.server.other.blendSrc = sfactor;
    layer.server.other.blendDst = dfactor;
    glBlendFunc(sfactor, dfactor);
}

void qglDepthFunc(GLenum func)
{
    layer.server.depth.func = func;
    glDepthFunc(func);
}

void qglDepthMask(GLboolean flag)
{
    layer.server.depth.mask = flag != GL_FALSE;
    glDepthMask(flag);
}

void qglClearDepth(GLclampd depth)
{
    layer.server.depth.clear = static_cast<float>(depth);
    glClearDepthf(static_cast<float>(depth));
}

void qglStencilFunc(GLenum func, GLint ref, GLuint mask)
{
    gles::StencilState& s = layer.server.stencil;
    s.func = func;
    s.ref = ref;
    s.valueMask = mask;
    glStencilFunc(func, ref, mask);
}

void qglStencilOp(GLenum fail, GLenum zfail, GLenum zpass)
{
    gles::StencilState& s = layer.server.stencil;
    s.fail = fail;
    s.zfail = zfail;
    s.zpass = zpass;
    glStencilOp(fail, zfail, zpass);
}

void qglCullFace(GLenum mode)
{
    layer.server.other.cullFace = mode;
    glCullFace(mode);
}

void qglFrontFace(GLenum mode)
{
    layer.server.other.frontFace = mode;
    glFrontFace(mode);
}

void qglColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a)
{
    layer.server.other.colourMask = {r != GL_FALSE, g != GL_FALSE, b != GL_FALSE, a != GL_FALSE};
    glColorMask(r, g, b, a);
}

void qglScissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    layer.server.scissor.box = {x, y, width, height};
    glScissor(x, y, width, height);
}

void qglViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    layer.server.viewport = {x, y, width, height};
    glViewport(x, y, width, height);
}

void qglClear(GLbitfield mask)
{
    if (!gles::scissorShutsEverything(layer.server)) glClear(mask);
}

void qglClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a)
{
    layer.server.other.clearColour = {r, g, b, a};
    glClearColor(r, g, b, a);
}

void qglReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels)
{
    // ES 3 reads RGBA bytes in any case; the layer packs what was asked for.
    std::vector<uint8_t> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    ++gles::counters().readBacks;
    if (!gles::packFromRgba(width, height, format, type, layer.packAlignment, rgba, pixels)) {
        unsupported("glReadPixels", type != GL_UNSIGNED_BYTE ? type : format);
    }
}

void qglPixelStorei(GLenum pname, GLint param)
{
    if (pname == GL_UNPACK_ALIGNMENT) {
        layer.unpackAlignment = param;
    } else if (pname == GL_PACK_ALIGNMENT) {
        layer.packAlignment = param;
    } else {
        unsupported("glPixelStorei", pname);
    }
}

void qglFlush(void) { glFlush(); }
void qglFinish(void) { glFinish(); }

// ---- Textures ----------------------------------------------------------------

void qglGenTextures(GLsizei n, GLuint* textures)
{
    glGenTextures(n, textures);
}

void qglBindTexture(GLenum target, GLuint texture)
{
    if (target != GL_TEXTURE_2D) {
        unsupported("glBindTexture", target);
        return;
    }
    layer.server.texture.binding = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
}

void qglDeleteTextures(GLsizei n, const GLuint* textures)
{
    for (GLsizei i = 0; i < n; ++i) {
        layer.textures.erase(textures[i]);
        if (layer.server.texture.binding == textures[i]) layer.server.texture.binding = 0;
    }
    glDeleteTextures(n, textures);
}

void qglTexParameteri(GLenum target, GLenum pname, GLint param)
{
    if (target != GL_TEXTURE_2D || (pname != GL_TEXTURE_MIN_FILTER && pname != GL_TEXTURE_MAG_FILTER)) {
        unsupported("glTexParameteri", pname);
        return;
    }
    glTexParameteri(target, pname, param);
}

// Every texture is RGBA bytes in the driver; `format` is what it samples as.
static void defineTexture(gles::BaseFormat format)
{
    layer.textures[layer.server.texture.binding] = format;
}

// Whether pixels can go to the driver as they are: RGBA bytes whose rows
// need no padding, which is what the driver reads at its unpack alignment
// of 4 (the layer keeps the show's alignment to itself).
static bool uploadsAsItIs(GLsizei width, GLenum format, GLenum type, const void* pixels)
{
    return pixels && format == GL_RGBA && type == GL_UNSIGNED_BYTE && width >= 0 &&
           (static_cast<std::size_t>(width) * 4) % static_cast<std::size_t>(std::max(layer.unpackAlignment, 1)) == 0;
}

// The driver's glTexImage2D of RGBA bytes, counted.
static void uploadRgba(GLsizei width, GLsizei height, const void* rgba)
{
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    gles::Counters& c = gles::counters();
    ++c.textureUploads;
    c.textureBytes += static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

void qglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                   GLenum format, GLenum type, const void* pixels)
{
    const gles::BaseFormat base = gles::baseFormatOf(internalFormat);
    const bool direct = uploadsAsItIs(width, format, type, pixels);
    std::vector<uint8_t> rgba;
    if (target != GL_TEXTURE_2D || level != 0 || border != 0 || base == gles::BaseFormat::None || height < 0 ||
        (!direct && !gles::unpackToRgba(width, height, format, type, layer.unpackAlignment, pixels, rgba))) {
        unsupported("glTexImage2D", base == gles::BaseFormat::None ? static_cast<unsigned>(internalFormat) : format);
        return;
    }
    uploadRgba(width, height, direct ? pixels : rgba.data());
    defineTexture(base);
}

GLint qgluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format, GLenum type,
                         const void* data)
{
    const gles::BaseFormat base = gles::baseFormatOf(components);
    GLint maxSize = 2048;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const auto powerOfTwo = [maxSize](GLint side) { return side > 0 && side <= maxSize && (side & (side - 1)) == 0; };
    // A picture that needs no scaling and no conversion goes up as it is.
    const bool direct = uploadsAsItIs(width, format, type, data) && powerOfTwo(width) && powerOfTwo(height);
    std::vector<uint8_t> rgba;
    if (target != GL_TEXTURE_2D || base == gles::BaseFormat::None ||
        (!direct && !gles::unpackToRgba(width, height, format, type, layer.unpackAlignment, data, rgba))) {
        unsupported("gluBuild2DMipmaps", format);
        return GL_INVALID_ENUM;
    }
    if (!direct) gles::scaleToPowerOfTwo(width, height, rgba, maxSize);
    uploadRgba(width, height, direct ? data : rgba.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    defineTexture(base);
    return 0;
}

void qglCopyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x, GLint y, GLsizei width,
                       GLsizei height, GLint border)
{
    const gles::BaseFormat base = gles::baseFormatOf(static_cast<int>(internalFormat));
    if (target != GL_TEXTURE_2D || level != 0 || border != 0 || base == gles::BaseFormat::None) {
        unsupported("glCopyTexImage2D", internalFormat);
        return;
    }
    // Copied whole; a luminance texture samples its red channel, which is
    // what a copy into luminance keeps.
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, x, y, width, height, 0);
    ++gles::counters().framebufferCopies;
    defineTexture(base);
}

void qglCopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y, GLsizei width,
                          GLsizei height)
{
    // Into the texture's storage on the GPU; nothing is read back.
    glCopyTexSubImage2D(target, level, xoffset, yoffset, x, y, width, height);
    ++gles::counters().framebufferCopies;
}

// ---- Client arrays -------------------------------------------------------------

void qglVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer)
{
    if (type != GL_FLOAT || size < 2 || size > 4) {
        unsupported("glVertexPointer", type);
        return;
    }
    layer.client.vertex = {layer.client.vertex.enabled, size, stride, pointer};
}

void qglNormalPointer(GLenum type, GLsizei stride, const void* pointer)
{
    if (type != GL_FLOAT) {
        unsupported("glNormalPointer", type);
        return;
    }
    layer.client.normal = {layer.client.normal.enabled, 3, stride, pointer};
}

void qglInterleavedArrays(GLenum format, GLsizei stride, const void* pointer)
{
    if (format != GL_T2F_V3F) {
        unsupported("glInterleavedArrays", format);
        return;
    }
    // Texture coordinates and positions on, every other array off.
    const GLsizei step = stride != 0 ? stride : static_cast<GLsizei>(5 * sizeof(float));
    const auto* bytes = static_cast<const uint8_t*>(pointer);
    layer.client.texCoord = {true, 2, step, bytes};
    layer.client.vertex = {true, 3, step, bytes + 2 * sizeof(float)};
    layer.client.normal.enabled = false;
}

// Both array draws gather nothing under a shut scissor box; draw() says why.
void qglDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    batch.clear();
    if (gles::scissorShutsEverything(layer.server)) {
        draw(mode, batch);
        return;
    }
    batch.reserve(static_cast<std::size_t>(count));
    for (GLsizei i = 0; i < count; ++i) {
        batch.push_back(gles::fetchVertex(layer.client, layer.current, static_cast<uint32_t>(first + i)));
    }
    draw(mode, batch);
}

void qglDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    if (type != GL_UNSIGNED_INT) {
        unsupported("glDrawElements", type);
        return;
    }
    const auto* index = static_cast<const uint32_t*>(indices);
    batch.clear();
    if (gles::scissorShutsEverything(layer.server)) {
        draw(mode, batch);
        return;
    }
    batch.reserve(static_cast<std::size_t>(count));
    for (GLsizei i = 0; i < count; ++i) batch.push_back(gles::fetchVertex(layer.client, layer.current, index[i]));
    draw(mode, batch);
}

// ---- Queries ---------------------------------------------------------------------

void qglGetFloatv(GLenum pname, GLfloat* params)
{
    switch (pname) {
    case GL_COLOR_CLEAR_VALUE: std::memcpy(params, layer.server.other.clearColour.data(), 4 * sizeof(float)); break;
    case GL_MODELVIEW_MATRIX: std::memcpy(params, layer.modelview.back().data(), 16 * sizeof(float)); break;
    case GL_PROJECTION_MATRIX: std::memcpy(params, layer.projection.back().data(), 16 * sizeof(float)); break;
    // The driver's own limit: what the render scale is checked against.
    case GL_ALIASED_LINE_WIDTH_RANGE: glGetFloatv(pname, params); break;
    default: unsupported("glGetFloatv", pname); break;
    }
}

void qglGetIntegerv(GLenum pname, GLint* params)
{
    switch (pname) {
    case GL_MATRIX_MODE: *params = static_cast<GLint>(layer.server.transform.matrixMode); break;
    case GL_UNPACK_ALIGNMENT: *params = layer.unpackAlignment; break;
    case GL_PACK_ALIGNMENT: *params = layer.packAlignment; break;
    case GL_LIGHT_MODEL_COLOR_CONTROL: *params = static_cast<GLint>(GL_SINGLE_COLOR); break;
    case GL_VIEWPORT:
        for (int i = 0; i < 4; ++i) params[i] = layer.server.viewport[i];
        break;
    // Kept by the driver alone: its limits (which bound the render scale)
    // and the scissor box (passed on as it is set).
    case GL_MAX_TEXTURE_SIZE:
    case GL_MAX_RENDERBUFFER_SIZE:
    case GL_MAX_VIEWPORT_DIMS:
    case GL_SCISSOR_BOX: glGetIntegerv(pname, params); break;
    default: unsupported("glGetIntegerv", pname); break;
    }
}

void qglGetBooleanv(GLenum pname, GLboolean* params)
{
    if (pname != GL_COLOR_WRITEMASK) {
        unsupported("glGetBooleanv", pname);
        return;
    }
    for (int i = 0; i < 4; ++i) params[i] = layer.server.other.colourMask[i] ? GL_TRUE : GL_FALSE;
}

GLenum qglGetError(void)
{
    if (layer.error != GL_NO_ERROR) {
        const GLenum error = layer.error;
        layer.error = GL_NO_ERROR;
        return error;
    }
    return glGetError();
}

}  // extern "C"
