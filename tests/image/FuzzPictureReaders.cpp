// FuzzPictureReaders.cpp: libFuzzer entry point for the two picture readers.
//
// Every input is handed to both decoders straight from memory; each must
// return (true or false) without crashing, hanging or touching memory
// outside the input. Built only when QUORL_FUZZ is set with clang, e.g.
//   CC=clang CXX=clang++ cmake -S . -B fuzz-image -DQUORL_FUZZ=ON
//   cmake --build fuzz-image --target fuzz_picture_readers
//   fuzz-image/tests/image/fuzz_picture_readers -close_fd_mask=1 -max_total_time=30
// (-close_fd_mask=1 silences the readers' messages on standard output.)
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
