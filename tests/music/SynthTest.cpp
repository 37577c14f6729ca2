// SynthTest.cpp: the generator's arithmetic, limiter and score layout.
//
// The own maths functions replace the C library's for determinism, so they
// must still be right; the limiter must hold its ceiling; and the score's
// sections must start exactly where the show changes pictures.
// Needs: music_synth.
#include <gtest/gtest.h>

#include <cmath>

#include "Dsp.h"
#include "Effects.h"
#include "Score.h"

namespace {

// Largest absolute sample in [from, to).
float peakIn(const music::StereoBuffer& b, size_t from, size_t to) {
    float peak = 0.0f;
    for (size_t i = from; i < to && i < b.frames(); ++i) {
        peak = std::max(peak, std::max(std::fabs(b.left[i]), std::fabs(b.right[i])));
    }
    return peak;
}

}  // namespace

TEST(MusicMaths, OwnElementaryFunctionsDriftFromTheLibrary) {
    for (int i = -2000; i <= 2000; ++i) {
        const double x = i * 0.00731;
        EXPECT_NEAR(music::sineCycles(x), std::sin(2.0 * M_PI * x), 1e-8) << x;
        EXPECT_NEAR(music::exp2Exact(x * 10.0) / std::exp2(x * 10.0), 1.0, 1e-12) << x;
        if (x > 0.0) {
            EXPECT_NEAR(music::log2Exact(x * 50.0), std::log2(x * 50.0), 1e-12) << x;
        }
    }
    EXPECT_NEAR(music::noteHz(69), 440.0, 1e-9);
    EXPECT_NEAR(music::noteHz(57), 220.0, 1e-9);
}

TEST(MusicMaths, NoiseRepeatsOrDependsOnRenderOrder) {
    music::Random a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const uint64_t va = a.next();
        EXPECT_EQ(va, b.next());
        differs |= va != c.next();
    }
    EXPECT_TRUE(differs);
}

TEST(MusicLimiter, PeaksPassTheCeilingOrQuietPartsAreTouched) {
    music::StereoBuffer b(44100);
    for (size_t i = 0; i < b.frames(); ++i) {
        const float tone = static_cast<float>(music::sineCycles(i * 440.0 / 44100.0));
        // Quiet first half, then a burst four times over the ceiling.
        const float level = i < 22050 ? 0.2f : 3.0f;
        b.left[i] = tone * level;
        b.right[i] = -tone * level;
    }
    const music::StereoBuffer before = b;
    music::limitPeaks(b, 0.7f);
    EXPECT_LE(peakIn(b, 0, b.frames()), 0.7f);
    // Well ahead of the burst (more than the look-ahead) nothing changes.
    for (size_t i = 0; i < 20000; ++i) ASSERT_EQ(b.left[i], before.left[i]) << i;
    // The burst is held near the ceiling, not pushed far below it.
    EXPECT_GT(peakIn(b, 30000, 44100), 0.65f);
}

TEST(MusicScore, SectionsMissTheShowsChanges) {
    music::Score score;
    music::composeTrack(score);
    // Every change of picture and every flash (frame / 50) starts a bar,
    // and a cymbal marks it.
    const double changes[] = {8.0, 24.0, 39.0, 56.0, 72.0, 88.0, 100.0, 104.0, 144.0};
    for (const double t : changes) {
        bool onBar = false;
        for (int bar = 0; bar < score.barCount(); ++bar) onBar |= std::fabs(score.barStart(bar) - t) < 1e-9;
        EXPECT_TRUE(onBar) << t << " s is not a bar line";
        bool crash = false;
        for (const music::Note& note : score.notes()) {
            crash |= note.instrument == music::Instrument::Crash && std::fabs(note.start - t) < 1e-9;
        }
        EXPECT_TRUE(crash) << "no cymbal at " << t << " s";
    }
    // The piece ends after the end picture, within the ending's span.
    EXPECT_GE(score.end(), 160.0);
    EXPECT_LE(score.end(), 175.0);
}

TEST(MusicScore, NotesOutsideTheTrackOrSilent) {
    music::Score score;
    music::composeTrack(score);
    ASSERT_GT(score.notes().size(), 1000u);
    for (const music::Note& note : score.notes()) {
        ASSERT_GE(note.start, 0.0);
        ASSERT_LT(note.start, score.end());
        ASSERT_GT(note.length, 0.0);
        ASSERT_GT(note.velocity, 0.0f);
        ASSERT_GE(note.pitch, 24);
        ASSERT_LE(note.pitch, 108);
    }
}
