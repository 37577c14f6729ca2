// Composition.cpp: the piece itself, in A minor at 120 beats a minute.
//
// The sections follow the show's running order, so every change of picture
// lands on a bar line with a change in the music:
//   bar  0   0 s  intro      pad and a filtered arpeggio over the logo
//   bar  4   8 s  rise       kick, offbeat bass and arpeggio; bells at 16 s
//   bar 12  24 s  theme      (flash) full drums, the main theme on the lead
//   bar 19  38 s             two-beat fill, so the next change falls on 39 s
//   bar 20  39 s  wave       breakbeat, a slower second theme
//   bar 28  55 s             two-beat fill and riser into the drop
//   bar 29  56 s  drop       (flash) main theme, rolling bass, everything on
//   bar 37  72 s  acid       resonant bass line, open hats, a short hook
//   bar 45  88 s  tunnel     fast breakbeat, a running lead
//   bar 51 100 s  break      (flash) impact, drums out, snare roll back in
//   bar 53 104 s  bodies     third theme over a new progression
//   bar 61 120 s  climax     main theme doubled, bells above
//   bar 69 136 s  build      long notes, riser and roll
//   bar 73 144 s  end        (flash) impact, then the theme on bells, winding down
//   bar 81 160 s             cadence F G Am; the last chord rings out by ~172 s
// Needs: Score.h.
#include "Score.h"

namespace music {
namespace {

// First bar of each section.
constexpr int INTRO = 0;
constexpr int RISE = 4;
constexpr int THEME = 12;
constexpr int THEME_FILL = 19;
constexpr int WAVE = 20;
constexpr int WAVE_FILL = 28;
constexpr int DROP = 29;
constexpr int ACID = 37;
constexpr int TUNNEL = 45;
constexpr int BREAK = 51;
constexpr int BODIES = 53;
constexpr int CLIMAX = 61;
constexpr int BUILD = 69;
constexpr int END = 73;
constexpr int CADENCE = 81;
constexpr int LAST_CHORD = 83;

// ---------------------------------------------------------------------------
// Melodies (note:length in 16ths, | marks bar lines for the reader)
// ---------------------------------------------------------------------------

// Main theme over Am F C G | Am F C G.
constexpr const char* THEME_A =
    "A4:3 C5:3 E5:2 A5:4 G5:2 E5:2 | F5:3 E5:3 C5:2 A4:6 C5:2 | G5:3 E5:3 C5:2 E5:4 D5:2 C5:2 |"
    " D5:6 B4:2 G4:4 B4:2 D5:2 | A4:3 C5:3 E5:2 A5:4 B5:2 C6:2 | A5:6 F5:2 C5:4 F5:2 G5:2 |"
    " E5:3 G5:3 C6:2 B5:4 G5:2 E5:2 | B4:3 C5:3 D5:2 E5:8";
// Its first seven bars and a half-bar pickup, for the theme section.
constexpr const char* THEME_A_SHORT =
    "A4:3 C5:3 E5:2 A5:4 G5:2 E5:2 | F5:3 E5:3 C5:2 A4:6 C5:2 | G5:3 E5:3 C5:2 E5:4 D5:2 C5:2 |"
    " D5:6 B4:2 G4:4 B4:2 D5:2 | A4:3 C5:3 E5:2 A5:4 B5:2 C6:2 | A5:6 F5:2 C5:4 F5:2 G5:2 |"
    " E5:3 G5:3 C6:2 B5:4 G5:2 E5:2 | D5:4 B4:4";
// Bell figure that announces the theme in the rise, over Am F C G.
constexpr const char* BELL_CALL = "E6:6 C6:2 A5:8 | F6:6 C6:2 A5:8 | G6:6 E6:2 C6:8 | D6:6 B5:2 G5:4 B5:4";
// Second theme, slower, over F G Am Am F G E E.
constexpr const char* THEME_B =
    "C5:8 A4:4 C5:4 | D5:8 B4:4 D5:4 | E5:12 D5:2 C5:2 | E5:6 G5:2 A5:8 | F5:8 E5:4 C5:4 |"
    " D5:8 G5:4 B5:4 | G#5:12 F5:2 E5:2 | B4:4 E5:4 G#5:4 B5:4";
// The second half of that theme, doubled on bells.
constexpr const char* THEME_B_ANSWER = "F5:8 E5:4 C5:4 | D5:8 G5:4 B5:4 | G#5:12 F5:2 E5:2 | B4:4 E5:4 G#5:4 B5:4";
// Answering hook of the acid section, over Am Am F E.
constexpr const char* ACID_HOOK =
    "E5:2 r:2 A5:2 r:2 E5:2 A5:2 C6:4 | B5:2 r:2 A5:2 r:2 G5:2 A5:6 | C6:2 r:2 A5:2 r:2 F5:2 A5:2 C6:4 |"
    " B5:4 G#5:4 E5:4 B4:4";
// Running lead of the tunnel section, over Am G F E Am G.
constexpr const char* THEME_C =
    "A5:2 E5:2 C5:2 E5:2 A5:2 B5:2 C6:2 B5:2 | G5:2 D5:2 B4:2 D5:2 G5:2 A5:2 B5:2 A5:2 |"
    " F5:2 C5:2 A4:2 C5:2 F5:2 G5:2 A5:2 G5:2 | E5:2 B4:2 G#4:2 B4:2 E5:2 F5:2 G#5:2 B5:2 |"
    " C6:4 B5:2 A5:2 E5:4 C5:4 | D5:4 B4:2 G4:2 B4:4 D5:4";
// Third theme, over F G Em Am F G E Am.
constexpr const char* THEME_D =
    "A5:4 G5:2 F5:2 E5:4 C5:4 | D5:4 E5:2 G5:2 B5:4 A5:2 G5:2 | G5:6 E5:2 B4:4 E5:4 | C6:4 B5:2 A5:2 E5:8 |"
    " A5:4 G5:2 F5:2 E5:4 F5:4 | G5:4 A5:2 B5:2 D6:4 B5:4 | B5:6 G#5:2 E5:4 G#5:4 | A5:16";
// Counter line of the climax: bells a sixth-ish above the theme's long notes.
constexpr const char* CLIMAX_BELLS =
    "E6:4 A6:4 E6:4 C6:4 | F6:4 C6:4 A5:4 C6:4 | G6:4 E6:4 C6:4 E6:4 | D6:4 B5:4 G5:4 B5:4 |"
    " E6:4 A6:4 E6:4 C6:4 | F6:4 C6:4 A5:4 C6:4 | G6:4 E6:4 C6:4 E6:4 | B5:4 D6:4 E6:8";
// Build: the lead climbs in long notes.
constexpr const char* BUILD_LINE = "C6:16 | D6:16 | B5:16 | G#5:8 B5:8";
// Break over Dm E.
constexpr const char* BREAK_LINE = "A5:12 F5:4 | G#5:16";
// Outro cadence and the last note.
constexpr const char* CADENCE_LINE = "C5:16 | B4:8 D5:8 | A4:32";

// ---------------------------------------------------------------------------
// Drums (one row of 16 steps per drum)
// ---------------------------------------------------------------------------

constexpr DrumPattern KICK_ONLY = {"x...x...x...x...", nullptr, nullptr, "..o...o...o...o.", nullptr};
constexpr DrumPattern RISE_GROOVE = {"x...x...x...x...", nullptr, "....x.......x...", "..x...x...x...x.", nullptr};
constexpr DrumPattern FOUR_FLOOR = {"x...x...x...x...", "....x.......x...", "....o.......o...", "o.x.o.x.o.x.o.x.",
                                    nullptr};
constexpr DrumPattern FOUR_FLOOR_FILL = {"x...x...x...x.x.", "....x.......x.xx", "....o.......o...",
                                         "o.x.o.x.o.x.o.x.", nullptr};
constexpr DrumPattern BREAKBEAT = {"x.....x...x.....", "....x.......x...", nullptr, "xoxoxoxoxoxoxoxo", nullptr};
constexpr DrumPattern BREAKBEAT_FILL = {"x.....x...x.x...", "....x..o.o..x.xx", nullptr, "xoxoxoxoxoxoxoxo",
                                        nullptr};
constexpr DrumPattern ACID_GROOVE = {"x...x...x...x...", nullptr, "....x.......x...", "o...o...o...o...",
                                     "..x...x...x...x."};
constexpr DrumPattern TUNNEL_BEAT = {"x.x.......xx....", "....x..o.o..x..o", nullptr, "xoxoxoxoxoxoxoxo",
                                     "..............x."};
constexpr DrumPattern HALF_FILL = {"x.......", "..o.xoxx", nullptr, "x.x.x.x.", nullptr};
constexpr DrumPattern SOFT_HATS = {nullptr, nullptr, nullptr, "..o...o...o...o.", nullptr};

// Groove for count bars from bar, with the given fill in every fourth bar.
void groove(Score& s, int bar, int count, const DrumPattern& main, const DrumPattern& fill, float level) {
    for (int b = bar; b < bar + count; ++b) s.drums(b, 1, (b - bar) % 4 == 3 ? fill : main, level);
}

// ---------------------------------------------------------------------------
// Bass and arpeggio steps
// ---------------------------------------------------------------------------

constexpr const char* BASS_OFFBEAT = "- - 0 . - - 0 . - - 0 . - - 0 .";
constexpr const char* BASS_DRIVE = "0 . 12 . 0 . 12 . 0 . 12 . 0 . 12 .";
constexpr const char* BASS_SYNCOPATED = "0 . . 0 - - 0 . - - 12 . 0 . 7 .";
constexpr const char* BASS_ROLL = "0 0 12 0 0 0 12 0 0 0 12 0 0 12 0 12";
constexpr const char* BASS_ACID = "0! 0 12 0 7 0 12! 0 0 10 0 12! 0 7 5! 0";
constexpr const char* BASS_TUNNEL = "0 0 12 0 0 12 0 0 12 0 0 12 0 12 7 12";
constexpr const char* BASS_GALLOP = "0 - 0 0 12 - 0 0 0 - 0 0 12 - 7 0";
constexpr const char* BASS_HELD = "0 . . . . . . . . . . . . . . .";

constexpr const char* ARP_WAVE = "0 2 4 2 5 2 4 2";
constexpr const char* ARP_CLIMB = "0 1 2 4 1 2 4 5 2 4 5 6 4 5 6 7";
constexpr const char* ARP_TRIPLE = "0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 4";
constexpr const char* ARP_SPARSE = "4 - 2 - 5 - 2 - 6 - 4 - 5 - 2 -";

// Arpeggios sit with their roots between A3 and G#4.
constexpr int ARP_LOW = 57;

// ---------------------------------------------------------------------------
// Sections
// ---------------------------------------------------------------------------

// 0-8 s: pad fading in, arpeggio behind a closed filter, riser into 8 s.
void intro(Score& s) {
    s.padChords(INTRO, 4, 0.8f, 0.15f);
    s.arpeggio(INTRO, 4, ARP_WAVE, ARP_LOW, 0.7f, 0.02f, 0.3f);
    s.riser(INTRO + 2, 2, 0.5f);
}

// 8-24 s: the groove builds, bells from 16 s, a roll into the flash.
void rise(Score& s) {
    s.hit(Instrument::Crash, s.barStart(RISE), 0.6f);
    s.padChords(RISE, 8, 0.7f, 0.25f);
    s.drums(RISE, 4, KICK_ONLY, 0.9f);
    s.drums(RISE + 4, 3, RISE_GROOVE, 0.9f);
    s.drums(RISE + 7, 1, KICK_ONLY, 0.9f);
    s.snareRoll(s.barStart(RISE + 7), 4, 0.25f, 0.8f);
    s.bassLine(RISE, 8, BASS_OFFBEAT, Instrument::Bass, 0.85f, 0.3f);
    s.arpeggio(RISE, 8, ARP_WAVE, ARP_LOW, 0.75f, 0.3f, 0.75f);
    s.melody(Instrument::Bell, RISE + 4, BELL_CALL, 0.5f, 0.4f);
    s.riser(RISE + 6, 2, 0.6f);
}

// 24-39 s: the main theme with full drums; a two-beat fill ends it.
void theme(Score& s) {
    s.hit(Instrument::Crash, s.barStart(THEME), 1.0f, 0.8f);
    s.hit(Instrument::Boom, s.barStart(THEME), 0.7f);
    s.padChords(THEME, 8, 0.65f, 0.35f);
    groove(s, THEME, 7, FOUR_FLOOR, FOUR_FLOOR_FILL, 1.0f);
    s.drums(THEME_FILL, 1, HALF_FILL, 1.0f);
    s.hit(Instrument::Tom, s.barStart(THEME_FILL) + 0.25, 0.7f, 0.5f, 50);
    s.hit(Instrument::Tom, s.barStart(THEME_FILL) + 0.5, 0.8f, 0.5f, 45);
    s.bassLine(THEME, 8, BASS_DRIVE, Instrument::Bass, 0.9f, 0.45f);
    s.arpeggio(THEME, 8, ARP_WAVE, ARP_LOW, 0.5f, 0.5f, 0.6f);
    s.melody(Instrument::Lead, THEME, THEME_A_SHORT, 0.75f, 0.55f);
}

// 39-56 s: breakbeat and the second theme; a fill and riser into the drop.
void wave(Score& s) {
    s.hit(Instrument::Crash, s.barStart(WAVE), 0.9f);
    s.padChords(WAVE, 9, 0.75f, 0.45f);
    groove(s, WAVE, 8, BREAKBEAT, BREAKBEAT_FILL, 1.0f);
    s.drums(WAVE_FILL, 1, HALF_FILL, 1.0f);
    s.bassLine(WAVE, 9, BASS_SYNCOPATED, Instrument::Bass, 0.95f, 0.4f);
    s.arpeggio(WAVE, 9, ARP_TRIPLE, ARP_LOW + 12, 0.35f, 0.35f, 0.6f);
    s.melody(Instrument::Lead, WAVE, THEME_B, 0.75f, 0.4f);
    s.melody(Instrument::Bell, WAVE + 4, THEME_B_ANSWER, 0.3f, 0.4f, 12);
    s.riser(WAVE + 6, 3, 0.7f);
}

// 56-72 s: the drop at the flash: main theme over everything.
void drop(Score& s) {
    s.hit(Instrument::Crash, s.barStart(DROP), 1.0f, 0.9f);
    s.hit(Instrument::Boom, s.barStart(DROP), 1.0f);
    s.padChords(DROP, 8, 0.6f, 0.5f);
    groove(s, DROP, 8, FOUR_FLOOR, FOUR_FLOOR_FILL, 1.0f);
    s.bassLine(DROP, 8, BASS_ROLL, Instrument::Bass, 0.9f, 0.5f);
    s.arpeggio(DROP, 8, ARP_CLIMB, ARP_LOW, 0.45f, 0.6f, 0.8f);
    s.melody(Instrument::Lead, DROP, THEME_A, 0.8f, 0.7f);
    s.melody(Instrument::Bell, DROP, THEME_A, 0.25f, 0.3f, 12);
}

// 72-88 s: acid bass under open hats; the hook answers in the second half.
void acid(Score& s) {
    s.hit(Instrument::Crash, s.barStart(ACID), 0.8f);
    s.padChords(ACID, 8, 0.5f, 0.3f);
    s.drums(ACID, 8, ACID_GROOVE, 1.0f);
    for (int b = ACID; b < ACID + 8; ++b) {
        // The filter opens bar by bar, then falls back for the hook.
        const float tone = b < ACID + 4 ? 0.2f + 0.15f * (b - ACID) : 0.35f + 0.1f * (b - ACID - 4);
        s.bassLine(b, 1, BASS_ACID, Instrument::Acid, 0.9f, tone);
    }
    s.arpeggio(ACID, 4, ARP_SPARSE, ARP_LOW + 12, 0.35f, 0.4f, 0.7f);
    s.melody(Instrument::Lead, ACID + 4, ACID_HOOK, 0.7f, 0.6f);
    s.melody(Instrument::Bell, ACID + 4, ACID_HOOK, 0.3f, 0.5f, 12);
}

// 88-100 s: fast breakbeat and the running lead; 100-104 s: the break.
void tunnel(Score& s) {
    s.hit(Instrument::Crash, s.barStart(TUNNEL), 0.9f);
    s.padChords(TUNNEL, 6, 0.6f, 0.45f);
    groove(s, TUNNEL, 6, TUNNEL_BEAT, BREAKBEAT_FILL, 1.0f);
    s.bassLine(TUNNEL, 6, BASS_TUNNEL, Instrument::Bass, 0.9f, 0.55f);
    s.arpeggio(TUNNEL, 6, ARP_CLIMB, ARP_LOW, 0.35f, 0.5f, 0.7f);
    s.melody(Instrument::Lead, TUNNEL, THEME_C, 0.75f, 0.65f);

    // The flash at 100 s: impact, then only pad, bells and a returning roll.
    s.hit(Instrument::Crash, s.barStart(BREAK), 1.0f, 0.9f);
    s.hit(Instrument::Boom, s.barStart(BREAK), 1.0f);
    s.padChords(BREAK, 2, 1.0f, 0.6f);
    s.bassLine(BREAK, 2, BASS_HELD, Instrument::Bass, 0.8f, 0.2f);
    s.arpeggio(BREAK, 2, ARP_CLIMB, ARP_LOW, 0.6f, 0.5f, 0.9f);
    s.melody(Instrument::Lead, BREAK, BREAK_LINE, 0.85f, 0.6f);
    s.snareRoll(s.barStart(BREAK + 1), 4, 0.3f, 0.9f);
    s.riser(BREAK, 2, 0.8f);
}

// 104-144 s: third theme, the climax with the main theme, a build to the end.
void bodies(Score& s) {
    s.hit(Instrument::Crash, s.barStart(BODIES), 1.0f, 0.8f);
    s.padChords(BODIES, 8, 0.6f, 0.45f);
    groove(s, BODIES, 8, FOUR_FLOOR, FOUR_FLOOR_FILL, 1.0f);
    s.bassLine(BODIES, 8, BASS_GALLOP, Instrument::Bass, 0.9f, 0.45f);
    s.arpeggio(BODIES, 8, ARP_WAVE, ARP_LOW + 12, 0.35f, 0.4f, 0.6f);
    s.melody(Instrument::Lead, BODIES, THEME_D, 0.8f, 0.6f);

    s.hit(Instrument::Crash, s.barStart(CLIMAX), 1.0f, 0.9f);
    s.hit(Instrument::Boom, s.barStart(CLIMAX), 0.7f);
    s.padChords(CLIMAX, 8, 0.55f, 0.55f);
    groove(s, CLIMAX, 8, FOUR_FLOOR, FOUR_FLOOR_FILL, 1.0f);
    s.bassLine(CLIMAX, 8, BASS_ROLL, Instrument::Bass, 0.9f, 0.55f);
    s.arpeggio(CLIMAX, 8, ARP_CLIMB, ARP_LOW, 0.35f, 0.7f, 0.85f);
    s.melody(Instrument::Lead, CLIMAX, THEME_A, 0.75f, 0.75f);
    s.melody(Instrument::Lead, CLIMAX, THEME_A, 0.35f, 0.4f, -12);
    s.melody(Instrument::Bell, CLIMAX, CLIMAX_BELLS, 0.35f, 0.5f);

    s.padChords(BUILD, 4, 0.8f, 0.6f);
    s.drums(BUILD, 4, KICK_ONLY, 1.0f);
    s.bassLine(BUILD, 4, BASS_DRIVE, Instrument::Bass, 0.9f, 0.4f);
    s.arpeggio(BUILD, 4, ARP_CLIMB, ARP_LOW, 0.45f, 0.5f, 1.0f);
    s.melody(Instrument::Lead, BUILD, BUILD_LINE, 0.8f, 0.7f);
    s.snareRoll(s.barStart(BUILD + 2), 8, 0.3f, 1.0f);
    s.riser(BUILD + 1, 3, 0.8f);
}

// 144 s on: impact at the flash, the theme on bells over a thinning
// accompaniment, then the cadence and the final chord ringing out.
void ending(Score& s) {
    const double t = s.barStart(END);
    s.hit(Instrument::Crash, t, 1.0f, 1.0f);
    s.hit(Instrument::Boom, t, 1.0f);
    s.hit(Instrument::Kick, t, 1.0f);
    s.padChords(END, 8, 0.8f, 0.4f);
    s.drums(END, 4, SOFT_HATS, 0.7f);
    s.bassLine(END, 8, BASS_HELD, Instrument::Bass, 0.75f, 0.2f);
    s.arpeggio(END, 8, ARP_WAVE, ARP_LOW, 0.55f, 0.5f, 0.05f);
    s.melody(Instrument::Bell, END, THEME_A, 0.6f, 0.6f, 12);

    s.padChords(CADENCE, 2, 0.8f, 0.3f);
    s.bassLine(CADENCE, 2, BASS_HELD, Instrument::Bass, 0.7f, 0.15f);
    s.melody(Instrument::Lead, CADENCE, CADENCE_LINE, 0.55f, 0.3f);
    // The last chord: held two bars, then the pad's release and the reverb;
    // a low pad note instead of the bass, whose release is too short to end on.
    s.padChord(LAST_CHORD, 4.0, 0.9f, 0.3f);
    s.add({Instrument::Pad, s.barStart(LAST_CHORD), 4.0, 45, 0.6f, 0.0f, 0.2f});
    s.hit(Instrument::Bell, s.barStart(LAST_CHORD), 0.6f, 0.8f, 81);
    s.hit(Instrument::Bell, s.barStart(LAST_CHORD) + 0.02, 0.4f, 0.8f, 76);
    s.hit(Instrument::Crash, s.barStart(LAST_CHORD), 0.4f, 0.6f);
}

}  // namespace

void composeTrack(Score& s) {
    // Bar map: the two-beat bars put the changes at 39 s and 56 s on bar lines.
    s.addBars(THEME_FILL - INTRO);
    s.addBars(1, 2);
    s.addBars(WAVE_FILL - WAVE);
    s.addBars(1, 2);
    s.addBars(LAST_CHORD + 2 - DROP);

    s.setChords(INTRO, {"Am", "F", "C", "G"});
    s.setChords(RISE, {"Am", "F", "C", "G", "Am", "F", "C", "G"});
    s.setChords(THEME, {"Am", "F", "C", "G", "Am", "F", "C", "G"});
    s.setChords(WAVE, {"F", "G", "Am", "Am", "F", "G", "E", "E", "E"});
    s.setChords(DROP, {"Am", "F", "C", "G", "Am", "F", "C", "G"});
    s.setChords(ACID, {"Am", "Am", "C", "G", "Am", "Am", "F", "E"});
    s.setChords(TUNNEL, {"Am", "G", "F", "E", "Am", "G", "Dm", "E"});
    s.setChords(BODIES, {"F", "G", "Em", "Am", "F", "G", "E", "Am"});
    s.setChords(CLIMAX, {"Am", "F", "C", "G", "Am", "F", "C", "G"});
    s.setChords(BUILD, {"F", "G", "E", "E"});
    s.setChords(END, {"Am", "F", "C", "G", "Am", "F", "C", "G", "F", "G", "Am", "Am"});

    intro(s);
    rise(s);
    theme(s);
    wave(s);
    drop(s);
    acid(s);
    tunnel(s);
    bodies(s);
    ending(s);
}

}  // namespace music
