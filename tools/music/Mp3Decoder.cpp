// Mp3Decoder.cpp: libmpg123 wrapper, whole file to float samples.
//
// Needs: Mp3Decoder.h, mpg123.h.
#include "Mp3Decoder.h"

#include <mpg123.h>

#include <memory>

namespace music {
namespace {

struct HandleCloser {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};

// Upper bound on decode calls: 2^24 reads of at least one frame is far more
// than any file this project makes, and guards against a decoder that never ends.
constexpr long MAX_READS = 1L << 24;

}  // namespace

bool decodeMp3(const std::string& path, DecodedAudio& audio, std::string& error) {
    audio = DecodedAudio{};
    int status = MPG123_OK;
    const std::unique_ptr<mpg123_handle, HandleCloser> handle(mpg123_new(nullptr, &status));
    if (!handle) {
        error = "decoder could not be created";
        return false;
    }
    mpg123_handle* const mh = handle.get();
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // Float output, so samples beyond full scale show as such instead of clipping.
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);

    if (mpg123_open(mh, path.c_str()) != MPG123_OK) {
        error = "cannot open " + path + ": " + mpg123_strerror(mh);
        return false;
    }
    int encoding = 0;
    if (mpg123_getformat(mh, &audio.rate, &audio.channels, &encoding) != MPG123_OK || audio.channels <= 0) {
        error = "not MPEG audio: " + path;
        return false;
    }
    std::vector<unsigned char> buffer(1 << 16);
    for (long reads = 0; reads < MAX_READS; ++reads) {
        size_t done = 0;
        status = mpg123_read(mh, buffer.data(), buffer.size(), &done);
        const float* samples = reinterpret_cast<const float*>(buffer.data());
        audio.samples.insert(audio.samples.end(), samples, samples + done / sizeof(float));
        if (status == MPG123_DONE) break;
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) {
            error = "decoding failed: " + std::string(mpg123_strerror(mh));
            return false;
        }
    }
    if (audio.samples.empty()) {
        error = "no audio in " + path;
        return false;
    }
    return true;
}

}  // namespace music
