// ReferenceFramesTest.cpp: the parts that draw pictures, rendered headless and
// compared with their source pictures: the logo at frame 0 upright, dimmed
// by the fade at frame 399, the flash at frame 1200, the end picture at 7250.
// Compares the mean colour of each cell of an 8 x 8 grid over the frame with
// the same cell of the picture, which catches a picture turned, mirrored,
// missing or faded wrongly, while leaving room for filtering and stretching.
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "image/Image.h"

namespace fs = std::filesystem;

namespace {

constexpr int GRID = 8;
using Cells = std::array<std::array<double, 3>, GRID * GRID>;  // row by row from the top left

// Mean colour of each grid cell of an RGB picture stored top row first.
Cells cellMeans(const std::vector<uint8_t>& rgb, int width, int height)
{
    Cells sums{};
    std::array<double, GRID * GRID> counts{};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int q = (y * GRID / height) * GRID + x * GRID / width;
            const size_t at = (static_cast<size_t>(y) * width + x) * 3;
            for (int c = 0; c < 3; ++c) sums[q][c] += rgb[at + c];
            counts[q] += 1;
        }
    }
    for (int q = 0; q < GRID * GRID; ++q) {
        for (int c = 0; c < 3; ++c) sums[q][c] /= counts[q];
    }
    return sums;
}

// A BMP through the show's reader, as RGB top row first.
std::vector<uint8_t> bmpTopFirst(const std::string& path, int& width, int& height)
{
    Image image;
    if (!image.load(path)) return {};
    width = image.width;
    height = image.height;
    std::vector<uint8_t> rgb(image.rgb.size());
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        std::copy_n(&image.rgb[static_cast<size_t>(height - 1 - y) * row], row, &rgb[static_cast<size_t>(y) * row]);
    }
    return rgb;
}

// An 8-bit RGB PNG as written by the renderer, through libpng's simple API.
std::vector<uint8_t> readPng(const fs::path& path, int& width, int& height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return rgb;
}

struct ReferenceFrames : testing::Test {
    static inline fs::path out;

    static void SetUpTestSuite()
    {
        out = fs::temp_directory_path() / "quorl-reference-frames";
        fs::remove_all(out);
        const std::string command = "./quorl-h-render --from 0 --to 7251 --save 0,399,1200,7250 --out " +
                                    out.string() + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    Cells frame(int number)
    {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", number);
        int width = 0, height = 0;
        const std::vector<uint8_t> rgb = readPng(out / name, width, height);
        EXPECT_EQ(width, 800);
        EXPECT_EQ(height, 600);
        return rgb.empty() ? Cells{} : cellMeans(rgb, width, height);
    }

    Cells picture(const std::string& path)
    {
        int width = 0, height = 0;
        const std::vector<uint8_t> rgb = bmpTopFirst(path, width, height);
        EXPECT_FALSE(rgb.empty()) << path;
        return rgb.empty() ? Cells{} : cellMeans(rgb, width, height);
    }

    void expectScaled(const Cells& shown, const Cells& source, double scale, const char* what)
    {
        for (int q = 0; q < GRID * GRID; ++q) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(shown[q][c], source[q][c] * scale, 4.0) << what << " cell " << q << " channel " << c;
            }
        }
    }
};

}  // namespace

TEST_F(ReferenceFrames, LogoIsUprightAtFullBrightnessAndFadedAtFrame399)
{
    const Cells logo = picture("data/logga.bmp");
    expectScaled(frame(0), logo, 1.0, "frame 0");
    expectScaled(frame(399), logo, 70.0 / 399.0, "frame 399");
}

TEST_F(ReferenceFrames, FlashAddsWhiteAtItsPeak)
{
    // Half white at step 10, added over the intro's picture and echo, which
    // add light of their own: no cell can be darker than half white, though
    // the third intro picture alone has cells far darker than that.
    const Cells flash = frame(1200);
    for (int q = 0; q < GRID * GRID; ++q) {
        for (int c = 0; c < 3; ++c) EXPECT_GE(flash[q][c], 125.0) << "cell " << q;
    }
}

TEST_F(ReferenceFrames, EndPictureIsUpright)
{
    expectScaled(frame(7250), picture("data/theend.bmp"), 1.0, "frame 7250");
}
