// PlayerPositionTest.cpp: a track started part way in plays from that point.
//
// A show started at a later frame hands the player a position in
// milliseconds. SDL's disk audio driver records what would be heard; the
// recording must match the decoded track at that position, not at its
// start and not at a position read in the wrong unit (which would be past
// the end: silence). Own process: the driver is chosen before SDL's audio
// starts.
// Needs: quorl_audio, music_decode, data/musik.mp3 built.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "DiskAudio.h"
#include "Mp3Decoder.h"
#include "platform/audio/MusicPlayer.h"

namespace {

constexpr const char* TRACK = "data/musik.mp3";
constexpr uint32_t START_MS = 72000;  // frame 3600 at 20 ms a frame

}  // namespace

TEST(MusicPlayerPosition, TrackStartedPartWayInPlaysFromThatPoint)
{
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("quorl-position-audio-" + std::to_string(getpid()) + ".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);

    platform::MusicPlayer player;
    ASSERT_TRUE(player.start(TRACK, START_MS));
    waitForOutput(out, 1.0);
    player.close();
    const std::vector<float> played = takeLeftChannel(out);

    music::DecodedAudio decoded;
    std::string error;
    ASSERT_TRUE(music::decodeMp3(TRACK, decoded, error)) << error;
    std::vector<float> track;
    for (size_t i = 0; i < decoded.frames(); ++i) track.push_back(decoded.samples[i * 2]);

    // The first audible stretch of the recording, found in the track within
    // a second either side of the start position.
    const size_t playedStart = firstAbove(played, 0.002f);
    const size_t window = RATE / 4;
    ASSERT_GT(played.size(), playedStart + window) << "the recording is silence";
    const size_t expected = static_cast<size_t>(START_MS) * RATE / 1000;
    ASSERT_GT(track.size(), expected + 2 * RATE);
    size_t bestAt = 0;
    double best = -1.0;
    for (size_t t = expected - RATE; t < expected + RATE; t += 4) {
        const double c = correlation(played, playedStart, track, t, window);
        if (c > best) {
            best = c;
            bestAt = t;
        }
    }
    EXPECT_GT(best, 0.9) << "the recording is not the track near " << START_MS << " ms";
    const double offsetMs = (static_cast<double>(bestAt) - static_cast<double>(expected)) * 1000.0 / RATE;
    // Leading silence of the device shifts the start a little later, never earlier.
    EXPECT_GT(offsetMs, -60.0);
    EXPECT_LT(offsetMs, 150.0);
}
