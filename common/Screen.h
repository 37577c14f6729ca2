// Screen.h: the show's fixed picture size.
//
// The show always draws an 800 x 600 picture; the window, the scene
// projection and the copied-texture effects use these numbers whatever the
// real size of the window is (the platform scales the finished picture).
#pragma once

constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;
constexpr int SCREEN_BITS = 16;
