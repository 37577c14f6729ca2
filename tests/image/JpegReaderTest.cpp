// JpegReaderTest.cpp: the JPEG reader (JPGImage) on files made by libjpeg's
// own compressor.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "PictureFiles.h"
#include "image/JPGImage.h"

using testpictures::Bytes;
using testpictures::near;
using testpictures::printed;

namespace {

// Decodes bytes with standard output captured; returns the printed text.
std::string decodeCaptured(JPGImage& picture, const Bytes& file, bool& ok)
{
    ::testing::internal::CaptureStdout();
    ok = picture.decode(file, "test.jpg");
    return ::testing::internal::GetCapturedStdout();
}

const Bytes RED = {220, 30, 30}, GREEN = {30, 220, 30}, BLUE = {30, 30, 220}, YELLOW = {220, 220, 30};
constexpr int TOLERANCE = 12;

}  // namespace

TEST(JpegReader, FourByOneGreyGivesEqualBytesAndReversedRgba)
{
    const Bytes file = testpictures::jpeg(4, 1, 1, {10, 20, 30, 40});
    JPGImage picture;
    bool ok = false;
    const std::string out = decodeCaptured(picture, file, ok);
    ASSERT_TRUE(ok) << out;
    EXPECT_EQ(picture.width, 4u);
    EXPECT_EQ(picture.height, 1u);
    EXPECT_EQ(picture.rgb, (Bytes{10, 10, 10, 20, 20, 20, 30, 30, 30, 40, 40, 40}));
    EXPECT_EQ(picture.rgba, (Bytes{40, 40, 40, 255, 30, 30, 30, 255, 20, 20, 20, 255, 10, 10, 10, 255}));
}

// The rows are allocated rounded up to 4 bytes but filled packed: a width
// whose row is not a multiple of 4 bytes must not shift later rows.
TEST(JpegReader, FivePixelsWideAllocatesSixteenBytesARowAndStaysUnskewed)
{
    // 5 x 16: a red band over a blue band, each one 8-row block high so the
    // compression keeps them apart.
    Bytes topFirst;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 5; ++x) {
            const Bytes& colour = y < 8 ? RED : BLUE;
            topFirst.insert(topFirst.end(), colour.begin(), colour.end());
        }
    }
    JPGImage picture;
    bool ok = false;
    const std::string out = decodeCaptured(picture, testpictures::jpeg(5, 16, 3, topFirst), ok);
    ASSERT_TRUE(ok) << out;
    EXPECT_EQ(picture.rgb.size(), 16u * 16u);
    ASSERT_EQ(picture.rgba.size(), 5u * 16u * 4u);
    // Packed rows, bottom first: rows 0-7 blue, rows 8-15 red, every pixel.
    for (std::size_t row = 0; row < 16; ++row) {
        for (std::size_t x = 0; x < 5; ++x) {
            const Bytes& want = row < 8 ? BLUE : RED;
            EXPECT_TRUE(near(&picture.rgb[(row * 5 + x) * 3], want, TOLERANCE)) << "row " << row << " x " << x;
        }
    }
}

// rgba runs from the last decoded pixel to the first, and with rows stored
// bottom first that makes it start at the top row's rightmost pixel: the
// same layout the BMP reader produces, which the overlays show upright.
TEST(JpegReader, ColourRgbaRunsFromLastDecodedPixelToFirst)
{
    const int side = 16;
    const Bytes file = testpictures::jpeg(side, side, 3, testpictures::quadrants(side, RED, GREEN, BLUE, YELLOW));
    JPGImage picture;
    bool ok = false;
    const std::string out = decodeCaptured(picture, file, ok);
    ASSERT_TRUE(ok) << out;
    const std::size_t count = static_cast<std::size_t>(side) * side;
    ASSERT_EQ(picture.rgba.size(), count * 4);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t from = (count - 1 - k) * 3;
        ASSERT_EQ((Bytes{picture.rgba[k * 4], picture.rgba[k * 4 + 1], picture.rgba[k * 4 + 2], picture.rgba[k * 4 + 3]}),
                  (Bytes{picture.rgb[from], picture.rgb[from + 1], picture.rgb[from + 2], 255}))
            << "pixel " << k;
    }
    // First rgb pixel: bottom-left of the picture; first rgba pixel: top-right.
    EXPECT_TRUE(near(&picture.rgb[0], BLUE, TOLERANCE));
    EXPECT_TRUE(near(&picture.rgb[(count - 1) * 3], GREEN, TOLERANCE));
    EXPECT_TRUE(near(&picture.rgba[0], GREEN, TOLERANCE));
    EXPECT_TRUE(near(&picture.rgba[(count - 1) * 4], BLUE, TOLERANCE));
}

TEST(JpegReader, MissingFileReturnsFalseWithMessage)
{
    JPGImage picture;
    ::testing::internal::CaptureStdout();
    const bool ok = picture.load("./no/such/picture.jpg");
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(ok);
    EXPECT_EQ(out, "File Not Found : ./no/such/picture.jpg\n");
}

// libjpeg's default error handler ends the process; a bad file must instead
// come back as false with the library's reason printed.
TEST(JpegReader, CorruptOrEmptyFileReturnsFalseInsteadOfEndingTheProcess)
{
    const Bytes cases[] = {
        {},                                     // empty file
        Bytes(100, 0x55),                       // not a JPEG at all
        testpictures::bmp24(2, 1, Bytes(6, 9)),  // a picture of the other kind
    };
    for (const Bytes& file : cases) {
        JPGImage picture;
        bool ok = true;
        const std::string out = decodeCaptured(picture, file, ok);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(printed(out, "Error decoding test.jpg: "));
    }
    const std::string path = testpictures::writeTemp("garbage.jpg", Bytes(64, 0xFF));
    JPGImage picture;
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(picture.load(path));
    ::testing::internal::GetCapturedStdout();
    std::remove(path.c_str());
}

// A cut-short file would otherwise decode with its missing part filled in
// grey; every prefix must be refused, none may crash or hang.
TEST(JpegReader, EveryTruncationReturnsFalse)
{
    const Bytes whole = testpictures::jpeg(16, 16, 3, testpictures::quadrants(16, RED, GREEN, BLUE, YELLOW));
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        JPGImage picture;
        bool ok = true;
        const std::string out = decodeCaptured(picture, prefix, ok);
        EXPECT_FALSE(ok) << "length " << length << ": " << out;
    }
}

// A damaged size field in the frame header must be refused before the
// buffers are sized from it.
TEST(JpegReader, AbsurdSizeInHeaderRefused)
{
    Bytes file = testpictures::jpeg(8, 8, 1, Bytes(64, 128));
    // Baseline frame header: FF C0, length (2), precision (1), height (2), width (2).
    std::size_t sof = 0;
    for (std::size_t i = 0; i + 9 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            sof = i;
            break;
        }
    }
    ASSERT_NE(sof, 0u);
    file[sof + 7] = 0x4E;  // width 20000
    file[sof + 8] = 0x20;
    JPGImage picture;
    bool ok = true;
    const std::string out = decodeCaptured(picture, file, ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(printed(out, "Size of test.jpg is not usable: 20000 x 8\n"));
    EXPECT_TRUE(picture.rgb.empty());
}

// Four-channel (CMYK) files cannot be turned into 3-byte pixels.
TEST(JpegReader, FourChannelFileRefused)
{
    JPGImage picture;
    bool ok = true;
    const std::string out = decodeCaptured(picture, testpictures::jpeg(8, 8, 4, Bytes(256, 100)), ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(printed(out, "Channels of test.jpg not supported: 4\n"));
}

// A refused file must not leave sizes that disagree with the buffers: the
// record keeps the previous picture whole. A cut-short file is the case
// that fails after the decoder has begun writing pixels.
TEST(JpegReader, RefusedFileLeavesThePreviousPictureWhole)
{
    const Bytes grey = {10, 20, 30, 40};
    const Bytes big = testpictures::jpeg(16, 16, 3, testpictures::quadrants(16, RED, GREEN, BLUE, YELLOW));
    const Bytes bad[] = {
        Bytes(big.begin(), big.begin() + static_cast<std::ptrdiff_t>(big.size() * 3 / 4)),  // cut short
        testpictures::jpeg(8, 8, 4, Bytes(256, 100)),                                         // four channels
        Bytes(100, 0x55),                                                                     // not a JPEG
    };
    for (const Bytes& file : bad) {
        JPGImage picture;
        bool ok = false;
        decodeCaptured(picture, testpictures::jpeg(4, 1, 1, grey), ok);
        ASSERT_TRUE(ok);
        decodeCaptured(picture, file, ok);
        ASSERT_FALSE(ok);
        EXPECT_EQ(picture.width, 4u);
        EXPECT_EQ(picture.height, 1u);
        EXPECT_EQ(picture.rgb, (Bytes{10, 10, 10, 20, 20, 20, 30, 30, 30, 40, 40, 40}));
        EXPECT_EQ(picture.rgba, (Bytes{40, 40, 40, 255, 30, 30, 30, 255, 20, 20, 20, 255, 10, 10, 10, 255}));
    }
}
