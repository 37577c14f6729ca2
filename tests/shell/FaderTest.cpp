// FaderTest.cpp: brightness curves of the fader, each part's fade over its
// whole length, the flash alpha and the shared sine table, against the
// numbers the show's look was tuned with.
#include <gtest/gtest.h>

#include "shell/DemoParts.h"
#include "shell/Fader.h"
#include "shell/RenderKit.h"
#include "shell/Schedule.h"

TEST(Fader, LogoFadeHoldsThenFallsThenTurnsBlackAtItsDuration)
{
    Fader fader;
    fader.start = 0;
    fader.duration = 400;
    fader.rate = 70;
    fader.mode = FADE_DECAY;
    EXPECT_FLOAT_EQ(fader.brightness(0), 1.0f);
    EXPECT_FLOAT_EQ(fader.brightness(70), 1.0f);
    EXPECT_FLOAT_EQ(fader.brightness(140), 0.5f);
    EXPECT_NEAR(fader.brightness(399), 70.0f / 399.0f, 1e-6);
    EXPECT_FLOAT_EQ(fader.brightness(400), 0.0f);
    EXPECT_EQ(fader.mode, FADE_RISE);
}

TEST(Fader, RiseClimbsFromBlackAndGoesIdleAtThreeDurations)
{
    Fader fader;
    fader.start = 100;
    fader.duration = 180;
    fader.rate = 40;
    fader.mode = FADE_DECAY;
    fader.brightness(280);  // elapsed == duration: rise begins
    EXPECT_EQ(fader.mode, FADE_RISE);
    EXPECT_FLOAT_EQ(fader.brightness(290), 0.0f) << "1.1 - 1/0.5 is below zero";
    EXPECT_NEAR(fader.brightness(380), 0.9f, 1e-6) << "1.1 - 1 / (2 * 100 / 40)";
    EXPECT_FLOAT_EQ(fader.brightness(640), 1.0f);
    EXPECT_EQ(fader.mode, FADE_IDLE);
    EXPECT_EQ(fader.start, 0);
    EXPECT_LT(fader.brightness(700), 0.0f) << "idle leaves the colour alone";
}

TEST(Fader, RestartedEveryFrameStaysFullWhite)
{
    Fader fader;
    for (int frame = 3600; frame < 3700; ++frame) {
        fader.start = frame;
        fader.duration = 800;
        fader.rate = 70;
        fader.mode = FADE_DECAY;
        ASSERT_FLOAT_EQ(fader.brightness(frame), 1.0f);
    }
}

TEST(Flash, AlphaIsInvisibleEarlyPeaksAtTenAndEndsAtTenTwentyNinths)
{
    EXPECT_LE(flashAlpha(5), 0.0f);
    EXPECT_LE(flashAlpha(6), 0.0f);
    EXPECT_NEAR(flashAlpha(7), 0.0714f, 1e-4);
    EXPECT_FLOAT_EQ(flashAlpha(10), 0.5f);
    EXPECT_FLOAT_EQ(flashAlpha(19), 10.0f / 29.0f);
}

TEST(TrigTables, UseThePiOf3Point1415)
{
    fillTrigTables();
    EXPECT_NEAR(SIN_TABLE[1], 0.0174519f, 2e-7);
    EXPECT_NEAR(COS_TABLE[90], 0.0000463f, 1e-7);
    EXPECT_NEAR(SIN_TABLE[180], 0.0000927f, 1e-7);
}

// The fades of every part replayed frame by frame over the part's whole
// length, as the running order drives them: a changed length or rate shows
// up at whichever frame it first makes black or dim, not only at the few
// frames a spot check happens to look at.
TEST(PartFades, NoPartGoesBlackOutsideItsPlannedDarkFrames)
{
    Fader shared;  // the logo's fader, borrowed by the intro
    shared.mode = FADE_IDLE;
    // Frame 0: the intro is drawn once under the logo, then the logo.
    shared.mode = FADE_RISE;
    shared.start = 0;
    shared.brightness(0);
    for (int frame = PART_START_FRAME[0]; frame < PART_START_FRAME[1]; ++frame) {
        setLogoFade(shared);
        const float expected = frame <= 70 ? 1.0f : 70.0f / static_cast<float>(frame);
        ASSERT_FLOAT_EQ(shared.brightness(frame), expected) << "logo frame " << frame;
    }

    // The intro counts its own cycles; the frame-0 draw was cycle 0. Its
    // pictures change at cycles 270, 630, 990 and 1350, each hidden by
    // black from the change until the next picture has risen far enough.
    const int introCycles = PART_START_FRAME[2] - PART_START_FRAME[1];
    int darkCycles = 0;
    for (int cycle = 1; cycle <= introCycles; ++cycle) {
        if (introPictureFadeStarts(cycle)) setIntroPictureFade(shared, cycle);
        const float b = shared.brightness(cycle);
        const int turn = cycle % 360;
        const bool afterChange = cycle >= 270 && turn >= 270 && turn <= 288;
        ASSERT_EQ(b == 0.0f, afterChange) << "intro cycle " << cycle << " brightness " << b;
        if (cycle >= 90 && turn >= 90 && turn <= 130) {
            ASSERT_FLOAT_EQ(b, 1.0f) << "intro cycle " << cycle;
        }
        ASSERT_GT(b, -0.5f) << "intro cycle " << cycle << ": the fader never goes idle in the intro";
        if (b == 0.0f) ++darkCycles;
    }
    EXPECT_EQ(darkCycles, 4 * 19) << "four picture changes, 19 black cycles each";

    Fader spin;
    for (int frame = PART_START_FRAME[4]; frame < PART_START_FRAME[5]; ++frame) {
        setSpinFade(spin, frame);
        ASSERT_FLOAT_EQ(spin.brightness(frame), 1.0f) << "spin frame " << frame;
    }
}
