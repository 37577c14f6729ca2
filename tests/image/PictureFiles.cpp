// PictureFiles.cpp: BMP and JPEG files for the image tests, and their checks.
#include "PictureFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

namespace testpictures {

using writers::put16;
using writers::put32;

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
    return writers::encodeBmp(width, height, topFirstRgb);
}

Bytes bmpLaidOut(int width, int height, const Bytes& topFirstRgb, const BmpLayout& layout)
{
    return writers::encodeBmp(width, height, topFirstRgb, layout);
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
    return writers::encodeJpeg(width, height, components, topFirstPixels, 100);
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
