// PngFile.h: writing an 8-bit RGB picture as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes width x height RGB pixels, top row first; false with a printed
// message when the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
