// Image.cpp: the BMP reader. Reads what the show needs from the headers:
// signature, pixel-data offset, information-header size, width, height,
// plane count, bits per pixel and compression. Pixels are taken from the
// header's pixel-data offset as 24-bit rows padded to 4 bytes, bottom row
// first, or top row first when the height is negative.
#include "image/Image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "image/PictureBytes.h"

namespace {

// Offsets into the file: the 14-byte file header, then the information
// header. Only its first 40 bytes are read; larger headers (108 and 124
// bytes, written by current editors) add fields the show does not need.
constexpr std::size_t PIXEL_OFFSET_FIELD = 10;
constexpr std::size_t INFO_SIZE_OFFSET = 14;
constexpr std::size_t WIDTH_OFFSET = 18;
constexpr std::size_t HEIGHT_OFFSET = 22;
constexpr std::size_t PLANES_OFFSET = 26;
constexpr std::size_t BPP_OFFSET = 28;
constexpr std::size_t COMPRESSION_OFFSET = 30;
constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t SMALLEST_INFO_HEADER = 40;
// No compression: the only code a 24-bit file may carry.
constexpr std::uint32_t COMPRESSION_NONE = 0;

// Little-endian 32-bit number at offset; the caller has checked the bounds.
std::uint32_t read32(std::span<const std::uint8_t> file, std::size_t offset)
{
    return static_cast<std::uint32_t>(file[offset]) | static_cast<std::uint32_t>(file[offset + 1]) << 8 |
           static_cast<std::uint32_t>(file[offset + 2]) << 16 | static_cast<std::uint32_t>(file[offset + 3]) << 24;
}

// Little-endian 16-bit number at offset; the caller has checked the bounds.
unsigned read16(std::span<const std::uint8_t> file, std::size_t offset)
{
    return static_cast<unsigned>(file[offset]) | static_cast<unsigned>(file[offset + 1]) << 8;
}

// A header field that lies beyond the end of the file.
bool cutShort(std::span<const std::uint8_t> file, std::size_t end, const std::string& path)
{
    if (file.size() >= end) {
        return false;
    }
    std::printf("Header of %s is cut short\n", path.c_str());
    return true;
}

}  // namespace

bool Image::load(const std::string& path)
{
    const auto file = image::readFileBytes(path);
    if (!file) {
        std::printf("File Not Found : %s\n", path.c_str());
        return false;
    }
    return decode(*file, path);
}

// Everything is decoded into locals and moved into the fields only once the
// whole picture is read, so a refused file leaves the previous picture whole.
bool Image::decode(std::span<const std::uint8_t> file, const std::string& path)
{
    if (cutShort(file, 2, path)) {
        return false;
    }
    if (file[0] != 'B' || file[1] != 'M') {
        std::printf("Signature of %s is not BM\n", path.c_str());
        return false;
    }
    if (cutShort(file, FILE_HEADER_SIZE + SMALLEST_INFO_HEADER, path)) {
        return false;
    }
    // A smaller information header (the 12-byte core header) stores its
    // sizes in 16 bits at other places; read as this one it would misread.
    const std::uint32_t infoSize = read32(file, INFO_SIZE_OFFSET);
    if (infoSize < SMALLEST_INFO_HEADER) {
        std::printf("Information header of %s is too small: %u\n", path.c_str(), infoSize);
        return false;
    }

    const auto fileWidth = static_cast<std::int32_t>(read32(file, WIDTH_OFFSET));
    std::printf("Width of %s: %d\n", path.c_str(), fileWidth);
    const auto fileHeight = static_cast<std::int32_t>(read32(file, HEIGHT_OFFSET));
    std::printf("Height of %s: %d\n", path.c_str(), fileHeight);

    const unsigned planes = read16(file, PLANES_OFFSET);
    if (planes != 1) {
        std::printf("Planes from %s is not 1: %u\n", path.c_str(), planes);
        return false;
    }
    const unsigned bpp = read16(file, BPP_OFFSET);
    if (bpp != 24) {
        std::printf("Bpp from %s is not 24: %u\n", path.c_str(), bpp);
        return false;
    }
    const std::uint32_t compression = read32(file, COMPRESSION_OFFSET);
    if (compression != COMPRESSION_NONE) {
        std::printf("Compression of %s is not none: %u\n", path.c_str(), compression);
        return false;
    }

    // The header is trusted for nothing: a zero or giant side would otherwise
    // wrap the byte count or ask for gigabytes before the short pixel data is
    // noticed. A negative height is legal: the rows are then stored top row
    // first. The absolute value is taken in 64 bits, where INT32_MIN has one.
    const std::int64_t rows = fileHeight < 0 ? -std::int64_t{fileHeight} : std::int64_t{fileHeight};
    const bool topDown = fileHeight < 0;
    if (fileWidth <= 0 || rows == 0 || fileWidth > image::MAX_PICTURE_SIDE || rows > image::MAX_PICTURE_SIDE) {
        std::printf("Size of %s is not usable: %d x %d\n", path.c_str(), fileWidth, fileHeight);
        return false;
    }

    // The pixels start where the file header says, after the information
    // header and whatever follows it (a colour table, bit masks, a gap).
    const std::uint32_t pixelOffset = read32(file, PIXEL_OFFSET_FIELD);
    if (std::uint64_t{pixelOffset} < FILE_HEADER_SIZE + std::uint64_t{infoSize}) {
        std::printf("Pixel offset of %s lies inside the headers: %u\n", path.c_str(), pixelOffset);
        return false;
    }
    if (pixelOffset > file.size()) {
        std::printf("Pixel offset of %s lies past the end of the file: %u\n", path.c_str(), pixelOffset);
        return false;
    }

    // Each row is padded to a multiple of 4 bytes in the file; the padding
    // after the last row is not needed to read the picture.
    const std::size_t columns = static_cast<std::size_t>(fileWidth);
    const std::size_t rowCount = static_cast<std::size_t>(rows);
    const std::size_t rowBytes = columns * 3;
    const std::size_t stride = (rowBytes + 3) / 4 * 4;
    const std::size_t needed = stride * (rowCount - 1) + rowBytes;
    if (file.size() - pixelOffset < needed) {
        std::printf("Error reading image data from %s.\n", path.c_str());
        return false;
    }

    std::vector<std::uint8_t> pixels;
    if (!image::allocateBytes(pixels, rowBytes * rowCount)) {
        std::printf("Error allocating memory for color-corrected image data");
        return false;
    }
    // Buffer row r is the r-th row from the bottom of the picture.
    const std::uint8_t* const source = file.data() + pixelOffset;
    for (std::size_t r = 0; r < rowCount; ++r) {
        const std::size_t fileRow = topDown ? rowCount - 1 - r : r;
        std::memcpy(pixels.data() + r * rowBytes, source + fileRow * stride, rowBytes);
    }
    // The file stores blue, green, red.
    image::swapFirstAndThird(pixels);

    std::vector<std::uint8_t> reversed;
    if (!image::allocateBytes(reversed, columns * rowCount * 4)) {
        std::printf("Error allocating memory for color-corrected SDL image data");
        return false;
    }
    image::reverseWithAlpha(pixels, reversed);

    width = fileWidth;
    height = static_cast<std::int32_t>(rows);
    rgb.swap(pixels);
    rgba.swap(reversed);
    return true;
}
