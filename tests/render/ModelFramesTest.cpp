// ModelFramesTest.cpp: the intro and spin parts rendered headless and
// checked on a coarse grid: the intro shows the fifth picture, dimmed as
// its fade says, with the model's echo added over it; the spin part's trail
// starts from nothing and grows, and later frames show both the model's
// smooth surface and the trail around it.
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "image/JPGImage.h"

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

// An 8-bit RGB PNG as written by the renderer.
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

// A JPEG through the show's reader, as cell means of the picture upright.
Cells jpegCells(const std::string& path)
{
    JPGImage image;
    if (!image.load(path)) {
        ADD_FAILURE() << path;
        return {};
    }
    const int width = static_cast<int>(image.width), height = static_cast<int>(image.height);
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {  // the reader's rows run bottom first
        std::copy_n(&image.rgb[static_cast<size_t>(height - 1 - y) * row], row, &rgb[static_cast<size_t>(y) * row]);
    }
    return cellMeans(rgb, width, height);
}

double brightness(const std::array<double, 3>& cell) { return (cell[0] + cell[1] + cell[2]) / 3.0; }

// Pearson correlation of the cells' brightness in two pictures.
double correlation(const Cells& a, const Cells& b)
{
    double meanA = 0.0, meanB = 0.0;
    for (int q = 0; q < GRID * GRID; ++q) {
        meanA += brightness(a[q]) / (GRID * GRID);
        meanB += brightness(b[q]) / (GRID * GRID);
    }
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (int q = 0; q < GRID * GRID; ++q) {
        const double da = brightness(a[q]) - meanA, db = brightness(b[q]) - meanB;
        ab += da * db;
        aa += da * da;
        bb += db * db;
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

struct ModelFrames : testing::Test {
    static inline fs::path out;

    static void SetUpTestSuite()
    {
        out = fs::temp_directory_path() / "quorl-model-frames";
        fs::remove_all(out);
        const std::string command = "./quorl-h-render --from 0 --to 4001 --save 1800,3600,3700,4000 --out " +
                                    out.string() + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    static std::vector<uint8_t> pixels(int number)
    {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", number);
        int width = 0, height = 0;
        std::vector<uint8_t> rgb = readPng(out / name, width, height);
        EXPECT_EQ(width, 800);
        EXPECT_EQ(height, 600);
        if (width != 800 || height != 600) rgb.assign(800 * 600 * 3, 0);
        return rgb;
    }

    static Cells frame(int number) { return cellMeans(pixels(number), 800, 600); }

    // Pixels with any channel above `level`.
    static int litPixels(const std::vector<uint8_t>& rgb, int level)
    {
        int count = 0;
        for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
            count += rgb[i] > level || rgb[i + 1] > level || rgb[i + 2] > level;
        }
        return count;
    }
};

}  // namespace

TEST_F(ModelFrames, IntroAfterTheLastChangeShowsTheFifthPictureDimmedUnderTheEcho)
{
    // Frame 1800 is intro cycle 1401: 231 frames into the fade that began
    // at cycle 1170, rising again since 180: 1.1 - 1 / (2 * 51 / 40).
    const double dim = 1.1 - 1.0 / (2.0 * 51.0 / 40.0);
    const Cells shown = frame(1800);
    const Cells fifth = jpegCells("data/intro5.jpg");
    double excess = 0.0;
    for (int q = 0; q < GRID * GRID; ++q) {
        for (int c = 0; c < 3; ++c) {
            // The echo only adds light: no cell falls below the dimmed picture.
            EXPECT_GE(shown[q][c], fifth[q][c] * dim - 6.0) << "cell " << q << " channel " << c;
            excess += shown[q][c] - fifth[q][c] * dim;
        }
    }
    // And it does add: the model's echo over the picture.
    EXPECT_GT(excess / (GRID * GRID * 3), 5.0);
    // The picture's own pattern shows through: the frame follows the fifth
    // picture more closely than any other (a missing, turned or wrong
    // picture would not).
    const double own = correlation(shown, fifth);
    EXPECT_GT(own, 0.5);
    for (int other = 1; other <= 4; ++other) {
        EXPECT_GT(own, correlation(shown, jpegCells("data/intro" + std::to_string(other) + ".jpg"))) << other;
    }
}

TEST_F(ModelFrames, SpinTrailStartsFromNothingAndGrows)
{
    // In the part's first frame the feedback texture holds only this
    // frame's model: the corners are black. A hundred frames on, the trail
    // has spread over most of the picture.
    const Cells first = frame(3600);
    for (int q : {0, 7, 56, 63}) EXPECT_LT(brightness(first[q]), 3.0) << "cell " << q;
    const int before = litPixels(pixels(3600), 24);
    const int after = litPixels(pixels(3700), 24);
    EXPECT_GT(before, 20000);
    EXPECT_GT(after, 2 * before);
}

TEST_F(ModelFrames, SpinShowsTheSmoothModelAndItsTrail)
{
    const Cells shown = frame(4000);
    // The smooth surface fills the middle far brighter than lines alone.
    double middle = 0.0;
    for (int q : {27, 28, 35, 36}) middle += brightness(shown[q]) / 4.0;
    EXPECT_GT(middle, 100.0);
    // The trail's glow reaches the corners, which the model never covers.
    for (int q : {0, 7, 56, 63}) EXPECT_GT(brightness(shown[q]), 10.0) << "cell " << q;
}
