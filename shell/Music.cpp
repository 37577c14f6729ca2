// Music.cpp: the music start of the loading step.
#include "shell/Music.h"

#include "common/LoadTimes.h"
#include "platform/Platform.h"

void startMusic(platform::Platform& platform, uint32_t positionMs)
{
    const LoadTimer timer(LoadKind::Music);
    // A failure is not reported: the show goes on silent.
    platform.startMusic("data/musik.mp3", positionMs);
}
