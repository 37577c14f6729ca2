// FaderTest.cpp: brightness curves of the fader, the flash alpha and the
// shared sine table, against the numbers the show's look was tuned with.
#include <gtest/gtest.h>

#include "shell/DemoParts.h"
#include "shell/Fader.h"
#include "shell/RenderKit.h"

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
