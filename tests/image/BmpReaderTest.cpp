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
        {0, 4}, {4, 0}, {-4, 4},            // empty pictures and a negative width
        {4, -16385},                         // top-down, beyond the largest side
        {4, static_cast<std::int32_t>(0x80000000u)},  // most negative height: no absolute value in 32 bits
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
    constexpr std::size_t HEADER_FIELDS_END = 54;  // file header and 40-byte information header
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

// ---------------------------------------------------------------------------
// Files as other programs write them: padded rows, larger headers, colour
// tables and profiles before the pixels, top-down rows.
// ---------------------------------------------------------------------------

namespace {

// Top-first RGB pixels, every byte different and none like the padding or
// gap bytes the writer fills in, so any shift or stray byte shows.
Bytes numbered(int width, int height)
{
    Bytes pixels(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(1 + i % 200);
    }
    return pixels;
}

// The rgba buffer the reader must make from top-first pixels: top row first,
// each row right to left, alpha 255. Built from the written pixels alone.
Bytes expectedRgba(int width, int height, const Bytes& topFirst)
{
    Bytes out;
    for (int y = 0; y < height; ++y) {
        for (int x = width - 1; x >= 0; --x) {
            const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
            out.insert(out.end(), {topFirst[at], topFirst[at + 1], topFirst[at + 2], 255});
        }
    }
    return out;
}

}  // namespace

TEST(BmpLayout, EveryLayoutDecodesToThePixelsWritten)
{
    struct Case {
        const char* what;
        int width, height;
        testpictures::BmpLayout layout;
    };
    const Case cases[] = {
        {"5 x 3, rows padded by 1 byte", 5, 3, {}},
        {"7 x 2, rows padded by 3 bytes", 7, 2, {}},
        {"6 x 2, rows padded by 2 bytes", 6, 2, {}},
        {"108-byte information header", 5, 3, {108, 0, false, 0}},
        {"124-byte information header", 5, 3, {124, 0, false, 0}},
        {"colour table of 256 entries before the pixels", 4, 2, {40, 1024, false, 0}},
        {"profile and a gap after a 124-byte header", 3, 3, {124, 3000, false, 0}},
        {"top-down, padded", 5, 3, {40, 0, true, 0}},
        {"top-down, 124-byte header", 2, 4, {124, 0, true, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes pixels = numbered(c.width, c.height);
        Image picture;
        bool ok = false;
        const std::string out =
            decodeCaptured(picture, testpictures::bmpLaidOut(c.width, c.height, pixels, c.layout), ok);
        ASSERT_TRUE(ok) << out;
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
        EXPECT_EQ(picture.rgb, testpictures::bottomFirst(c.width, c.height, pixels));
        EXPECT_EQ(picture.rgba, expectedRgba(c.width, c.height, pixels));
    }
}

// The last row's padding is not needed: some writers leave it off.
TEST(BmpLayout, MissingPaddingAfterTheLastRowIsAccepted)
{
    const Bytes pixels = numbered(5, 2);
    Bytes file = testpictures::bmp24(5, 2, pixels);
    file.resize(file.size() - 1);
    Image picture;
    bool ok = false;
    decodeCaptured(picture, file, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(picture.rgb, testpictures::bottomFirst(5, 2, pixels));
    file.resize(file.size() - 1);  // now a pixel byte is missing
    const std::string out = decodeCaptured(picture, file, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(out, "Width of test.bmp: 5\nHeight of test.bmp: 2\nError reading image data from test.bmp.\n");
}

// Files that must be refused, each with the one line that says why.
TEST(BmpLayout, UnreadableFilesRefusedWithTheirReason)
{
    const Bytes pixels = numbered(4, 2);
    const Bytes good = testpictures::bmp24(4, 2, pixels);
    const auto with = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        Bytes file = good;
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        return file;
    };
    const auto compressed = [&](std::uint32_t code) {
        testpictures::BmpLayout layout;
        layout.compression = code;
        return testpictures::bmpLaidOut(4, 2, pixels, layout);
    };
    const std::string sizes = "Width of test.bmp: 4\nHeight of test.bmp: 2\n";
    struct Case {
        const char* what;
        Bytes file;
        std::string printed;
    };
    const Case cases[] = {
        {"signature MB", with(0, {'M', 'B'}), "Signature of test.bmp is not BM\n"},
        {"a PNG signature", with(0, {0x89, 'P'}), "Signature of test.bmp is not BM\n"},
        {"12-byte core header", with(14, {12, 0, 0, 0}), "Information header of test.bmp is too small: 12\n"},
        {"run-length compression", compressed(1), sizes + "Compression of test.bmp is not none: 1\n"},
        {"bit-field compression", compressed(3), sizes + "Compression of test.bmp is not none: 3\n"},
        {"pixel offset inside the headers", with(10, {40, 0, 0, 0}),
         sizes + "Pixel offset of test.bmp lies inside the headers: 40\n"},
        {"pixel offset inside a 124-byte header", with(14, {124, 0, 0, 0}),
         sizes + "Pixel offset of test.bmp lies inside the headers: 54\n"},
        {"pixel offset just past the end", with(10, {79, 0, 0, 0}),
         sizes + "Pixel offset of test.bmp lies past the end of the file: 79\n"},
        {"pixel offset at the end, no pixels", with(10, {78, 0, 0, 0}),
         sizes + "Error reading image data from test.bmp.\n"},
        {"pixel offset far past the end", with(10, {0, 0, 0, 0x80}),
         sizes + "Pixel offset of test.bmp lies past the end of the file: 2147483648\n"},
        {"pixel offset leaving too few bytes", with(10, {60, 0, 0, 0}),
         sizes + "Error reading image data from test.bmp.\n"},
    };
    ASSERT_EQ(good.size(), 78u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image picture;
        bool ok = true;
        EXPECT_EQ(decodeCaptured(picture, c.file, ok), c.printed);
        EXPECT_FALSE(ok);
    }
}

// A refused file must not leave sizes that disagree with the buffers: the
// record keeps the previous picture whole (or stays empty).
TEST(BmpLayout, RefusedFileLeavesThePreviousPictureWhole)
{
    const Bytes pixels = numbered(3, 2);
    const Bytes bad[] = {
        testpictures::bmpHeader(8, 8, 1, 24, 10),   // sizes read, pixels short
        testpictures::bmpHeader(16, 4, 1, 8, 64),   // sizes read, wrong depth
        Bytes{'B', 'M', 0, 0},                       // cut short
    };
    for (const Bytes& file : bad) {
        Image fresh;
        bool ok = true;
        decodeCaptured(fresh, file, ok);
        ASSERT_FALSE(ok);
        EXPECT_EQ(fresh.width, 0);
        EXPECT_EQ(fresh.height, 0);
        EXPECT_TRUE(fresh.rgb.empty() && fresh.rgba.empty());

        Image reused;
        decodeCaptured(reused, testpictures::bmp24(3, 2, pixels), ok);
        ASSERT_TRUE(ok);
        decodeCaptured(reused, file, ok);
        ASSERT_FALSE(ok);
        EXPECT_EQ(reused.width, 3);
        EXPECT_EQ(reused.height, 2);
        EXPECT_EQ(reused.rgb, testpictures::bottomFirst(3, 2, pixels));
        EXPECT_EQ(reused.rgba, expectedRgba(3, 2, pixels));
    }
}
