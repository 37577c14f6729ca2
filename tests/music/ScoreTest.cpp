// ScoreTest.cpp: the sequencer's parsers and the instruments' output.
//
// A wrong step in a pattern parser shifts every note after it; an unstable
// filter or a note past the buffer end spoils the whole track. These cases
// pin both down on small inputs.
// Needs: music_synth.
#include <gtest/gtest.h>

#include <cmath>

#include "Effects.h"
#include "Instruments.h"
#include "Score.h"

namespace {

// Notes of one instrument, in order.
std::vector<music::Note> notesOf(const music::Score& score, music::Instrument instrument) {
    std::vector<music::Note> out;
    for (const music::Note& note : score.notes()) {
        if (note.instrument == instrument) out.push_back(note);
    }
    return out;
}

}  // namespace

TEST(MusicScoreParse, ChordNamesMisread) {
    const music::Chord am = music::Chord::parse("Am");
    EXPECT_EQ(am.root, 9);
    EXPECT_EQ(am.intervals[1], 3);
    const music::Chord fmaj7 = music::Chord::parse("Fmaj7");
    EXPECT_EQ(fmaj7.root, 5);
    EXPECT_EQ(fmaj7.intervals[1], 4) << "maj7 read as minor";
    EXPECT_EQ(fmaj7.intervals[3], 11);
    EXPECT_EQ(music::Chord::parse("Em7").intervals[3], 10);
    EXPECT_EQ(music::Chord::parse("Bb").root, 10);
    EXPECT_EQ(music::Chord::parse("G#").root, 8);
    EXPECT_EQ(music::Chord::parse("Dsus4").intervals[1], 5);
    // Unknown text falls back to A minor rather than failing.
    EXPECT_EQ(music::Chord::parse("").root, 9);
    EXPECT_EQ(music::Chord::parse("xyz").root, 9);
}

TEST(MusicScoreParse, MelodyStepsOrRestsMiscounted) {
    music::Score score;
    score.addBars(2);
    const double end = score.melody(music::Instrument::Lead, 0, "A4:4 r:4 | C5:2 C#5:6 Bb3:16 bad", 1.0f, 0.5f, 12);
    EXPECT_DOUBLE_EQ(end, 32 * music::STEP_SECONDS);
    const std::vector<music::Note> notes = notesOf(score, music::Instrument::Lead);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].pitch, 69 + 12);
    EXPECT_DOUBLE_EQ(notes[1].start, 8 * music::STEP_SECONDS) << "rest did not advance time";
    EXPECT_EQ(notes[1].pitch, 72 + 12);
    EXPECT_EQ(notes[2].pitch, 73 + 12);
    EXPECT_EQ(notes[3].pitch, 58 + 12);
    EXPECT_DOUBLE_EQ(notes[3].start, 16 * music::STEP_SECONDS);
}

TEST(MusicScoreParse, HeldBassStepsOrShortBarsMishandled) {
    music::Score score;
    score.addBars(1);
    score.addBars(1, 2);
    score.setChords(0, {"C", "G"});
    score.bassLine(0, 2, "0 . . 12 - 7", music::Instrument::Bass, 1.0f, 0.5f);
    const std::vector<music::Note> notes = notesOf(score, music::Instrument::Bass);
    // Bar 0 (16 steps, pattern of 6 repeated): 0 at 0 held 3 steps, 12 at 3,
    // 7 at 5, then 0 at 6 ...; bar 1 has only 8 steps.
    ASSERT_GE(notes.size(), 4u);
    EXPECT_EQ(notes[0].pitch, 36);
    EXPECT_NEAR(notes[0].length, 2.9 * music::STEP_SECONDS, 1e-9) << "holds not added";
    EXPECT_EQ(notes[1].pitch, 48);
    EXPECT_DOUBLE_EQ(notes[1].start, 3 * music::STEP_SECONDS);
    EXPECT_EQ(notes[2].pitch, 43);
    for (const music::Note& note : notes) {
        EXPECT_LT(note.start, score.end()) << "a note past the short last bar";
        if (note.start >= score.barStart(1)) {
            EXPECT_GE(note.pitch, 43) << "bar 1 not over G";
        }
    }
}

TEST(MusicInstruments, SilentUnstableOrWritingPastTheEnd) {
    const int count = music::INSTRUMENT_COUNT;
    for (int k = 0; k < count; ++k) {
        const auto instrument = static_cast<music::Instrument>(k);
        // Half a second of buffer, the note starting 0.3 s in, so every tail is cut.
        music::StereoBuffer buffer(22050);
        for (const float tone : {0.0f, 1.0f}) {
            music::renderNote({instrument, 0.3, 0.5, 69, 1.0f, 0.0f, tone}, 7, buffer);
        }
        double energy = 0.0;
        bool finite = true;
        for (size_t i = 0; i < buffer.frames(); ++i) {
            finite &= std::isfinite(buffer.left[i]) && std::isfinite(buffer.right[i]);
            energy += static_cast<double>(buffer.left[i]) * buffer.left[i];
        }
        EXPECT_TRUE(finite) << "instrument " << k;
        EXPECT_GT(energy, 1e-3) << "instrument " << k << " is silent";
        EXPECT_LT(music::peakOf(buffer), 8.0f) << "instrument " << k << " blows up";
        // Nothing before the note's start.
        EXPECT_EQ(buffer.left[13000], 0.0f) << "instrument " << k;
    }
    // A note that starts before the buffer is dropped, not written in front of it.
    music::StereoBuffer buffer(1000);
    music::renderNote({music::Instrument::Kick, -0.01, 0.1, 60, 1.0f, 0.0f, 0.5f}, 1, buffer);
    EXPECT_EQ(music::peakOf(buffer), 0.0f);
}

TEST(MusicLeveller, QuietStretchNotRaisedOrRaisedTooFar) {
    // Eight seconds: four loud, four 12 dB quieter.
    music::StereoBuffer b(8 * 44100);
    for (size_t i = 0; i < b.frames(); ++i) {
        const float level = i < b.frames() / 2 ? 0.4f : 0.1f;
        b.left[i] = b.right[i] = level * static_cast<float>(music::sineCycles(i * 220.0 / 44100.0));
    }
    music::levelSections(b, 0.0, 8.0, 4.0);
    const auto rms = [&](size_t from, size_t to) {
        double sum = 0.0;
        for (size_t i = from; i < to; ++i) sum += static_cast<double>(b.left[i]) * b.left[i];
        return std::sqrt(sum / static_cast<double>(to - from));
    };
    const double loud = rms(0, 44100), quiet = rms(7 * 44100, 8 * 44100);
    const double gapDb = 20.0 * std::log10(loud / quiet);
    EXPECT_LT(gapDb, 10.0) << "the quiet stretch was not raised";
    EXPECT_GT(gapDb, 12.0 - 2.0 * 4.0 - 0.1) << "more than the allowed correction";
    EXPECT_GT(gapDb, 0.0) << "the order of loud and quiet was reversed";
}
