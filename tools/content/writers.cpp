// writers.cpp: the show's BMP and JPEG files through the shared writers
// (tools/writers), PNG previews with libpng.
#include "writers.h"

#include <png.h>

#include <cstdio>

#include "tools/writers/PictureWriters.h"

namespace content {

std::vector<uint8_t> encodeBmp(const Canvas& picture, uint32_t ditherSeed) {
    return writers::encodeBmp(picture.width(), picture.height(), picture.toBytes(ditherSeed));
}

std::vector<uint8_t> encodeJpeg(const Canvas& picture, uint32_t ditherSeed) {
    return writers::encodeJpeg(picture.width(), picture.height(), 3, picture.toBytes(ditherSeed), JPEG_QUALITY);
}

namespace {

// libpng writes through these callbacks into a byte vector.
void pngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void pngFlush(png_structp) {}

}  // namespace

// No time or text chunks: the preview files are as repeatable as the data.
std::vector<uint8_t> encodePng(const Canvas& picture, uint32_t ditherSeed) {
    std::vector<uint8_t> rgb = picture.toBytes(ditherSeed);
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, pngWrite, pngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()), static_cast<png_uint_32>(picture.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(picture.width()) * 3;
    for (int y = 0; y < picture.height(); ++y) png_write_row(png, &rgb[static_cast<size_t>(y) * stride]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "make-content: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace content
