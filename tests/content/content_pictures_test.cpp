// content_pictures_test.cpp: the pictures in data/ as the show's BMP and
// JPEG readers and its textures need them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include <jpeglib.h>

#include "content_files.h"
#include "image/Image.h"
#include "image/JPGImage.h"

using namespace content_test;

namespace {

// A decoded picture: RGB bytes, top row first.
struct Picture {
    int width = 0, height = 0, components = 0;
    std::vector<uint8_t> rgb;
    uint8_t at(int x, int y, int c) const { return rgb[(static_cast<size_t>(y) * width + x) * 3 + c]; }
};

Picture decodeBmp(const std::vector<uint8_t>& b) {
    Picture p;
    p.width = static_cast<int>(le32(b, 18));
    p.height = static_cast<int>(le32(b, 22));
    p.components = 3;
    p.rgb.resize(static_cast<size_t>(p.width) * p.height * 3);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < 3; ++c)  // stored bottom row first, blue-green-red
                p.rgb[(static_cast<size_t>(y) * p.width + x) * 3 + c] =
                    b[54 + (static_cast<size_t>(p.height - 1 - y) * p.width + x) * 3 + (2 - c)];
    return p;
}

Picture decodeJpeg(const std::vector<uint8_t>& b) {
    Picture p;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, b.data(), static_cast<unsigned long>(b.size()));
    if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK) {
        p.components = cinfo.num_components;
        cinfo.out_color_space = JCS_RGB;
        jpeg_start_decompress(&cinfo);
        p.width = static_cast<int>(cinfo.output_width);
        p.height = static_cast<int>(cinfo.output_height);
        p.rgb.resize(static_cast<size_t>(p.width) * p.height * 3);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = &p.rgb[static_cast<size_t>(cinfo.output_scanline) * p.width * 3];
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    return p;
}

Picture load(const std::string& name) {
    const std::vector<uint8_t> b = readData(name);
    return endsWith(name, ".bmp") ? decodeBmp(b) : decodeJpeg(b);
}

bool sideIsTextureSize(int n) { return n == 256 || n == 512; }

// Mean absolute difference between two columns (or rows) of a picture.
double lineDifference(const Picture& p, bool columns, int a, int b) {
    double sum = 0.0;
    const int len = columns ? p.height : p.width;
    for (int i = 0; i < len; ++i)
        for (int c = 0; c < 3; ++c)
            sum += std::abs((columns ? p.at(a, i, c) : p.at(i, a, c)) - (columns ? p.at(b, i, c) : p.at(i, b, c)));
    return sum / (len * 3);
}

}  // namespace

TEST(ContentPictures, MissingPictureFile) {
    for (const char* name : PICTURES) EXPECT_GT(readData(name).size(), 1000u) << name;
}

// The BMP reader skips 18 bytes, reads width, height, planes and bits, then
// takes pixel data from offset 54 as unpadded rows.
TEST(ContentPictures, BmpHeaderTheReaderWouldReject) {
    for (const char* name : PICTURES) {
        if (!endsWith(name, ".bmp")) continue;
        const std::vector<uint8_t> b = readData(name);
        ASSERT_GE(b.size(), 54u) << name;
        EXPECT_EQ(b[0], 'B') << name;
        EXPECT_EQ(b[1], 'M') << name;
        const uint32_t w = le32(b, 18), h = le32(b, 22);
        EXPECT_TRUE(sideIsTextureSize(static_cast<int>(w)) && sideIsTextureSize(static_cast<int>(h))) << name;
        EXPECT_EQ(w * 3 % 4, 0u) << name << ": rows would need padding";
        EXPECT_EQ(le16(b, 26), 1u) << name << ": planes";
        EXPECT_EQ(le16(b, 28), 24u) << name << ": bits per pixel";
        EXPECT_EQ(le32(b, 30), 0u) << name << ": compression";
        EXPECT_EQ(le32(b, 10), 54u) << name << ": pixel data offset";
        EXPECT_EQ(le32(b, 14), 40u) << name << ": information header size";
        EXPECT_EQ(le32(b, 2), b.size()) << name << ": file size field";
        EXPECT_EQ(b.size(), 54u + w * h * 3) << name;
    }
}

TEST(ContentPictures, JpegNotBaselineThreeComponents) {
    for (const char* name : PICTURES) {
        if (!endsWith(name, ".jpg")) continue;
        const std::vector<uint8_t> b = readData(name);
        bool baseline = false, progressive = false;
        for (size_t i = 0; i + 1 < b.size(); ++i) {
            if (b[i] != 0xFF) continue;
            baseline = baseline || b[i + 1] == 0xC0;
            progressive = progressive || b[i + 1] == 0xC2;
            if (b[i + 1] == 0xDA) break;  // start of scan: the headers are done
        }
        EXPECT_TRUE(baseline && !progressive) << name;
        const Picture p = decodeJpeg(b);
        EXPECT_EQ(p.components, 3) << name;
        EXPECT_TRUE(sideIsTextureSize(p.width) && sideIsTextureSize(p.height)) << name;
        EXPECT_EQ(p.width * 3 % 4, 0) << name;
    }
}

// A painter that failed silently leaves a flat picture.
TEST(ContentPictures, BlankOrFlatPicture) {
    for (const char* name : PICTURES) {
        const Picture p = load(name);
        ASSERT_FALSE(p.rgb.empty()) << name;
        double sum = 0.0, sq = 0.0;
        for (const uint8_t v : p.rgb) {
            sum += v;
            sq += static_cast<double>(v) * v;
        }
        const double n = static_cast<double>(p.rgb.size());
        const double mean = sum / n;
        EXPECT_GT(std::sqrt(sq / n - mean * mean), 15.0) << name << " has almost no contrast";
        // The tunnels' overlay is black on purpose, apart from its frame.
        if (std::string(name) != "tunnel-l.jpg") {
            EXPECT_GT(mean, 10.0) << name << " is nearly black";
        }
    }
}

// The tube textures repeat around and along the tubes: the step from the
// last column (row) back to the first must look like any other step.
TEST(ContentPictures, TubeTextureShowsASeam) {
    for (const char* name : {"gegga1.bmp", "tunnel2.jpg"}) {
        const Picture p = load(name);
        ASSERT_GT(p.width, 8) << name;
        for (const bool columns : {true, false}) {
            const int last = (columns ? p.width : p.height) - 1;
            double inner = 0.0;
            for (int i = 1; i <= 8; ++i) inner += lineDifference(p, columns, last / 2 + i - 1, last / 2 + i);
            inner /= 8.0;
            EXPECT_LT(lineDifference(p, columns, last, 0), inner * 2.0 + 4.0)
                << name << (columns ? ": left and right edges" : ": top and bottom edges") << " do not meet";
        }
    }
}

// The overlay is added over the tunnels: its middle must stay dark so the
// tubes show through.
TEST(ContentPictures, TunnelOverlayCoversTheTubes) {
    const Picture p = load("tunnel-l.jpg");
    ASSERT_EQ(p.width, 512);
    double sum = 0.0;
    int n = 0;
    for (int y = 160; y < 352; ++y)
        for (int x = 160; x < 352; ++x, ++n) sum += p.at(x, y, 0) + p.at(x, y, 1) + p.at(x, y, 2);
    EXPECT_LT(sum / (n * 3), 8.0);
}

// The show's own readers take every picture at its stated size.
TEST(ContentPictures, ShowReaderRefusesPicture) {
    for (const char* name : PICTURES) {
        const std::string path = std::string("data/") + name;
        const Picture p = load(name);
        if (endsWith(name, ".bmp")) {
            Image image;
            ASSERT_TRUE(image.load(path)) << name;
            EXPECT_EQ(image.width, p.width) << name;
            EXPECT_EQ(image.height, p.height) << name;
        } else {
            JPGImage image;
            ASSERT_TRUE(image.load(path)) << name;
            EXPECT_EQ(static_cast<int>(image.width), p.width) << name;
            EXPECT_EQ(static_cast<int>(image.height), p.height) << name;
        }
    }
}
