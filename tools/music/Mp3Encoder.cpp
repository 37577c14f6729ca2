// Mp3Encoder.cpp: libmp3lame wrapper of the music generator.
//
// Needs: Mp3Encoder.h, lame/lame.h.
#include "Mp3Encoder.h"

#include <lame/lame.h>

#include <memory>

namespace music {
namespace {

constexpr int BIT_RATE_KBPS = 192;
constexpr int ENCODER_QUALITY = 2;  // 0 best .. 9 fastest; 2 is the usual high setting
constexpr int CHUNK_FRAMES = 1152 * 16;

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

}  // namespace

bool encodeMp3(const StereoBuffer& master, std::vector<uint8_t>& mp3, std::string& error) {
    const std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
    if (!lame) {
        error = "encoder could not be created";
        return false;
    }
    lame_global_flags* const gf = lame.get();
    lame_set_in_samplerate(gf, SAMPLE_RATE);
    lame_set_out_samplerate(gf, SAMPLE_RATE);
    lame_set_num_channels(gf, 2);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_brate(gf, BIT_RATE_KBPS);
    lame_set_VBR(gf, vbr_off);
    lame_set_quality(gf, ENCODER_QUALITY);
    // No tags: they would carry nothing the show reads. The information frame
    // (written again at the end) tells decoders the exact sample count.
    lame_set_write_id3tag_automatic(gf, 0);
    lame_set_bWriteVbrTag(gf, 1);
    if (lame_init_params(gf) < 0) {
        error = "encoder refused its settings";
        return false;
    }

    mp3.clear();
    // Worst case for a chunk, from the encoder's documentation: 1.25 n + 7200.
    std::vector<uint8_t> out(CHUNK_FRAMES * 5 / 4 + 7200);
    const size_t frames = master.frames();
    for (size_t at = 0; at < frames; at += CHUNK_FRAMES) {
        const int count = static_cast<int>(std::min<size_t>(CHUNK_FRAMES, frames - at));
        const int written = lame_encode_buffer_ieee_float(gf, master.left.data() + at, master.right.data() + at,
                                                          count, out.data(), static_cast<int>(out.size()));
        if (written < 0) {
            error = "encoder failed with code " + std::to_string(written);
            return false;
        }
        mp3.insert(mp3.end(), out.begin(), out.begin() + written);
    }
    const int tail = lame_encode_flush(gf, out.data(), static_cast<int>(out.size()));
    if (tail < 0) {
        error = "encoder failed to flush, code " + std::to_string(tail);
        return false;
    }
    mp3.insert(mp3.end(), out.begin(), out.begin() + tail);

    // The first frame was a placeholder of the same size; fill it in now.
    const size_t tagSize = lame_get_lametag_frame(gf, out.data(), out.size());
    if (tagSize > 0 && tagSize <= mp3.size()) std::copy(out.begin(), out.begin() + tagSize, mp3.begin());
    return true;
}

}  // namespace music
