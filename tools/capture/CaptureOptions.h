// CaptureOptions.h: the command line of quorl-h-capture, and the container
// a file name asks for.
//
//   quorl-h-capture --out FILE [--from A] [--to B] [--data DIR] [--crf N] [--size WxH]
//
// (--video FILE is the older spelling of --out FILE.) Pure: no FFmpeg, no
// GL, so the parsing is tested on its own. A failure gives a one-line
// reason; the program prints it and exits with status 2 before anything is
// rendered or written.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"

// The end picture's first two seconds: the shortest whole show.
inline constexpr int SHOW_END_FRAME = 7300;

// The containers a capture can be written in, chosen by the file's extension.
enum class Container { Mp4, QuickTime, Matroska };

// A video's picture size, as --size gives it.
struct VideoSize {
    int width = 800;
    int height = 600;
};

struct CaptureOptions {
    std::string video;          // output file as given
    Container container = Container::Mp4;
    int from = 0;               // first frame in the video
    int to = SHOW_END_FRAME;    // one past the last
    std::string data;           // empty: ./data
    int crf = 18;               // x264 constant rate factor: 18 looks lossless
    VideoSize size;             // the video's picture size
};

// Video sizes a capture accepts: even numbers from 320 x 240 to 7680 x 4320.
constexpr int MIN_VIDEO_WIDTH = 320, MIN_VIDEO_HEIGHT = 240;
constexpr int MAX_VIDEO_WIDTH = 7680, MAX_VIDEO_HEIGHT = 4320;

// "WxH" (for instance 1920x1080) into width and height; false with a
// one-line `error` when it is malformed, odd, too small or too large.
bool parseVideoSize(std::string_view text, int& width, int& height, std::string& error);
// The same as a stream read, which is how the command line stores --size:
// a size parseVideoSize refuses sets failbit and leaves `size` as it was.
std::istream& operator>>(std::istream& in, VideoSize& size);

// Where the show's 4:3 picture goes in a video of a given size: the largest
// box of that shape that fits, centred, with even sides and offsets (the
// colour planes are half the size), black bars around it; and the render
// scale whose picture is the smallest at least as large as the box (the
// largest scale when none is, and the picture is scaled up).
struct VideoLayout {
    int scale = 1;
    int boxX = 0, boxY = 0, boxWidth = 0, boxHeight = 0;
};
VideoLayout videoLayout(int width, int height);

// The container for a file name by its extension (any letter case): .mp4 and
// .m4v, .mov, .mkv; nothing for any other name.
std::optional<Container> containerFor(std::string_view path);

// FFmpeg's name of a container's muxer.
const char* muxerName(Container container);

// The capture's command line, bound to options.
std::unique_ptr<cli::CommandLine> captureCommandLine(CaptureOptions& options);
