// JPGImage.cpp: the JPEG reader on libjpeg.
//
// libjpeg reports fatal errors through a callback that must not return; its
// default ends the process. Here the callback jumps back with longjmp to a
// guard around each group of library calls. Only C structures live between
// the guard and the library, so no C++ destructor is ever skipped; the
// buffers are allocated outside the guarded steps.
#include "image/JPGImage.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "image/Message.h"
#include "image/PictureBytes.h"

namespace {

// A progressive file may carry any number of scans, each a full pass over
// the picture; a hostile one could keep the decoder busy for minutes.
constexpr int MAX_SCANS = 500;

// libjpeg's error manager extended with the way back and the failure text.
struct ErrorManager {
    jpeg_error_mgr base;  // first, so libjpeg's pointer to it is ours as well
    std::jmp_buf jump;
    const char* path;
    char message[JMSG_LENGTH_MAX];
};

// Everything one decode needs from libjpeg; plain C data, zeroed at start.
struct Decoder {
    jpeg_decompress_struct info;
    ErrorManager error;
    jpeg_progress_mgr progress;
};

ErrorManager& errorOf(j_common_ptr info) { return *reinterpret_cast<ErrorManager*>(info->err); }

// Fatal error: keep libjpeg's text and return to the guard.
[[noreturn]] void jumpOut(j_common_ptr info)
{
    ErrorManager& error = errorOf(info);
    info->err->format_message(info, error.message);
    std::longjmp(error.jump, 1);
}

// Warnings and traces. Running out of data is a warning to libjpeg, which
// would fill the rest with grey; a cut-short picture is refused instead.
// Other warnings (damaged but decodable data) are printed once.
void onMessage(j_common_ptr info, int level)
{
    if (level >= 0) {
        return;  // trace output is not wanted
    }
    if (info->err->msg_code == JWRN_JPEG_EOF) {
        jumpOut(info);
    }
    if (info->err->num_warnings++ == 0) {
        char text[JMSG_LENGTH_MAX];
        info->err->format_message(info, text);
        std::printf("Warning while decoding %s: %s\n", errorOf(info).path, text);
    }
}

// Fatal error found by this reader rather than by libjpeg.
[[noreturn]] void failWith(j_common_ptr info, const char* text)
{
    ErrorManager& error = errorOf(info);
    std::snprintf(error.message, sizeof error.message, "%s", text);
    std::longjmp(error.jump, 1);
}

// Called by libjpeg between passes; stops files with absurdly many scans.
void limitScans(j_common_ptr info)
{
    if (!info->is_decompressor) {
        return;
    }
    const auto* const decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MAX_SCANS) {
        failWith(info, "too many scans");
    }
}

// Runs step; false when libjpeg failed inside it (the reason is in
// decoder.error.message). step and the library calls it makes hold no
// objects with destructors, which is what makes the jump back safe.
template <class Step>
bool guarded(Decoder& decoder, Step&& step)
{
    if (setjmp(decoder.error.jump) != 0) {
        return false;
    }
    step();
    return true;
}

}  // namespace

bool JPGImage::load(const std::string& path)
{
    const auto file = image::readFileBytes(path);
    if (!file) {
        std::printf("File Not Found : %s\n", path.c_str());
        return false;
    }
    return decode(*file, path);
}

bool JPGImage::decode(std::span<const std::uint8_t> file, const std::string& path)
{
    Decoder decoder{};
    jpeg_decompress_struct* const info = &decoder.info;
    info->err = jpeg_std_error(&decoder.error.base);
    decoder.error.base.error_exit = jumpOut;
    decoder.error.base.emit_message = onMessage;
    decoder.error.path = path.c_str();
    decoder.progress.progress_monitor = limitScans;

    // Header: size and channel count. The file's colour space follows from
    // the channel count as libjpeg reads it (grey for one channel, YCbCr for
    // three, RGB only when the file's markers say so); the output is always
    // red, green, blue, so grey pictures come out with three equal bytes.
    const bool headerRead = guarded(decoder, [&] {
        jpeg_create_decompress(info);
        info->progress = &decoder.progress;
        jpeg_mem_src(info, file.data(), static_cast<unsigned long>(file.size()));
        jpeg_read_header(info, TRUE);
        info->out_color_space = JCS_RGB;
    });
    if (!headerRead) {
        std::printf("Error decoding %s: %s\n", path.c_str(), decoder.error.message);
        jpeg_destroy_decompress(info);
        return false;
    }

    const std::uint32_t fileWidth = info->image_width;
    const std::uint32_t fileHeight = info->image_height;
    if (fileWidth == 0 || fileHeight == 0 || fileWidth > image::MAX_PICTURE_SIDE ||
        fileHeight > image::MAX_PICTURE_SIDE ||
        static_cast<std::int64_t>(fileWidth) * fileHeight > image::MAX_JPEG_PIXELS) {
        std::printf("Size of %s is not usable: %u x %u\n", path.c_str(), fileWidth, fileHeight);
        jpeg_destroy_decompress(info);
        return false;
    }
    if (info->num_components != 1 && info->num_components != 3) {
        std::printf("Channels of %s not supported: %d\n", path.c_str(), info->num_components);
        jpeg_destroy_decompress(info);
        return false;
    }

    // Rows rounded up to 4 bytes, as the pixel layout with row padding would
    // need; the decoder below writes them packed all the same.
    const std::size_t packedRow = static_cast<std::size_t>(fileWidth) * 3;
    const std::size_t roundedRow = (packedRow + 3) / 4 * 4;
    std::vector<std::uint8_t> decodedRgb;
    if (!image::allocateBytes(decodedRgb, roundedRow * fileHeight)) {
        showMessage("malloc error JPGImage, load", "MALLOC ERROR");
        jpeg_destroy_decompress(info);
        return false;
    }

    // Scan lines arrive top first and are stored from the last row upward.
    std::uint8_t* const pixels = decodedRgb.data();
    std::uint32_t outputWidth = 0;
    std::uint32_t outputHeight = 0;
    const bool decoded = guarded(decoder, [&] {
        jpeg_start_decompress(info);
        if (info->output_width != fileWidth || info->output_height != fileHeight ||
            info->output_components != 3) {
            // Cannot happen at scale 1, but rgb was sized from the header.
            failWith(reinterpret_cast<j_common_ptr>(info), "output size differs from the header");
        }
        while (info->output_scanline < info->output_height) {
            JSAMPROW row = pixels + (fileHeight - 1 - info->output_scanline) * packedRow;
            // The memory source never suspends, so no progress means a
            // broken decoder state; stop rather than spin.
            if (jpeg_read_scanlines(info, &row, 1) != 1) {
                failWith(reinterpret_cast<j_common_ptr>(info), "decoder made no progress");
            }
        }
        outputWidth = info->output_width;
        outputHeight = info->output_height;
        jpeg_finish_decompress(info);
    });
    jpeg_destroy_decompress(info);
    if (!decoded) {
        std::printf("Error decoding %s: %s\n", path.c_str(), decoder.error.message);
        return false;
    }
    // libjpeg delivers red, green, blue directly, so the blue/red exchange
    // that a blue-first decoder would need is not done here.

    const std::size_t pixelCount = static_cast<std::size_t>(outputWidth) * outputHeight;
    std::vector<std::uint8_t> reversed;
    if (!image::allocateBytes(reversed, pixelCount * 4)) {
        showMessage("Error allocating memory for color-corrected SDL image data", "MALLOC ERROR");
        return false;
    }
    image::reverseWithAlpha(std::span<const std::uint8_t>(decodedRgb).first(pixelCount * 3), reversed);

    // Only a whole picture replaces the fields: a refused file leaves the
    // previous one (or the empty record) as it was.
    width = outputWidth;
    height = outputHeight;
    rgb.swap(decodedRgb);
    rgba.swap(reversed);
    return true;
}
