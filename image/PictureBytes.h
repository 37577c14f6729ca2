// PictureBytes.h: byte-level helpers shared by the picture readers.
//
// Both readers (Image for BMP, JPGImage for JPEG) read the whole file into
// memory first and decode from there, so decoding is testable without files.
// They also share the pixel reshuffling that turns decoded pixels into the
// upload buffers, the size limit that guards every allocation, and an
// allocation that reports failure instead of throwing. No GL, no SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace image {

// Largest width or height either reader accepts. Bigger sides come from
// broken or hostile headers; refusing them keeps every byte count far below
// overflow and every allocation sane.
constexpr std::int64_t MAX_PICTURE_SIDE = 16384;
// Largest picture area the JPEG reader accepts (8192 x 8192). A JPEG header
// of a few bytes can claim any size, and decoding one at the largest sides
// would take gigabytes in the decoder's and the picture's buffers; a BMP must
// hold its pixels in the file, so its sides are limit enough.
constexpr std::int64_t MAX_JPEG_PIXELS = 8192LL * 8192LL;

// Whole contents of the file, or nothing when it cannot be opened. A read
// error after opening yields the bytes read so far (the decoder then reports
// the picture as cut short).
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path);

// Resizes buffer to size bytes; false when memory is short (no exception
// leaves this function).
bool allocateBytes(std::vector<std::uint8_t>& buffer, std::size_t size);

// Exchanges the first and third byte of each 3-byte pixel (blue, green, red
// becomes red, green, blue and back).
void swapFirstAndThird(std::span<std::uint8_t> pixels);

// Writes the pixels of the packed 3-byte buffer rgb into the 4-byte buffer
// rgba in reverse order with alpha 255: rgba pixel k = rgb pixel N - 1 - k.
// rgba must hold 4 bytes for each of the N = rgb.size() / 3 pixels.
void reverseWithAlpha(std::span<const std::uint8_t> rgb, std::span<std::uint8_t> rgba);

}  // namespace image
