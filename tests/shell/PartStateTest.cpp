// PartStateTest.cpp: the GL state each part inherits from the one before it,
// the intro's echo tint and timing, and the random numbers the wave leaves
// for the bodies, all from one run of the timeline from frame 0 to the
// bodies' second frame. The parts restore little of what they change, so
// their look rests on this chain; a tidy-up that restores lighting or fog,
// or a set-up moved in loading, changes later parts with no part's own
// test failing. Runs alone in its program: the show's state is program-wide.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "common/Screen.h"
#include "common/ShowGlobals.h"
#include "common/ShowRandom.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

// The state a part meets before the frame is drawn.
struct PartState {
    int frame;
    bool lighting, genS, genT, fog, cull, blend, depth, texture2d;
    float fogEnd;
    std::array<float, 3> translation;  // of the model-view matrix
    std::array<float, 4> colour;       // current colour
    std::array<float, 4> light0;       // light 0's position, eye coordinates
    std::array<float, 3> lightVector;

    std::string text() const
    {
        std::ostringstream s;
        s << "{" << frame << ", " << lighting << ", " << genS << ", " << genT << ", " << fog << ", " << cull << ", "
          << blend << ", " << depth << ", " << texture2d << ", " << fogEnd << ", {" << translation[0] << ", "
          << translation[1] << ", " << translation[2] << "}, {" << colour[0] << ", " << colour[1] << ", " << colour[2]
          << ", " << colour[3] << "}, {" << light0[0] << ", " << light0[1] << ", " << light0[2] << ", " << light0[3]
          << "}, {" << lightVector[0] << ", " << lightVector[1] << ", " << lightVector[2] << "}}";
        return s.str();
    }
};

PartState currentState(int frame)
{
    PartState s{};
    s.frame = frame;
    s.lighting = glIsEnabled(GL_LIGHTING);
    s.genS = glIsEnabled(GL_TEXTURE_GEN_S);
    s.genT = glIsEnabled(GL_TEXTURE_GEN_T);
    s.fog = glIsEnabled(GL_FOG);
    s.cull = glIsEnabled(GL_CULL_FACE);
    s.blend = glIsEnabled(GL_BLEND);
    s.depth = glIsEnabled(GL_DEPTH_TEST);
    s.texture2d = glIsEnabled(GL_TEXTURE_2D);
    glGetFloatv(GL_FOG_END, &s.fogEnd);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    s.translation = {modelview[12], modelview[13], modelview[14]};
    glGetFloatv(GL_CURRENT_COLOR, s.colour.data());
    glGetLightfv(GL_LIGHT0, GL_POSITION, s.light0.data());
    s.lightVector = lightVector;
    return s;
}

bool near(float a, float b) { return std::fabs(a - b) <= 1e-4f + 1e-5f * std::fabs(b); }

template <std::size_t N>
bool near(const std::array<float, N>& a, const std::array<float, N>& b)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (!near(a[i], b[i])) return false;
    }
    return true;
}

bool same(const PartState& a, const PartState& b)
{
    return a.lighting == b.lighting && a.genS == b.genS && a.genT == b.genT && a.fog == b.fog && a.cull == b.cull &&
           a.blend == b.blend && a.depth == b.depth && a.texture2d == b.texture2d && near(a.fogEnd, b.fogEnd) &&
           near(a.translation, b.translation) && near(a.colour, b.colour) && near(a.light0, b.light0) &&
           near(a.lightVector, b.lightVector);
}

// frame, lighting, S and T generation, fog, culling, blending, depth test,
// 2D texturing, fog end, model-view translation, colour, light 0, light vector.
const PartState EXPECTED[] = {
    // Loading and the logo's first frame: light 0 from the bodies' set-up,
    // the light vector from the last position given.
    {1, 1, 0, 0, 0, 1, 0, 1, 0, 1, {0, 0, 0}, {1, 1, 1, 1}, {-5, -5, 9, 1}, {0, 0, 1000}},
    // The intro's echo leaves lighting on, culling off and its last layer's alpha.
    {401, 1, 0, 0, 0, 0, 0, 1, 0, 1, {0, 0, 0}, {1, 1, 1, 0.05f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    {1950, 1, 0, 0, 0, 0, 0, 1, 0, 1, {0, 0, 0}, {1, 1, 1, 0.05f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    // The wave leaves texturing and S/T generation on ...
    {1951, 1, 1, 1, 0, 0, 0, 1, 1, 1, {0, 0, 0}, {1, 1, 1, 0.05f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    // ... and the flash's overlay switches texturing off, its alpha at step 9.
    {2800, 1, 1, 1, 0, 0, 0, 1, 0, 1, {0, 0, 0}, {1, 1, 1, 1.5f - 10.0f / 9.0f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    // The metaballs leave fog to 19, the balls' translation and lighting
    // off (the flash's overlay turns it on in the frames it is drawn).
    {2801, 1, 0, 0, 1, 0, 0, 1, 0, 19, {0, 0, -3}, {1, 1, 1, 0.5f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    {3600, 0, 0, 0, 1, 0, 0, 1, 1, 19, {0, 0, -3}, {1, 1, 1, 10.0f / 29.0f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    // The spin part's blur leaves its alpha in the colour.
    {3601, 0, 0, 0, 1, 0, 0, 1, 0, 19, {0, 0, -3}, {1, 1, 1, 0.98f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    {4400, 0, 0, 0, 1, 0, 0, 1, 0, 19, {0, 0, -3}, {1, 1, 1, 0.98f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    // The tunnels switch their fog to 30 on after drawing; the overlay
    // leaves lighting on.
    {4401, 1, 0, 0, 1, 0, 0, 1, 0, 30, {0, 0, -3}, {1, 1, 1, 0.9f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    {5200, 1, 0, 0, 1, 0, 0, 1, 0, 30, {0, 0, -3}, {1, 1, 1, 0.9f}, {-5, -5, 9, 1}, {0, 0, 1000}},
    // The bodies leave culling on and white.
    {5201, 1, 0, 0, 1, 1, 0, 1, 0, 30, {0, 0, -3}, {1, 1, 1, 1}, {-5, -5, 9, 1}, {0, 0, 1000}},
};

// The first two frames of every part after the logo, and the logo's second.
constexpr int STATE_FRAMES[] = {1, 401, 1950, 1951, 2800, 2801, 3600, 3601, 4400, 4401, 5200, 5201};

// Frames the run records beyond the table: the intro's fader and picture
// around their first changes.
constexpr int TIMING_FRAMES[] = {488, 489, 848, 849, 668, 669};
constexpr int TINT_FRAME = 669;  // the fader is black: only the echo's light shows
constexpr int LAST_FRAME = 5201;

struct IntroRecord {
    int pictureIndex;
    int faderStart;
    float faderDuration;
};

class PartChain : public testing::Test {
protected:
    static inline bool ran = false;
    static inline std::map<int, PartState> states;
    static inline std::map<int, IntroRecord> intro;  // after the frame is drawn
    static inline std::array<double, 3> tintSums{};
    static inline int bodiesFirstRandom = -1;  // the first number the bodies part would draw

    static void SetUpTestSuite()
    {
        platform::HeadlessPlatform headless;
        platform::setCurrent(&headless);
        Timeline timeline(headless);
        Shell shell(headless, timeline);
        if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
            platform::setCurrent(nullptr);
            return;
        }
        for (int frame = 0; frame <= LAST_FRAME; ++frame) {
            for (const int f : STATE_FRAMES) {
                if (f == frame) states[frame] = currentState(frame);
            }
            if (frame == PART_START_FRAME[6]) {
                // The wave's five stones are the only draws before this:
                // take the next number, then put the sequence back.
                bodiesFirstRandom = showRandom();
                resetShowRandom();
                for (int i = 0; i < 10; ++i) showRandom();
            }
            timeline.renderFrame();
            if (frame == TINT_FRAME) {
                const std::vector<uint8_t> rgb = headless.readPicture();
                for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
                    for (int c = 0; c < 3; ++c) tintSums[c] += rgb[i + c];
                }
            }
            for (const int f : TIMING_FRAMES) {
                if (f == frame) intro[frame] = {timeline.parts->pictureIndex, timeline.faderA->start,
                                                timeline.faderA->duration};
            }
            timeline.finishFrame();
            headless.swapBuffers();
        }
        shell.closeWindow();
        platform::setCurrent(nullptr);
        ran = true;
    }

    void SetUp() override
    {
        if (!ran) GTEST_SKIP() << "no GL context available";
    }
};

}  // namespace

TEST_F(PartChain, EachPartMeetsTheStateThePartBeforeLeft)
{
    for (const int frame : STATE_FRAMES) {
        const PartState& met = states.at(frame);
        const auto expected = std::find_if(std::begin(EXPECTED), std::end(EXPECTED),
                                           [&](const PartState& row) { return row.frame == frame; });
        if (expected == std::end(EXPECTED)) {
            ADD_FAILURE() << "no row for " << met.text();
            continue;
        }
        EXPECT_TRUE(same(met, *expected)) << "frame " << frame << "\n  met      " << met.text()
                                          << "\n  expected " << expected->text();
    }
}

TEST_F(PartChain, IntroEchoAddsVioletLight)
{
    // Lit by light 0 over the material's ambient colour: blue, then red at
    // about half, then green at about a fifth; unlit layers would be grey.
    const double blue = tintSums[2];
    ASSERT_GT(blue, 0.0);
    std::printf("echo light red : green : blue = %.3f : %.3f : 1\n", tintSums[0] / blue, tintSums[1] / blue);
    EXPECT_NEAR(tintSums[0] / blue, 0.5, 0.1) << "red";
    EXPECT_NEAR(tintSums[1] / blue, 0.2, 0.07) << "green";
}

TEST_F(PartChain, IntroFaderRestartsAndPictureChangesCountingTheDrawAtFrameZero)
{
    // Cycle = frame - 399: the fade restarts at cycle 90 and 450, the
    // picture changes at cycle 270.
    EXPECT_NE(intro.at(488).faderStart, 90);
    EXPECT_EQ(intro.at(489).faderStart, 90);
    EXPECT_EQ(intro.at(489).faderDuration, 180);
    EXPECT_NE(intro.at(848).faderStart, 450);
    EXPECT_EQ(intro.at(849).faderStart, 450);
    EXPECT_EQ(intro.at(668).pictureIndex, 0);
    EXPECT_EQ(intro.at(669).pictureIndex, 1);
}

TEST_F(PartChain, WaveLeavesTenRandomNumbersDrawnForTheBodies)
{
    // The collision golden run starts from this point of the sequence.
    ShowRandom fresh;
    for (int i = 0; i < 10; ++i) fresh.next();
    EXPECT_EQ(bodiesFirstRandom, fresh.next());
}
