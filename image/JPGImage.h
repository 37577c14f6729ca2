// JPGImage.h: the pixel record of a JPEG picture.
//
// JPGImage ends with the same four fields as the BMP reader's Image: width,
// height, rgb (3 bytes per pixel, red, green, blue) and rgba (the same
// pixels in reverse order with alpha 255). Decoding is done by libjpeg.
//
// Row order. The rows of rgb run from the bottom of the picture to the top,
// each row left to right: the order of a BMP file's pixel data. JPEG files
// (and those the content generator writes) store the top row first, so the
// decoder writes each scan line from the bottom of the buffer upward. That
// one choice makes every use of a JPEG upright and unmirrored:
//  - rgba is then exactly what the BMP reader makes: top row first, each row
//    right to left. The overlay quad maps s = 1 to the left edge and t = 0 to
//    the top, so it shows that buffer as the picture looks; the intro
//    pictures, the tunnel overlay and the inner tube (all uploaded from rgba)
//    match the BMP pictures drawn the same way.
//  - rgb is uploaded unreversed for the wave's sphere map. Sphere-map
//    coordinates on a surface facing the viewer grow to the right (s) and
//    upward (t), and the first row of a texture is t = 0, so a bottom-first,
//    left-to-right buffer is the one that stands upright there.
//
// rgb is allocated with each row rounded up to a multiple of 4 bytes, but
// the pixels are stored and used packed (width * 3 bytes a row), so every
// width decodes unskewed; the rounding only leaves spare bytes at the end.
//
// load() reads the file, decode() works on bytes in memory. A missing,
// corrupt or cut-short file prints a message and returns false; memory
// failures also show a "MALLOC ERROR" message box. A failed load leaves the
// record as it was: empty, or the previous picture whole. Needs: libjpeg,
// image/PictureBytes, image/Message. No GL, no SDL.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class JPGImage {
public:
    JPGImage() = default;

    // Reads the JPEG file at path; true when both buffers are filled.
    bool load(const std::string& path);
    // Decodes a whole JPEG file held in memory; path only names it in messages.
    bool decode(std::span<const std::uint8_t> file, const std::string& path);

    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;   // rows bottom first, packed; allocated with 4-byte-rounded rows
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes, reversed, alpha 255
};
