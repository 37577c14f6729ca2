// PictureWriters.h: the one BMP and JPEG writer, shared by the content
// generator (the show's pictures) and the tests (small pictures of their
// own, and BMPs laid out as other programs write them).
//
// Pictures are given top row first, each row left to right, 3 bytes per
// pixel (red, green, blue; 1 for grey, 4 for CMYK JPEGs), the way a person
// reads them; each writer turns that into its format's own storage order.
// Both build the file in memory, so callers can compare bytes before any
// file is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace writers {

using Bytes = std::vector<std::uint8_t>;

// Layout of a 24-bit BMP beyond its pixels. The default is the plain layout
// of the show's own files: 40-byte information header, pixels at byte 54,
// bottom row first.
struct BmpLayout {
    std::uint32_t infoSize = 40;     // information header size: 40, 108 or 124
    std::size_t gap = 0;             // bytes between the headers and the pixels (colour table, profile)
    bool topDown = false;            // negative height, rows top first
    std::uint32_t compression = 0;   // compression code written into the header
};

// Little-endian 16- and 32-bit values written into out at byte `at`, as
// BMP headers store them; out must already hold those bytes.
void put16(Bytes& out, std::size_t at, std::uint16_t value);
void put32(Bytes& out, std::size_t at, std::uint32_t value);

// A 24-bit BMP of width x height from top-first RGB pixels, rows padded to
// 4 bytes, 2835 pixels per metre (72 dpi). Row padding and the gap hold
// bytes unlike any ordinary pixel (0xEE, 0xCC), so a reader that takes them
// for pixels shows it.
Bytes encodeBmp(int width, int height, const Bytes& topFirstRgb, const BmpLayout& layout = {});

// A baseline JPEG at the given quality, without chroma subsampling, with the
// integer DCT and the standard Huffman tables: the same bytes on every
// machine whatever SIMD path the library takes. components: 1 (grey),
// 3 (RGB) or 4 (CMYK).
Bytes encodeJpeg(int width, int height, int components, const Bytes& topFirstPixels, int quality);

}  // namespace writers
