// PictureBytes.cpp: file reading, safe allocation and pixel reshuffling for
// the picture readers.
#include "image/PictureBytes.h"

#include <cstdio>
#include <new>
#include <stdexcept>

namespace image {

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path)
{
    std::FILE* const file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return std::nullopt;
    }
    // Read in chunks rather than trusting a size from seeking: it also works
    // for pipes and stops cleanly on a read error (a directory, say).
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t CHUNK = 64 * 1024;
    std::uint8_t chunk[CHUNK];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, CHUNK, file);
        if (got > 0) {
            try {
                bytes.insert(bytes.end(), chunk, chunk + got);
            } catch (const std::bad_alloc&) {
                break;  // what was read so far is judged by the decoder
            }
        }
        if (got < CHUNK) {
            break;
        }
    }
    std::fclose(file);
    return bytes;
}

bool allocateBytes(std::vector<std::uint8_t>& buffer, std::size_t size)
{
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

void swapFirstAndThird(std::span<std::uint8_t> pixels)
{
    const std::size_t count = pixels.size() / 3;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* const p = pixels.data() + i * 3;
        const std::uint8_t first = p[0];
        p[0] = p[2];
        p[2] = first;
    }
}

void reverseWithAlpha(std::span<const std::uint8_t> rgb, std::span<std::uint8_t> rgba)
{
    const std::size_t count = rgb.size() / 3;
    if (rgba.size() < count * 4) {
        return;  // callers size rgba from rgb; a mismatch must not write past the end
    }
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t* const from = rgb.data() + (count - 1 - k) * 3;
        std::uint8_t* const to = rgba.data() + k * 4;
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 255;
    }
}

}  // namespace image
