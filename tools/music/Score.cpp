// Score.cpp: bar map, chord names and the pattern helpers of the sequencer.
//
// Patterns are parsed here, once per bar they are used in; the strings are
// the generator's own and malformed tokens are simply skipped.
// Needs: Score.h.
#include "Score.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>

namespace music {
namespace {

// Fixed seed of the small random variations in drum velocities.
constexpr uint64_t HUMANISE_SEED = 0x51A7E5EEDull;

// Splits text at blanks.
std::vector<std::string_view> tokens(std::string_view text) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        const size_t from = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i > from) out.push_back(text.substr(from, i - from));
    }
    return out;
}

// Pitch class of a note letter with an optional # or b after it; -1 if none.
int pitchClass(std::string_view name, size_t& used) {
    constexpr int LETTER_PC[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    used = 0;
    if (name.empty()) return -1;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (letter < 'A' || letter > 'G') return -1;
    int pc = LETTER_PC[letter - 'A'];
    used = 1;
    if (name.size() > 1 && (name[1] == '#' || name[1] == 'b')) {
        pc += name[1] == '#' ? 1 : -1;
        used = 2;
    }
    return (pc + 12) % 12;
}

// Signed integer token, or fallback when it is not one.
int parseInt(std::string_view text, int fallback) {
    if (text.empty()) return fallback;
    int sign = 1;
    size_t i = 0;
    if (text[0] == '-' || text[0] == '+') {
        sign = text[0] == '-' ? -1 : 1;
        i = 1;
    }
    if (i >= text.size()) return fallback;
    int value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return fallback;
        value = value * 10 + (text[i] - '0');
    }
    return sign * value;
}

// Velocity of a drum row character.
float drumVelocity(char c) {
    return c == 'x' ? 1.0f : c == 'o' ? 0.55f : 0.0f;
}

}  // namespace

Chord Chord::parse(std::string_view name) {
    Chord chord;
    size_t used = 0;
    const int pc = pitchClass(name, used);
    if (pc < 0) return chord;
    chord.root = pc;
    const std::string_view rest = name.substr(used);
    const bool minor = !rest.empty() && rest[0] == 'm' && rest.substr(0, 3) != "maj";
    int third = minor ? 3 : 4;
    if (rest.find("sus4") != std::string_view::npos) third = 5;
    int top = 12;
    if (rest.find("maj7") != std::string_view::npos) {
        top = 11;
    } else if (rest.find('7') != std::string_view::npos) {
        top = 10;
    }
    chord.intervals = {0, third, 7, top};
    return chord;
}

Score::Score() : humanise_(HUMANISE_SEED) {}

void Score::addBars(int count, int beats) {
    for (int i = 0; i < count; ++i) {
        barStarts_.push_back(end());
        barBeats_.push_back(beats);
        chords_.push_back(Chord{});
    }
}

double Score::barStart(int bar) const {
    if (bar < 0) return 0.0;
    if (bar >= barCount()) return end();
    return barStarts_[bar];
}

int Score::barBeats(int bar) const { return bar >= 0 && bar < barCount() ? barBeats_[bar] : 4; }

double Score::end() const {
    return barStarts_.empty() ? 0.0 : barStarts_.back() + barBeats_.back() * BEAT_SECONDS;
}

void Score::setChords(int bar, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (bar >= 0 && bar < barCount()) chords_[bar] = Chord::parse(name);
        ++bar;
    }
}

const Chord& Score::chordAt(int bar) const {
    static const Chord fallback;
    return bar >= 0 && bar < barCount() ? chords_[bar] : fallback;
}

void Score::drums(int bar, int count, const DrumPattern& pattern, float level) {
    struct Row {
        const char* steps;
        Instrument instrument;
        float pan;
    };
    const Row rows[] = {{pattern.kick, Instrument::Kick, 0.0f},
                        {pattern.snare, Instrument::Snare, 0.05f},
                        {pattern.clap, Instrument::Clap, -0.1f},
                        {pattern.hat, Instrument::ClosedHat, 0.3f},
                        {pattern.openHat, Instrument::OpenHat, -0.25f}};
    for (int b = bar; b < bar + count && b < barCount(); ++b) {
        const int steps = barBeats(b) * 4;
        for (const Row& row : rows) {
            if (row.steps == nullptr) continue;
            const std::string_view text(row.steps);
            for (int s = 0; s < steps && s < static_cast<int>(text.size()); ++s) {
                const float v = drumVelocity(text[s]);
                if (v <= 0.0f) continue;
                // Hats breathe a little so a long run of them does not sound stamped.
                const bool hat = row.instrument == Instrument::ClosedHat;
                const float jitter = hat ? 0.85f + 0.15f * humanise_.uniform() : 1.0f;
                const float tone = hat ? 0.3f + 0.5f * humanise_.uniform() : 0.5f;
                add({row.instrument, barStart(b) + s * STEP_SECONDS, STEP_SECONDS, 60, v * level * jitter, row.pan,
                     tone});
            }
        }
    }
}

void Score::bassLine(int bar, int count, std::string_view steps, Instrument instrument, float velocity,
                     float tone) {
    const std::vector<std::string_view> list = tokens(steps);
    if (list.empty()) return;
    for (int b = bar; b < bar + count && b < barCount(); ++b) {
        const int root = 33 + (chordAt(b).root - 9 + 12) % 12;  // A1 .. G#2
        const int stepCount = barBeats(b) * 4;
        size_t open = SIZE_MAX;  // index of the note a "." lengthens
        for (int s = 0; s < stepCount; ++s) {
            const std::string_view token = list[s % list.size()];
            if (token == ".") {
                if (open != SIZE_MAX) notes_[open].length += STEP_SECONDS;
                continue;
            }
            open = SIZE_MAX;
            if (token == "-") continue;
            // Accented steps (a trailing !) hit harder and brighter.
            const bool accent = token.back() == '!';
            const int offset = parseInt(accent ? token.substr(0, token.size() - 1) : token, 0);
            add({instrument, barStart(b) + s * STEP_SECONDS, STEP_SECONDS * 0.9, root + offset,
                 velocity * (accent ? 1.0f : 0.8f), 0.0f, accent ? std::min(1.0f, tone + 0.3f) : tone});
            open = notes_.size() - 1;
        }
    }
}

void Score::arpeggio(int bar, int count, std::string_view steps, int lowestRoot, float velocity, float toneFrom,
                     float toneTo) {
    const std::vector<std::string_view> list = tokens(steps);
    if (list.empty() || count <= 0) return;
    int stepIndex = 0;
    for (int b = bar; b < bar + count && b < barCount(); ++b) {
        const Chord& chord = chordAt(b);
        const int root = lowestRoot + (chord.root - lowestRoot % 12 + 24) % 12;
        // Chord tones over two octaves: 1 3 5 top, then the same an octave up.
        int ladder[8];
        for (int k = 0; k < 8; ++k) ladder[k] = root + chord.intervals[k % 4] + (k / 4) * 12;
        const float tone = toneFrom + (toneTo - toneFrom) * static_cast<float>(b - bar) / static_cast<float>(count);
        for (int s = 0; s < barBeats(b) * 4; ++s, ++stepIndex) {
            const std::string_view token = list[stepIndex % list.size()];
            if (token == "." || token == "-") continue;
            const int k = parseInt(token, -1);
            if (k < 0 || k > 7) continue;
            // Alternate sides so the ping-pong of the delay has something to answer.
            const float pan = (stepIndex % 2 == 0) ? -0.35f : 0.35f;
            add({Instrument::Arp, barStart(b) + s * STEP_SECONDS, STEP_SECONDS * 0.8, ladder[k], velocity, pan,
                 tone});
        }
    }
}

void Score::padChords(int bar, int count, float velocity, float tone) {
    for (int b = bar; b < bar + count && b < barCount(); ++b) padChord(b, barBeats(b) * BEAT_SECONDS, velocity, tone);
}

void Score::padChord(int bar, double length, float velocity, float tone) {
    const Chord& chord = chordAt(bar);
    for (int k = 0; k < 4; ++k) {
        // Close voicing between G3 (55) and F#4 (66); the octave tone
        // lands on the root again, so it goes an octave up instead.
        const int pc = (chord.root + chord.intervals[k]) % 12;
        int pitch = 55 + (pc - 55 % 12 + 12) % 12;
        if (k == 3 && chord.intervals[3] == 12) pitch += 12;
        add({Instrument::Pad, barStart(bar), length, pitch, velocity, 0.0f, tone});
    }
}

double Score::melody(Instrument instrument, int bar, std::string_view line, float velocity, float tone,
                     int transpose) {
    double t = barStart(bar);
    for (const std::string_view token : tokens(line)) {
        const size_t colon = token.find(':');
        if (colon == std::string_view::npos) continue;
        const int steps = parseInt(token.substr(colon + 1), 0);
        const std::string_view name = token.substr(0, colon);
        const double length = steps * STEP_SECONDS;
        size_t used = 0;
        const int pc = pitchClass(name, used);
        if (pc >= 0 && name != "r") {
            const int octave = parseInt(name.substr(used), 4);
            // A short gap before the next note keeps the phrasing articulate.
            add({instrument, t, length - 0.03, 12 * (octave + 1) + pc + transpose, velocity, 0.0f, tone});
        }
        t += length;
    }
    return t;
}

void Score::hit(Instrument instrument, double t, float velocity, float tone, int pitch) {
    add({instrument, t, STEP_SECONDS, pitch, velocity, 0.0f, tone});
}

void Score::riser(int bar, int count, float velocity) {
    const double from = barStart(bar);
    add({Instrument::Riser, from, barStart(bar + count) - from, 60, velocity, 0.0f, 0.5f});
}

void Score::snareRoll(double t, int beats, float fromVelocity, float toVelocity) {
    // Eighths in the first half, sixteenths in the second.
    const int steps = beats * 4;
    for (int s = 0; s < steps; ++s) {
        const bool firstHalf = s < steps / 2;
        if (firstHalf && s % 2 == 1) continue;
        const float u = static_cast<float>(s) / static_cast<float>(steps);
        add({Instrument::Snare, t + s * STEP_SECONDS, STEP_SECONDS, 60, fromVelocity + (toVelocity - fromVelocity) * u,
             0.0f, 0.3f + 0.5f * u});
    }
}

}  // namespace music
