// FuzzPictureReaders.cpp: libFuzzer entry point for the two picture readers.
//
// Every input is handed to both decoders straight from memory; each must
// return (true or false) without crashing, hanging or touching memory
// outside the input. tools/fuzz/run-fuzz builds and runs it beside the 3DS
// reader's target; -close_fd_mask=1 silences the readers' messages.
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/Image.h"
#include "image/JPGImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    Image bmp;
    bmp.decode(bytes, "fuzz.bmp");
    JPGImage jpeg;
    jpeg.decode(bytes, "fuzz.jpg");
    return 0;
}
