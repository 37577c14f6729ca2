// PictureFiles.cpp: BMP and JPEG writers for the image tests.
#include "PictureFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>
#include <jpeglib.h>

namespace testpictures {

namespace {

void put16(Bytes& out, std::size_t at, std::uint16_t value)
{
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(Bytes& out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

Bytes bmpHeader(std::int32_t width, std::int32_t height, std::uint16_t planes, std::uint16_t bpp,
                std::size_t pixelBytes)
{
    Bytes out(54 + pixelBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, 54);
    put32(out, 14, 40);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(height));
    put16(out, 26, planes);
    put16(out, 28, bpp);
    return out;
}

Bytes bmp24(int width, int height, const Bytes& topFirstRgb)
{
    return bmpLaidOut(width, height, topFirstRgb, BmpLayout{});
}

Bytes bmpLaidOut(int width, int height, const Bytes& topFirstRgb, const BmpLayout& layout)
{
    constexpr std::uint8_t PAD = 0xEE;
    constexpr std::uint8_t GAP = 0xCC;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = (rowBytes + 3) / 4 * 4;
    const std::size_t headers = 14 + layout.infoSize;
    const std::size_t pixelsAt = headers + layout.gap;
    Bytes out(pixelsAt + stride * height, PAD);
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(pixelsAt), GAP);
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(headers), 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, static_cast<std::uint32_t>(pixelsAt));
    put32(out, 14, layout.infoSize);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(layout.topDown ? -height : height));
    put16(out, 26, 1);
    put16(out, 28, 24);
    put32(out, 30, layout.compression);
    // File rows run bottom first (top first when top-down), pixels blue, green, red.
    for (int row = 0; row < height; ++row) {
        const int sourceRow = layout.topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* from = &topFirstRgb[(static_cast<std::size_t>(sourceRow) * width + x) * 3];
            std::uint8_t* to = &out[pixelsAt + static_cast<std::size_t>(row) * stride + static_cast<std::size_t>(x) * 3];
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return out;
}

Bytes bottomFirst(int width, int height, const Bytes& topFirstRgb)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    Bytes out;
    for (int row = height - 1; row >= 0; --row) {
        const auto begin = topFirstRgb.begin() + static_cast<std::ptrdiff_t>(row * rowBytes);
        out.insert(out.end(), begin, begin + static_cast<std::ptrdiff_t>(rowBytes));
    }
    return out;
}

Bytes jpeg(int width, int height, int components, const Bytes& topFirstPixels)
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
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * components;
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

Bytes quadrants(int side, const Bytes& topLeft, const Bytes& topRight, const Bytes& bottomLeft,
                const Bytes& bottomRight)
{
    Bytes out(static_cast<std::size_t>(side) * side * 3);
    const int half = side / 2;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const Bytes& colour = y < half ? (x < half ? topLeft : topRight) : (x < half ? bottomLeft : bottomRight);
            std::memcpy(&out[(static_cast<std::size_t>(y) * side + x) * 3], colour.data(), 3);
        }
    }
    return out;
}

std::string writeTemp(const std::string& name, const Bytes& bytes)
{
    const std::string path = ::testing::TempDir() + "quorl_image_" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

bool near(const std::uint8_t* data, const Bytes& want, int tolerance)
{
    for (int i = 0; i < 3; ++i) {
        if (std::abs(static_cast<int>(data[i]) - static_cast<int>(want[i])) > tolerance) {
            return false;
        }
    }
    return true;
}

::testing::AssertionResult printed(const std::string& output, const std::string& text)
{
    if (output.find(text) != std::string::npos) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected \"" << text << "\" in output \"" << output << "\"";
}

}  // namespace testpictures
