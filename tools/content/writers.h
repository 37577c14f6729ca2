// writers.h: the file formats the show reads, and PNG for previews.
//
// BMP: 24-bit, uncompressed, 54-byte header, rows bottom first and unpadded
// (widths are multiples of 4, so rows need no padding anyway).
// JPEG: baseline, 3 components (YCbCr, no chroma subsampling), fixed quality,
// written top row first like every ordinary JPEG.
// All writers build the bytes in memory first so tests and the repeat check
// can compare them; writeFile then puts them on disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace content {

inline constexpr int JPEG_QUALITY = 92;

std::vector<uint8_t> encodeBmp(const Canvas& picture, uint32_t ditherSeed);
std::vector<uint8_t> encodeJpeg(const Canvas& picture, uint32_t ditherSeed);
std::vector<uint8_t> encodePng(const Canvas& picture, uint32_t ditherSeed);

// Write bytes to path; false (with a message on stderr) when that fails.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace content
