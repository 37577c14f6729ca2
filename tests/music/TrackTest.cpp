// TrackTest.cpp: the built music track, data/musik.mp3, and its generator.
//
// Decodes the track the build made and checks what a listener would notice:
// length and format, clipping, silent stretches, jumps in loudness between
// the show's parts; then runs the generator twice into a temporary folder
// and compares the bytes. Needs: the music target built first (CMake does
// that), libmpg123 through the music_decode library.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Mp3Decoder.h"

namespace {

constexpr const char* TRACK = "data/musik.mp3";
constexpr double MAX_PEAK = 0.8913;  // -1 dBFS

// Decoded once for all cases of this file.
const music::DecodedAudio& track() {
    static const music::DecodedAudio audio = [] {
        music::DecodedAudio a;
        std::string error;
        EXPECT_TRUE(music::decodeMp3(TRACK, a, error)) << error;
        return a;
    }();
    return audio;
}

// RMS level in dBFS of [from, to) seconds, all channels.
double rmsDb(const music::DecodedAudio& a, double from, double to) {
    const size_t first = static_cast<size_t>(from * a.rate) * a.channels;
    const size_t last = std::min(a.samples.size(), static_cast<size_t>(to * a.rate) * a.channels);
    if (last <= first) return -200.0;
    double sum = 0.0;
    for (size_t i = first; i < last; ++i) sum += static_cast<double>(a.samples[i]) * a.samples[i];
    return 10.0 * std::log10(sum / static_cast<double>(last - first) + 1e-20);
}

std::vector<char> readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Runs the generator with output in path, optionally with a glibc tunable
// set; true when it exited with status 0.
bool runGenerator(const std::filesystem::path& path, const char* tunables) {
    const pid_t child = fork();
    if (child == 0) {
        if (tunables != nullptr) setenv("GLIBC_TUNABLES", tunables, 1);
        execl(MAKE_MUSIC, MAKE_MUSIC, path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The show's parts as the music follows them, in seconds.
struct Span {
    const char* name;
    double from, to;
};
constexpr Span BODY_PARTS[] = {{"intro", 8, 24},     {"intro flash", 24, 39}, {"wave", 39, 56},
                               {"metaballs", 56, 72}, {"spin", 72, 88},        {"tunnels", 88, 104},
                               {"bodies", 104, 144}};

}  // namespace

TEST(MusicTrack, TooShortOrWrongFormatForThePlayer) {
    const music::DecodedAudio& a = track();
    EXPECT_EQ(a.rate, 44100);
    EXPECT_EQ(a.channels, 2);
    EXPECT_GE(a.seconds(), 160.0);
    // The ending has to follow the end picture at 144 s, not run on for minutes.
    EXPECT_LE(a.seconds(), 185.0);
}

TEST(MusicTrack, ClipsAboveMinusOneDecibel) {
    const music::DecodedAudio& a = track();
    ASSERT_FALSE(a.samples.empty());
    float peak = 0.0f;
    for (const float s : a.samples) peak = std::max(peak, std::fabs(s));
    EXPECT_LE(peak, MAX_PEAK);
    EXPECT_GT(peak, 0.3f) << "track far quieter than intended";
}

TEST(MusicTrack, SilentOrJumpingLoudnessBetweenParts) {
    const music::DecodedAudio& a = track();
    ASSERT_GE(a.seconds(), 160.0);
    // Something plays from the first second to the end picture and beyond.
    EXPECT_GT(rmsDb(a, 0.0, 1.0), -50.0) << "silent start: the logo appears at once";
    EXPECT_GT(rmsDb(a, 0.0, 8.0), -30.0);
    EXPECT_GT(rmsDb(a, 144.0, 160.0), -30.0);
    double sum = 0.0;
    for (const Span& part : BODY_PARTS) sum += rmsDb(a, part.from, part.to);
    const double mean = sum / std::size(BODY_PARTS);
    for (const Span& part : BODY_PARTS) {
        EXPECT_NEAR(rmsDb(a, part.from, part.to), mean, 3.0) << part.name;
        // No stretch of two seconds inside a part drops out.
        for (double t = part.from; t + 2.0 <= part.to; t += 2.0) {
            EXPECT_GT(rmsDb(a, t, t + 2.0), mean - 10.0) << part.name << " at " << t << " s";
        }
    }
}

TEST(MusicTrack, CutOffInsteadOfEnding) {
    const music::DecodedAudio& a = track();
    ASSERT_GE(a.seconds(), 160.0);
    // The final chord rings out, then the last half second is silence.
    EXPECT_GT(rmsDb(a, 164.0, 166.0), -40.0);
    EXPECT_LT(rmsDb(a, a.seconds() - 0.5, a.seconds()), -60.0);
}

TEST(MusicGenerator, OutputDiffersBetweenRunsOrProcessors) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorl-music-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    // Second run with the fused multiply-add maths routines switched off:
    // the bytes must not depend on which ones the processor offers.
    ASSERT_TRUE(runGenerator(folder / "first.mp3", nullptr));
    ASSERT_TRUE(runGenerator(folder / "second.mp3", "glibc.cpu.hwcaps=-AVX2,-FMA,-FMA4"));
    const std::vector<char> first = readBytes(folder / "first.mp3");
    const std::vector<char> second = readBytes(folder / "second.mp3");
    const std::vector<char> built = readBytes(TRACK);
    std::filesystem::remove_all(folder);
    ASSERT_GT(first.size(), 100000u);
    EXPECT_TRUE(first == second) << "two runs of the generator wrote different bytes";
    EXPECT_TRUE(first == built) << "the build's track differs from a fresh run";
}
