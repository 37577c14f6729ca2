// BmpReaderTest.cpp: the BMP reader (Image), from files and from memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "PictureFiles.h"
#include "image/Image.h"

using testpictures::Bytes;
using testpictures::printed;

namespace {

// Decodes bytes with standard output captured; returns the printed text.
std::string decodeCaptured(Image& picture, const Bytes& file, bool& ok)
{
    ::testing::internal::CaptureStdout();
    ok = picture.decode(file, "test.bmp");
    return ::testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(BmpReader, TwoByOneExampleSwapsBlueRedAndReversesForRgba)
{
    Bytes file = testpictures::bmpHeader(2, 1, 1, 24, 6);
    const Bytes pixels = {1, 2, 3, 4, 5, 6};  // file order: blue, green, red
    std::copy(pixels.begin(), pixels.end(), file.begin() + 54);
    Image picture;
    bool ok = false;
    const std::string out = decodeCaptured(picture, file, ok);
    ASSERT_TRUE(ok) << out;
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.height, 1);
    EXPECT_EQ(picture.rgb, (Bytes{3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(picture.rgba, (Bytes{6, 5, 4, 255, 3, 2, 1, 255}));
    EXPECT_EQ(out, "Width of test.bmp: 2\nHeight of test.bmp: 1\n");
}

TEST(BmpReader, RgbaStartsWithTopRowRightmostPixel)
{
    // 2 x 2: top row red, green; bottom row blue, white.
    const Bytes topFirst = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    Image picture;
    bool ok = false;
    decodeCaptured(picture, testpictures::bmp24(2, 2, topFirst), ok);
    ASSERT_TRUE(ok);
    // rgb in file order: bottom row first, left to right.
    EXPECT_EQ(picture.rgb, (Bytes{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}));
    // rgba turned by 180 degrees: top row first, right to left.
    EXPECT_EQ(picture.rgba, (Bytes{0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255, 0, 0, 255, 255}));
}

TEST(BmpReader, MissingFilePrintsNotFoundAndNoSize)
{
    Image picture;
    ::testing::internal::CaptureStdout();
    const bool ok = picture.load("./no/such/picture.bmp");
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(ok);
    EXPECT_EQ(out, "File Not Found : ./no/such/picture.bmp\n");
}

TEST(BmpReader, LoadReadsTheFileItNames)
{
    const std::string path = testpictures::writeTemp("two.bmp", testpictures::bmp24(2, 1, {10, 20, 30, 40, 50, 60}));
    Image picture;
    ::testing::internal::CaptureStdout();
    const bool ok = picture.load(path);
    const std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(ok) << out;
    EXPECT_EQ(picture.rgb, (Bytes{10, 20, 30, 40, 50, 60}));
    EXPECT_TRUE(printed(out, "Width of " + path + ": 2\n"));
    std::remove(path.c_str());
}

TEST(BmpReader, WrongBitDepthOrPlanesRefusedAfterBothSizes)
{
    for (const unsigned bpp : {8u, 32u}) {
        Image picture;
        bool ok = true;
        const std::string out =
            decodeCaptured(picture, testpictures::bmpHeader(4, 4, 1, static_cast<std::uint16_t>(bpp), 64), ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(out, "Width of test.bmp: 4\nHeight of test.bmp: 4\nBpp from test.bmp is not 24: " +
                           std::to_string(bpp) + "\n");
        EXPECT_TRUE(picture.rgb.empty());
    }
    Image picture;
    bool ok = true;
    const std::string out = decodeCaptured(picture, testpictures::bmpHeader(4, 4, 2, 24, 48), ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(printed(out, "Planes from test.bmp is not 1: 2\n"));
}

TEST(BmpReader, ShortPixelDataFailsWithReadMessage)
{
    Image picture;
    bool ok = true;
    const std::string out = decodeCaptured(picture, testpictures::bmpHeader(4, 4, 1, 24, 47), ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(printed(out, "Error reading image data from test.bmp.\n"));
}

// Sizes a header may claim that must be refused before any allocation: a
// wrapped or absurd byte count would otherwise allocate gigabytes or too
// little and then read or write out of bounds.
TEST(BmpReader, HostileSizesRefusedBeforeAllocation)
{
    struct Case {
        std::int32_t width, height;
    };
    const Case cases[] = {
        {0, 4}, {4, 0}, {-4, 4}, {4, -4},   // empty and negative (top-down) pictures
        {16385, 1}, {1, 16385},              // beyond the largest side
        {65536, 65536},                      // 32-bit byte count wraps to 0
        {0x7fffffff, 0x7fffffff},            // 64-bit count still absurd
        {static_cast<std::int32_t>(0x80000000u), 2},  // most negative width
    };
    for (const Case& c : cases) {
        Image picture;
        bool ok = true;
        const std::string out = decodeCaptured(picture, testpictures::bmpHeader(c.width, c.height, 1, 24, 12), ok);
        EXPECT_FALSE(ok) << c.width << " x " << c.height;
        EXPECT_TRUE(printed(out, "Size of test.bmp is not usable: " + std::to_string(c.width) + " x " +
                                   std::to_string(c.height) + "\n"));
        EXPECT_TRUE(picture.rgb.empty() && picture.rgba.empty());
    }
}

// Every prefix of a valid file must fail cleanly with a message (run under a
// sanitizer this also proves no read past the end), and the whole file must
// still load.
TEST(BmpReader, EveryTruncationFailsWithoutReadingPastTheEnd)
{
    const Bytes whole = testpictures::bmp24(4, 2, Bytes(24, 7));
    constexpr std::size_t HEADER_FIELDS_END = 30;  // width, height, planes, bits per pixel
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        Image picture;
        bool ok = true;
        const std::string out = decodeCaptured(picture, prefix, ok);
        EXPECT_FALSE(ok) << "length " << length;
        EXPECT_TRUE(printed(out, length < HEADER_FIELDS_END ? "Header of test.bmp is cut short\n"
                                                            : "Error reading image data from test.bmp.\n"))
            << "length " << length;
    }
    Image picture;
    bool ok = false;
    decodeCaptured(picture, whole, ok);
    EXPECT_TRUE(ok);
}
