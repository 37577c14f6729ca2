// Mp3Decoder.h: reads a whole MP3 file into float samples with libmpg123.
//
// Used by the measuring tool and by the tests of the music track and the
// music player, which compare against what the file really holds. Not used
// by the show, which plays the file through the platform's audio library.
// Needs: libmpg123 (comes with Debian's libsdl2-mixer-dev).
#pragma once

#include <string>
#include <vector>

namespace music {

// Decoded sound: interleaved float samples in [-1, 1] (they may overshoot a
// little where the encoded signal does).
struct DecodedAudio {
    long rate = 0;
    int channels = 0;
    std::vector<float> samples;

    size_t frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
    double seconds() const { return rate > 0 ? static_cast<double>(frames()) / static_cast<double>(rate) : 0.0; }
};

// Decodes the file at path; false with a reason in error when it is missing,
// unreadable or not MPEG audio.
bool decodeMp3(const std::string& path, DecodedAudio& audio, std::string& error);

}  // namespace music
