// Layer.h: the GL 1.x layer as its platform sees it.
//
// The show's drawing code includes GL/gl.h from gles/include, which maps
// each fixed-function call it makes onto this layer (qglBegin for glBegin,
// and so on). The layer keeps the fixed-function state itself (LayerState),
// gathers vertices and sends them at glEnd or at each array draw, and draws
// with one generated ES 3 shader per combination of the state in force
// (ShaderKey). Everything ES 3 has itself (blending, depth, stencil,
// culling, viewport, scissor, clears, textures, framebuffer copies) goes to
// the driver as well, so the driver's state always matches the layer's.
//
// What the show never calls does not exist. A call with an argument the
// layer does not handle prints "gles: CALL does not support 0xVALUE" (a
// draw under state the shaders cannot draw: "gles: drawing does not support
// fog mode 0xVALUE"), leaves GL_INVALID_ENUM for glGetError and, in a debug
// build, aborts. A push onto a full stack or a pop from an empty one
// (matrices, attributes, client attributes) leaves GL_STACK_OVERFLOW or
// GL_STACK_UNDERFLOW, as GL does. The first error stays until glGetError
// reads it.
//
// The layer counts what it asks of the driver (gles/Counters.h): draws,
// buffer and texture uploads with their bytes, program switches, uniform
// uploads, read-backs and framebuffer copies; a renderer resets and prints
// them per frame.
//
// A platform calls glesContextCreated() right after it made a new ES 3 (or
// WebGL 2) context current, before anything is drawn in it.
#pragma once

// Starts the layer afresh for the context now current: fixed-function
// defaults, no shaders yet, the driver's viewport taken over.
void glesContextCreated();
