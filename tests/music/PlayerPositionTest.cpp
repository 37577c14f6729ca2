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

#include "Mp3Decoder.h"
#include "platform/audio/MusicPlayer.h"

namespace {

constexpr const char* TRACK = "data/musik.mp3";
constexpr int RATE = 44100;
constexpr uint32_t START_MS = 72000;  // frame 3600 at 20 ms a frame

double correlation(const std::vector<float>& a, size_t ai, const std::vector<float>& b, size_t bi, size_t n)
{
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t i = 0; i < n; ++i) {
        ab += static_cast<double>(a[ai + i]) * b[bi + i];
        aa += static_cast<double>(a[ai + i]) * a[ai + i];
        bb += static_cast<double>(b[bi + i]) * b[bi + i];
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

}  // namespace

TEST(MusicPlayerPosition, TrackStartedPartWayInPlaysFromThatPoint)
{
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("quorl-position-audio-" + std::to_string(getpid()) + ".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);

    platform::MusicPlayer player;
    ASSERT_TRUE(player.start(TRACK, START_MS));
    // About a second of output; bounded for a loaded machine.
    for (int i = 0; i < 100; ++i) {
        std::error_code ec;
        if (std::filesystem::file_size(out, ec) >= RATE * 4u && !ec) break;
        SDL_Delay(100);
    }
    player.close();
    std::ifstream file(out, std::ios::binary);
    const std::vector<char> raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::filesystem::remove(out);
    std::vector<float> played;
    for (size_t i = 0; i + 3 < raw.size(); i += 4) {
        int16_t left = 0;
        std::memcpy(&left, &raw[i], sizeof left);
        played.push_back(left / 32768.0f);
    }

    music::DecodedAudio decoded;
    std::string error;
    ASSERT_TRUE(music::decodeMp3(TRACK, decoded, error)) << error;
    std::vector<float> track;
    for (size_t i = 0; i < decoded.frames(); ++i) track.push_back(decoded.samples[i * 2]);

    // The first audible stretch of the recording, found in the track within
    // a second either side of the start position.
    size_t playedStart = 0;
    while (playedStart < played.size() && std::fabs(played[playedStart]) < 0.002f) ++playedStart;
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
