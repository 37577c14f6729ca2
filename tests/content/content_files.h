// content_files.h: the generated files the show loads, and a file reader for
// the content tests (which run in the build directory, beside data/).
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace content_test {

inline const std::array<const char*, 17> PICTURES = {
    "logga.bmp",  "background.bmp", "intro1.jpg",      "intro2.jpg",  "intro3.jpg",   "intro4.jpg",
    "intro5.jpg", "intro_wave.jpg", "theend.jpg",      "gegga1.bmp",  "tunnel2.jpg",  "tunnel-l.jpg",
    "Chrome-test.bmp", "floor2.bmp", "space.bmp",      "theend.bmp",  "box3.bmp"};
inline const std::array<const char*, 3> MODELS = {"allt.3ds", "fish.3ds", "boxtex.3ds"};

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<uint8_t> readData(const std::string& name) { return readFile("data/" + name); }

inline bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

inline uint32_t le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
inline uint32_t le32(const std::vector<uint8_t>& b, size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }

}  // namespace content_test
