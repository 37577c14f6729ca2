// Mp3Encoder.h: turns the finished master into MP3 bytes with libmp3lame.
//
// Fixed settings (44,100 samples per second, joint stereo, 192 kbit/s
// constant rate, quality 2, an information frame at the start so players
// know the exact length) and a single thread make the bytes depend on the
// samples alone.
// Needs: libmp3lame (Debian's libmp3lame-dev), Dsp.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Dsp.h"

namespace music {

// Encodes master; false with a reason in error when the encoder refuses.
bool encodeMp3(const StereoBuffer& master, std::vector<uint8_t>& mp3, std::string& error);

}  // namespace music
