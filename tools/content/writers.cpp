// writers.cpp: BMP by hand, JPEG with libjpeg(-turbo), PNG with libpng.
#include "writers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace content {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> encodeBmp(const Canvas& picture, uint32_t ditherSeed) {
    const uint32_t w = static_cast<uint32_t>(picture.width());
    const uint32_t h = static_cast<uint32_t>(picture.height());
    const uint32_t dataSize = w * h * 3;
    const std::vector<uint8_t> rgb = picture.toBytes(ditherSeed);
    std::vector<uint8_t> out;
    out.reserve(54 + dataSize);
    // File header: magic, file size, two reserved words, pixel data offset.
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + dataSize);
    put32(out, 0);
    put32(out, 54);
    // Information header (40 bytes): 24 bits, one plane, no compression,
    // 2835 pixels per metre (72 dpi), no palette.
    put32(out, 40);
    put32(out, w);
    put32(out, h);
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, dataSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (uint32_t row = 0; row < h; ++row) {
        const uint8_t* src = &rgb[static_cast<size_t>(h - 1 - row) * w * 3];  // bottom row first
        for (uint32_t x = 0; x < w; ++x) {
            out.push_back(src[x * 3 + 2]);  // blue, green, red
            out.push_back(src[x * 3 + 1]);
            out.push_back(src[x * 3 + 0]);
        }
    }
    return out;
}

// Compressed into memory (jpeg_mem_dest) so callers get the bytes.
std::vector<uint8_t> encodeJpeg(const Canvas& picture, uint32_t ditherSeed) {
    std::vector<uint8_t> rgb = picture.toBytes(ditherSeed);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width());
    cinfo.image_height = static_cast<JDIMENSION>(picture.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, JPEG_QUALITY, TRUE);  // baseline tables
    // Integer DCT and the standard Huffman tables: exact, so the bytes are
    // the same on every machine whatever SIMD path the library takes.
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.optimize_coding = FALSE;
    for (int c = 0; c < 3; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(picture.width()) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &rgb[cinfo.next_scanline * stride];  // top row first
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
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
