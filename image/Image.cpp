// Image.cpp: the BMP reader. Reads only what the show needs from the
// headers: width, height, plane count and bits per pixel; the pixels are
// taken from byte 54 on as unpadded 24-bit rows.
#include "image/Image.h"

#include <algorithm>
#include <cstdio>

#include "image/PictureBytes.h"

namespace {

// Offsets into the file: the 14-byte file header, then the information
// header whose size field is skipped unseen.
constexpr std::size_t WIDTH_OFFSET = 18;
constexpr std::size_t HEIGHT_OFFSET = 22;
constexpr std::size_t PLANES_OFFSET = 26;
constexpr std::size_t BPP_OFFSET = 28;
// The pixels follow the 40-byte information header directly; the header's
// own pixel-data offset is not consulted.
constexpr std::size_t PIXEL_OFFSET = 54;

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

bool Image::decode(std::span<const std::uint8_t> file, const std::string& path)
{
    if (cutShort(file, WIDTH_OFFSET + 4, path)) {
        return false;
    }
    width = static_cast<std::int32_t>(read32(file, WIDTH_OFFSET));
    std::printf("Width of %s: %d\n", path.c_str(), width);

    if (cutShort(file, HEIGHT_OFFSET + 4, path)) {
        return false;
    }
    height = static_cast<std::int32_t>(read32(file, HEIGHT_OFFSET));
    std::printf("Height of %s: %d\n", path.c_str(), height);

    if (cutShort(file, PLANES_OFFSET + 2, path)) {
        return false;
    }
    const unsigned planes = read16(file, PLANES_OFFSET);
    if (planes != 1) {
        std::printf("Planes from %s is not 1: %u\n", path.c_str(), planes);
        return false;
    }

    if (cutShort(file, BPP_OFFSET + 2, path)) {
        return false;
    }
    const unsigned bpp = read16(file, BPP_OFFSET);
    if (bpp != 24) {
        std::printf("Bpp from %s is not 24: %u\n", path.c_str(), bpp);
        return false;
    }

    // The header is trusted for nothing: a zero, negative or giant side would
    // otherwise wrap the byte count or ask for gigabytes before the short
    // pixel data is noticed. Top-down BMPs (negative height) are refused too,
    // since the buffers' order assumes the bottom row comes first.
    if (width <= 0 || height <= 0 || width > image::MAX_PICTURE_SIDE || height > image::MAX_PICTURE_SIDE) {
        std::printf("Size of %s is not usable: %d x %d\n", path.c_str(), width, height);
        return false;
    }
    const std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::size_t rgbSize = pixelCount * 3;

    // Rows are taken as exactly width * 3 bytes; row padding in the file is
    // not skipped, so only widths whose rows need none come out unshifted.
    if (file.size() < PIXEL_OFFSET || file.size() - PIXEL_OFFSET < rgbSize) {
        std::printf("Error reading image data from %s.\n", path.c_str());
        return false;
    }

    if (!image::allocateBytes(rgb, rgbSize)) {
        std::printf("Error allocating memory for color-corrected image data");
        return false;
    }
    const auto pixels = file.subspan(PIXEL_OFFSET, rgbSize);
    std::copy(pixels.begin(), pixels.end(), rgb.begin());
    // The file stores blue, green, red.
    image::swapFirstAndThird(rgb);

    if (!image::allocateBytes(rgba, pixelCount * 4)) {
        std::printf("Error allocating memory for color-corrected SDL image data");
        return false;
    }
    image::reverseWithAlpha(rgb, rgba);
    return true;
}
