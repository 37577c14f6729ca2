// Schedule.h: the show's running order as pure data.
//
// Which visual part is on is decided by the frame number alone: eight flags
// switch at exact frames (a one-way chain), and four short windows of frames
// get a white flash. No GL here, so the order can be tested on its own.
#pragma once

#include <array>
#include <string_view>

// The visual parts in running order.
enum class PartId { Logo, Intro, Wave, Metaballs, Spin, Tunnels, Bodies, End };

constexpr int PART_COUNT = 8;

// Short lower-case name of a part, as the render tool prints it.
std::string_view partName(PartId part);

// First frame of each part, in running order.
constexpr std::array<int, PART_COUNT> PART_START_FRAME = {0, 400, 1950, 2800, 3600, 4400, 5200, 7200};

// The eight part flags; at most one is on.
struct PartFlags {
    bool logoOn = true;
    bool introOn = false;
    bool waveOn = false;
    bool metaballsOn = false;
    bool spinOn = false;
    bool tunnelsOn = false;
    bool bodiesOn = false;
    bool endOn = false;

    // Switches the flags when frame is exactly one of the switch frames;
    // returns true when it did. Other frames change nothing.
    bool switchAt(int frame);
    // The part drawn: the first flag that is on (Logo if none, which cannot happen).
    PartId current() const;
};

// Flash step 1..19 inside the four flash windows (strict bounds around
// frames 1200, 2800, 5000 and 7200), 0 elsewhere.
int flashStep(int frame);
