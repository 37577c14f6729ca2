// Image.h: the pixel record of a 24-bit uncompressed BMP picture.
//
// Image holds the picture's size and two pixel buffers: rgb, 3 bytes per
// pixel (red, green, blue), bottom row first, each row left to right (the
// order a BMP file stores them in; a top-down file, one with a negative
// height, is read into the same order), and rgba, 4 bytes per pixel, the
// same pixels in reverse order with alpha 255. The reversal turns the
// picture by 180 degrees, so rgba starts with the top row, each row right to
// left; the overlay quads are laid out to show exactly that upright.
//
// load() reads the file, decode() works on bytes in memory. Both print their
// diagnostics to standard output and return false on any failure, one line
// saying why; bad input never allocates absurd amounts or reads outside the
// bytes given. A failed load leaves the record as it was: empty, or the
// previous picture whole. Needs: image/PictureBytes. No GL, no SDL.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class Image {
public:
    Image() = default;

    // Reads the BMP file at path; true when both buffers are filled.
    bool load(const std::string& path);
    // Decodes a whole BMP file held in memory; path only names it in messages.
    bool decode(std::span<const std::uint8_t> file, const std::string& path);

    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;   // width * height * 3 bytes, file order
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes, reversed, alpha 255
};
