// MusicTrackTest.cpp: the capture's music source: the cut lands on the exact
// sample, and a missing, broken or short track turns into silence, never a
// hang or a read past the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "MusicTrack.h"

namespace fs = std::filesystem;

namespace {

const char* const TRACK = "data/musik.mp3";  // the build's track; tests run in the build folder
constexpr int RATE = MusicTrack::SAMPLE_RATE;

struct Planes {
    std::vector<float> left;
    std::vector<float> right;
};

Planes readSamples(MusicTrack& track, int count)
{
    Planes planes{std::vector<float>(count, 1.0f), std::vector<float>(count, 1.0f)};
    track.read(planes.left.data(), planes.right.data(), count);
    return planes;
}

float loudest(const Planes& planes)
{
    float peak = 0.0f;
    for (size_t i = 0; i < planes.left.size(); ++i) {
        peak = std::max({peak, std::abs(planes.left[i]), std::abs(planes.right[i])});
    }
    return peak;
}

fs::path scratch(const std::string& name)
{
    const fs::path path = fs::temp_directory_path() / ("quorl-capture-music-" + name);
    fs::remove(path);
    return path;
}

}  // namespace

TEST(MusicTrack, SkippingLandsOnTheSameSampleAsReadingThrough)
{
    MusicTrack through;
    MusicTrack skipped;
    std::string error;
    ASSERT_TRUE(through.open(TRACK, error)) << error;
    ASSERT_TRUE(skipped.open(TRACK, error)) << error;
    // A cut between two decoder frames and off any 20 ms boundary.
    const int cut = 9 * RATE + 1234;
    Planes whole{{}, {}};
    for (int read = 0; read < cut + RATE; read += 882) {
        const Planes part = readSamples(through, 882);
        whole.left.insert(whole.left.end(), part.left.begin(), part.left.end());
        whole.right.insert(whole.right.end(), part.right.begin(), part.right.end());
    }
    skipped.skip(cut);
    const Planes after = readSamples(skipped, RATE);
    ASSERT_GT(loudest(after), 0.01f) << "the music is playing at 9 s";
    for (int i = 0; i < RATE; ++i) {
        ASSERT_EQ(after.left[i], whole.left[cut + i]) << i;
        ASSERT_EQ(after.right[i], whole.right[cut + i]) << i;
    }
}

TEST(MusicTrack, LengthIsTheWholeTrackAndAfterItComesSilence)
{
    MusicTrack track;
    std::string error;
    ASSERT_TRUE(track.open(TRACK, error)) << error;
    // The track lasts 174 s.
    EXPECT_NEAR(track.lengthSamples() / double(RATE), 174.0, 0.1);
    track.skip(track.lengthSamples() + 1000);
    EXPECT_EQ(loudest(readSamples(track, 4096)), 0.0f);
    EXPECT_TRUE(track.warning().empty()) << track.warning();
}

TEST(MusicTrack, MissingOrUnreadableFileFailsWithItsNameAndReadsSilence)
{
    const fs::path text = scratch("text.mp3");
    std::ofstream(text) << "this is not music\n";
    for (const std::string& path : {std::string("/nonexistent/musik.mp3"), text.string()}) {
        MusicTrack track;
        std::string error;
        EXPECT_FALSE(track.open(path, error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_FALSE(track.isOpen());
        track.skip(RATE);
        EXPECT_EQ(loudest(readSamples(track, 2048)), 0.0f) << path;
    }
}

TEST(MusicTrack, TruncatedTrackPlaysWhatItHasThenSilence)
{
    // The first 100 KB of the track: about four seconds of sound.
    const fs::path cut = scratch("cut.mp3");
    {
        std::ifstream in(TRACK, std::ios::binary);
        std::vector<char> bytes(100000);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_EQ(in.gcount(), 100000);
        std::ofstream(cut, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    MusicTrack track;
    std::string error;
    ASSERT_TRUE(track.open(cut.string(), error)) << error;
    track.skip(2 * RATE);
    EXPECT_GT(loudest(readSamples(track, RATE)), 0.001f);
    // Far beyond the end: each read returns, and returns silence.
    track.skip(10 * RATE);
    EXPECT_EQ(loudest(readSamples(track, RATE)), 0.0f);
}
