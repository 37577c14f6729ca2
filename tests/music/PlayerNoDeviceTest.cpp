// PlayerNoDeviceTest.cpp: without a usable audio device the player reports
// false and the show goes on silent. SDL is told to use a driver that does
// not exist, which fails the way a machine without sound does. Own process:
// the driver is chosen before SDL's audio starts.
// Needs: quorl_audio.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/audio/MusicPlayer.h"

TEST(MusicPlayerNoDevice, CrashesOrClaimsToPlayWithoutDevice) {
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    platform::MusicPlayer player;
    EXPECT_FALSE(player.start("data/musik.mp3"));
    EXPECT_FALSE(player.started());
    // The show calls again after every window rebuild; still no crash, still false.
    EXPECT_FALSE(player.start("data/musik.mp3"));
    EXPECT_FALSE(player.started());
}
