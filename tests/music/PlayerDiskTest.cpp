// PlayerDiskTest.cpp: the music player really plays the track, once.
//
// SDL's disk audio driver writes what would go to the loudspeaker into a
// file, at about the speed of real playback. The test plays for two
// seconds, calls start again part way (as a rebuilt window does), and then
// compares the file with the decoded track: same waveform, same level, no
// jump back to the start, no second copy on top. Own process: the driver is
// chosen before SDL's audio starts.
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

double rms(const std::vector<float>& a, size_t from, size_t n) {
    double sum = 0.0;
    for (size_t i = from; i < from + n; ++i) sum += static_cast<double>(a[i]) * a[i];
    return std::sqrt(sum / static_cast<double>(n));
}

}  // namespace

TEST(MusicPlayerDisk, RestartsOrDoublesTheTrackOnSecondStart) {
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("quorl-disk-audio-" + std::to_string(getpid()) + ".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);

    platform::MusicPlayer player;
    ASSERT_TRUE(player.start(TRACK));
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(frequency, RATE);
    EXPECT_EQ(channels, 2);
    ASSERT_EQ(format, AUDIO_S16SYS);

    waitForOutput(out, 0.7);
    // What a rebuilt window does: start again while the track plays.
    EXPECT_TRUE(player.start(TRACK));
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    waitForOutput(out, 2.2);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    player.close();

    const std::vector<float> played = takeLeftChannel(out);
    ASSERT_GT(played.size(), static_cast<size_t>(RATE)) << "less than a second of output";

    music::DecodedAudio decoded;
    std::string error;
    ASSERT_TRUE(music::decodeMp3(TRACK, decoded, error)) << error;
    std::vector<float> track;
    for (size_t i = 0; i < decoded.frames() && i < 4u * RATE; ++i) track.push_back(decoded.samples[i * 2]);

    // Align the first audible sample of each, then refine the offset by the
    // best waveform match over half a second.
    const size_t playedStart = firstAbove(played, 0.002f);
    const size_t trackStart = firstAbove(track, 0.002f);
    ASSERT_LT(playedStart, played.size()) << "the output is silence";
    ASSERT_LT(trackStart, track.size());
    const size_t window = RATE / 2;
    const size_t search = 2000;
    ASSERT_GT(played.size(), playedStart + search + RATE + RATE / 4);
    ASSERT_GT(trackStart, 0u);
    size_t bestTrackAt = trackStart;
    double best = -1.0;
    const size_t low = trackStart > search ? trackStart - search : 0;
    for (size_t t = low; t < trackStart + search; ++t) {
        const double c = correlation(played, playedStart + search, track, t + search, window);
        if (c > best) {
            best = c;
            bestTrackAt = t;
        }
    }
    EXPECT_GT(best, 0.9) << "the output does not match the track's start";

    // Over the whole recording after alignment, including the moment of the
    // second start, the output still follows the track at the same offset
    // and the same level: a restart would break the match, a second copy
    // would raise the level.
    const size_t length = std::min(played.size() - playedStart, track.size() - bestTrackAt) - search;
    for (size_t from = 0; from + window <= length; from += window) {
        EXPECT_GT(correlation(played, playedStart + from, track, bestTrackAt + from, window), 0.9)
            << "mismatch at " << from / static_cast<double>(RATE) << " s into the track";
        const double ratio = rms(played, playedStart + from, window) / rms(track, bestTrackAt + from, window);
        EXPECT_NEAR(ratio, 1.0, 0.2) << "level off at " << from / static_cast<double>(RATE) << " s";
    }
}
