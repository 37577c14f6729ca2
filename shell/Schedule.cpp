// Schedule.cpp: part switches and flash windows of the running order.
#include "shell/Schedule.h"

std::string_view partName(PartId part)
{
    static constexpr std::array<std::string_view, PART_COUNT> NAMES = {
        "logo", "intro", "wave", "metaballs", "spin", "tunnels", "bodies", "end"};
    return NAMES[static_cast<int>(part)];
}

bool PartFlags::switchAt(int frame)
{
    // Each switch turns the previous part off and the next one on, in one
    // frame only, so the chain never goes back.
    switch (frame) {
    case 400: logoOn = false; introOn = true; return true;
    case 1950: introOn = false; waveOn = true; return true;
    case 2800: waveOn = false; metaballsOn = true; return true;
    case 3600: metaballsOn = false; spinOn = true; return true;
    case 4400: spinOn = false; tunnelsOn = true; return true;
    case 5200: tunnelsOn = false; bodiesOn = true; return true;
    case 7200: bodiesOn = false; endOn = true; return true;
    default: return false;
    }
}

PartId PartFlags::current() const
{
    if (logoOn) return PartId::Logo;
    if (introOn) return PartId::Intro;
    if (waveOn) return PartId::Wave;
    if (metaballsOn) return PartId::Metaballs;
    if (spinOn) return PartId::Spin;
    if (tunnelsOn) return PartId::Tunnels;
    if (bodiesOn) return PartId::Bodies;
    if (endOn) return PartId::End;
    return PartId::Logo;
}

int flashStep(int frame)
{
    // Windows are open on both ends: frame 1190 and 1210 get no flash.
    static constexpr std::array<int, 4> WINDOW_BEFORE = {1190, 2790, 4990, 7190};
    for (const int before : WINDOW_BEFORE) {
        if (before < frame && frame < before + 20) return frame - before;
    }
    return 0;
}
