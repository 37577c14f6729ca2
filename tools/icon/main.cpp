// make-icon: the program's menu icon, made from the show's logo picture.
//
//   make-icon LOGO.bmp SIZE OUT.png
//
// Reads the logo with the show's own BMP reader, scales it to fit a
// SIZE x SIZE square with its shape kept (each icon pixel the mean of the
// logo pixels it covers), and writes it as an RGBA PNG whose bars above and
// below the picture are transparent. Exits 1 with a message when the logo
// cannot be read or the icon cannot be written.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/Image.h"

namespace {

// The picture top row first, 3 bytes a pixel; the reader hands it over
// bottom row first.
std::vector<uint8_t> uprightRgb(const Image& image)
{
    std::vector<uint8_t> upright(image.rgb.size());
    const size_t row = static_cast<size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y) {
        std::copy_n(&image.rgb[(image.height - 1 - y) * row], row, &upright[y * row]);
    }
    return upright;
}

// Source range [first, last) that icon cell i of count covers in a line of length.
std::pair<int, int> covered(int i, int count, int length)
{
    const int first = static_cast<int>(static_cast<int64_t>(i) * length / count);
    const int last = static_cast<int>(static_cast<int64_t>(i + 1) * length / count);
    return {first, std::max(last, first + 1)};
}

// The logo scaled into a size x size RGBA square, centred, transparent around it.
std::vector<uint8_t> makeIcon(const Image& logo, int size)
{
    const std::vector<uint8_t> rgb = uprightRgb(logo);
    int width = size;
    int height = size;
    if (logo.width >= logo.height) {
        height = std::max(1, static_cast<int>(static_cast<int64_t>(size) * logo.height / logo.width));
    } else {
        width = std::max(1, static_cast<int>(static_cast<int64_t>(size) * logo.width / logo.height));
    }
    const int left = (size - width) / 2;
    const int top = (size - height) / 2;
    std::vector<uint8_t> icon(static_cast<size_t>(size) * size * 4, 0);
    for (int y = 0; y < height; ++y) {
        const auto [y0, y1] = covered(y, height, logo.height);
        for (int x = 0; x < width; ++x) {
            const auto [x0, x1] = covered(x, width, logo.width);
            uint64_t sum[3] = {0, 0, 0};
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const uint8_t* pixel = &rgb[(static_cast<size_t>(sy) * logo.width + sx) * 3];
                    for (int c = 0; c < 3; ++c) sum[c] += pixel[c];
                }
            }
            const uint64_t count = static_cast<uint64_t>(y1 - y0) * (x1 - x0);
            uint8_t* out = &icon[(static_cast<size_t>(top + y) * size + left + x) * 4];
            for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>((sum[c] + count / 2) / count);
            out[3] = 255;
        }
    }
    return icon;
}

bool writeRgbaPng(const std::string& path, int size, const std::vector<uint8_t>& rgba)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y) png_write_row(png, &rgba[static_cast<size_t>(y) * size * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make-icon LOGO.bmp SIZE OUT.png\n");
        return 2;
    }
    const std::string sizeText = argv[2];
    if (sizeText.empty() || sizeText.size() > 4 || sizeText.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(sizeText) < 16) {
        std::fprintf(stderr, "make-icon: size must be a number from 16 to 9999\n");
        return 2;
    }
    const int size = std::stoi(sizeText);
    Image logo;
    if (!logo.load(argv[1]) || logo.width <= 0 || logo.height <= 0) {
        std::fprintf(stderr, "make-icon: cannot read the logo %s\n", argv[1]);
        return 1;
    }
    if (!writeRgbaPng(argv[3], size, makeIcon(logo, size))) {
        std::fprintf(stderr, "make-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
