// PictureFiles.h: small BMP and JPEG files made by the tests themselves,
// through the shared writers (tools/writers), and what the image tests do
// with them.
//
// Pictures are described top row first, each row left to right, 3 bytes per
// pixel (red, green, blue) or 1 byte per pixel for grey, the way a person
// reads them; the writers turn that into each format's own storage order.
// JPEGs are compressed at quality 100 without chroma subsampling, so flat
// colours survive within a few levels.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tools/writers/PictureWriters.h"

namespace testpictures {

using Bytes = writers::Bytes;

// A 24-bit BMP of width x height from top-first RGB pixels, laid out as the
// show's own files are: 40-byte information header, pixels at byte 54,
// bottom row first, rows padded to 4 bytes.
Bytes bmp24(int width, int height, const Bytes& topFirstRgb);

// Layout of a BMP beyond its pixels, for the files other programs write.
using writers::BmpLayout;
// A 24-bit BMP with the given layout. Row padding and the gap are filled
// with bytes unlike any test pixel, so reading them as pixels shows.
Bytes bmpLaidOut(int width, int height, const Bytes& topFirstRgb, const BmpLayout& layout);

// The top-first RGB pixels reordered bottom row first: the order of Image::rgb.
Bytes bottomFirst(int width, int height, const Bytes& topFirstRgb);
// Just a BMP header with the given fields, followed by pixelBytes zero bytes.
Bytes bmpHeader(std::int32_t width, std::int32_t height, std::uint16_t planes, std::uint16_t bpp,
                std::size_t pixelBytes);

// A baseline JPEG; components 1 (grey), 3 (RGB) or 4 (CMYK).
Bytes jpeg(int width, int height, int components, const Bytes& topFirstPixels);

// Top-first RGB picture of four flat quadrants.
Bytes quadrants(int side, const Bytes& topLeft, const Bytes& topRight, const Bytes& bottomLeft,
                const Bytes& bottomRight);

// Writes bytes to a fresh file in the test temporary directory; returns its path.
std::string writeTemp(const std::string& name, const Bytes& bytes);

// True when each of the 3 colour bytes at data[offset..] lies within
// tolerance of want.
bool near(const std::uint8_t* data, const Bytes& want, int tolerance);

// Success when the captured output contains text; shows the output otherwise.
::testing::AssertionResult printed(const std::string& output, const std::string& text);

}  // namespace testpictures
