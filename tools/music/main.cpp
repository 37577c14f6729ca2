// main.cpp: make-music, the generator of the show's music track.
//
//   make-music OUTPUT.mp3
//
// Composes the piece, renders and mixes it at 44,100 samples per second in
// stereo, encodes it and writes OUTPUT (its folder is created if needed).
// The same program always writes the same bytes: no clock, no unseeded
// randomness, no threads. Exit status 0 on success, 1 on any failure.
// Needs: Score.h, Mixer.h, Effects.h, Mp3Encoder.h.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Effects.h"
#include "Mixer.h"
#include "Mp3Encoder.h"
#include "Score.h"

namespace {

// Seconds of sound after the last bar: the final chord's release and the reverb.
constexpr double TAIL_SECONDS = 6.0;

// Writes bytes to path, creating its folder; false on any failure.
bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-music OUTPUT.mp3\n");
        return 1;
    }
    music::Score score;
    music::composeTrack(score);
    const double seconds = score.end() + TAIL_SECONDS;
    const music::StereoBuffer master = music::mixTrack(score, seconds);

    std::vector<uint8_t> mp3;
    std::string error;
    if (!music::encodeMp3(master, mp3, error)) {
        std::fprintf(stderr, "make-music: %s\n", error.c_str());
        return 1;
    }
    if (!writeFile(argv[1], mp3)) {
        std::fprintf(stderr, "make-music: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("make-music: %s, %.1f s, %zu notes, master peak %.4f, %zu bytes\n", argv[1], seconds,
                score.notes().size(), static_cast<double>(music::peakOf(master)), mp3.size());
    return 0;
}
