// TestGlContext.h: GoogleTest fixture that gives each test a current OpenGL
// context.
//
// The context is a compatibility profile (the show uses OpenGL 1.1 and GLU)
// on a hidden 800 x 600 SDL window, made fresh for every test so that no GL
// state leaks from one test to the next. Without a display the test is
// skipped with a message saying so. Derive a fixture from it, or use it
// directly with TEST_F(TestGlContext, ...).
// Needs: SDL2 (tests only), a GL driver; run under Xvfb when headless.
#pragma once

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

class TestGlContext : public ::testing::Test {
public:
    // Size of the hidden window, the show's screen size.
    static constexpr int WIDTH = 800;
    static constexpr int HEIGHT = 600;

protected:
    void SetUp() override;
    void TearDown() override;

    // RGBA bytes of the back buffer's pixel (x, y), with y counted from the
    // bottom as GL does.
    std::vector<std::uint8_t> readPixel(int x, int y) const;
    // Presents the back buffer (some tests want to see a finished frame).
    void swap() const;

private:
    void* window = nullptr;   // SDL_Window*, kept opaque so this header needs no SDL
    void* context = nullptr;  // SDL_GLContext
};
