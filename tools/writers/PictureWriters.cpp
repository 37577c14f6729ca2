// PictureWriters.cpp: BMP by hand, JPEG with libjpeg(-turbo).
#include "tools/writers/PictureWriters.h"

#include <algorithm>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>

#include <jpeglib.h>

namespace writers {

void put16(Bytes& out, std::size_t at, std::uint16_t value)
{
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(Bytes& out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes encodeBmp(int width, int height, const Bytes& topFirstRgb, const BmpLayout& layout)
{
    constexpr std::uint8_t PAD = 0xEE;
    constexpr std::uint8_t GAP = 0xCC;
    constexpr std::uint32_t PIXELS_PER_METRE = 2835;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = (rowBytes + 3) / 4 * 4;
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
    const std::size_t headers = 14 + layout.infoSize;
    const std::size_t pixelsAt = headers + layout.gap;
    Bytes out(pixelsAt + pixelBytes, PAD);
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(pixelsAt), GAP);
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(headers), 0);
    // File header: magic, file size, two reserved words, pixel offset.
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, static_cast<std::uint32_t>(pixelsAt));
    // Information header: one plane, 24 bits, no palette.
    put32(out, 14, layout.infoSize);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(layout.topDown ? -height : height));
    put16(out, 26, 1);
    put16(out, 28, 24);
    put32(out, 30, layout.compression);
    put32(out, 34, static_cast<std::uint32_t>(pixelBytes));
    put32(out, 38, PIXELS_PER_METRE);
    put32(out, 42, PIXELS_PER_METRE);
    // Rows bottom first (top first when top-down), pixels blue, green, red.
    for (int row = 0; row < height; ++row) {
        const int sourceRow = layout.topDown ? row : height - 1 - row;
        const std::uint8_t* from = &topFirstRgb[static_cast<std::size_t>(sourceRow) * rowBytes];
        std::uint8_t* to = &out[pixelsAt + static_cast<std::size_t>(row) * stride];
        for (int x = 0; x < width; ++x, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return out;
}

// Compressed into memory (jpeg_mem_dest) so callers get the bytes.
Bytes encodeJpeg(int width, int height, int components, const Bytes& topFirstPixels, int quality)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);  // baseline tables
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = FALSE;
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&topFirstPixels[info.next_scanline * rowBytes]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

}  // namespace writers
