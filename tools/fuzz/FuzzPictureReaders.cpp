// FuzzPictureReaders.cpp: libFuzzer entry point for the two picture readers.
//
// Every input is handed to both decoders straight from memory; each must
// return (true or false) without crashing, hanging or touching memory
// outside the input, and must leave its record consistent: sizes that match
// the buffers, whether the picture was read or refused. tools/fuzz/run-fuzz
// builds and runs it beside the 3DS reader's target; -close_fd_mask=1
// silences the readers' messages.
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/Image.h"
#include "image/JPGImage.h"

namespace {

// rgba holds exactly 4 bytes per pixel, rgb at least 3 (JPEG rows are
// allocated rounded up).
void checkConsistent(std::size_t width, std::size_t height, std::size_t rgb, std::size_t rgba)
{
    if (rgba != width * height * 4 || rgb < width * height * 3) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    Image bmp;
    bmp.decode(bytes, "fuzz.bmp");
    checkConsistent(static_cast<std::size_t>(bmp.width), static_cast<std::size_t>(bmp.height), bmp.rgb.size(),
                    bmp.rgba.size());
    JPGImage jpeg;
    jpeg.decode(bytes, "fuzz.jpg");
    checkConsistent(jpeg.width, jpeg.height, jpeg.rgb.size(), jpeg.rgba.size());
    return 0;
}
