// DiskAudio.h: what SDL's disk audio driver recorded, for the player tests
// that compare it with the decoded track (44.1 kHz, 16-bit stereo).
#pragma once

#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

constexpr int RATE = 44100;

// Normalised correlation of a[ai..ai+n) with b[bi..bi+n), mono.
inline double correlation(const std::vector<float>& a, size_t ai, const std::vector<float>& b, size_t bi, size_t n)
{
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t i = 0; i < n; ++i) {
        ab += static_cast<double>(a[ai + i]) * b[bi + i];
        aa += static_cast<double>(a[ai + i]) * a[ai + i];
        bb += static_cast<double>(b[bi + i]) * b[bi + i];
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// First index whose magnitude exceeds level, or the size when none does.
inline size_t firstAbove(const std::vector<float>& a, float level)
{
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::fabs(a[i]) > level) return i;
    }
    return a.size();
}

// Waits until the driver has written the given seconds of output, or ten
// seconds have passed (a loaded machine plays slower than real time).
inline void waitForOutput(const std::filesystem::path& path, double seconds)
{
    const uintmax_t bytes = static_cast<uintmax_t>(seconds * RATE) * 4;
    for (int i = 0; i < 100; ++i) {
        std::error_code ec;
        if (std::filesystem::file_size(path, ec) >= bytes && !ec) return;
        SDL_Delay(100);
    }
}

// The left channel of the recording at path, which is then removed.
inline std::vector<float> takeLeftChannel(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    std::filesystem::remove(path);
    std::vector<float> left;
    for (size_t i = 0; i + 3 < raw.size(); i += 4) {
        int16_t sample = 0;
        std::memcpy(&sample, &raw[i], sizeof sample);
        left.push_back(sample / 32768.0f);
    }
    return left;
}
