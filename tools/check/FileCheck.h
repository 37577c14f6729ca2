// FileCheck.h: checks one of the show's files with the show's own readers.
//
// For people who replace the show's pictures, models or music with their
// own: a file is read exactly as the show would read it (the BMP and JPEG
// readers, the 3DS reader; the music with libmpg123, which decodes what the
// audio library plays), and the outcome is summed up in one line: kind,
// sizes or counts, and OK, DAMAGED (loaded, but something was lost or
// repaired on the way) or REFUSED (the show would not load it) with the
// reason. The readers' own messages are caught while they run and give the
// reasons. Decoded pictures are kept, top row first, for comparison with
// other decoders. Needs: image/, reader3ds/, libmpg123. No GL.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace check {

enum class Kind { Bmp, Jpeg, Model, Music, Unknown };

// Seconds of music the show plays through: its running order up to the end
// picture's first two seconds (7,300 frames at 20 ms). A shorter track goes
// quiet before the show ends.
inline constexpr int SHOW_MUSIC_SECONDS = 146;
enum class Status { Ok, Damaged, Refused };

// A decoded picture: 8-bit RGB, top row first, each row left to right.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

struct Report {
    Kind kind = Kind::Unknown;
    Status status = Status::Refused;
    std::string details;  // sizes, counts or duration; empty when nothing was read
    std::string reason;   // why it is DAMAGED or REFUSED
    std::optional<Picture> picture;

    // "PATH: KIND DETAILS, STATUS[: REASON]"
    std::string line(const std::string& path) const;
};

// Kind of a file from its name's extension (any case), else from its first
// bytes; Unknown when neither tells.
Kind kindOf(const std::string& path);

// Reads the file at path as the given kind.
Report checkFile(const std::string& path, Kind kind);

// True when n is a power of two (1, 2, 4, ...).
constexpr bool isPowerOfTwo(std::int64_t n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace check
