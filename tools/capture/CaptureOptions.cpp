// CaptureOptions.cpp: argument parsing and the extension-to-container table.
#include "CaptureOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>
#include "common/Screen.h"

namespace {

// A whole non-negative number of at most 9 digits (so it fits an int and
// frame * 882 samples fits 64 bits with room to spare).
bool parseCount(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::stoi(text);
    return true;
}

}  // namespace

bool parseVideoSize(std::string_view text, int& width, int& height, std::string& error)
{
    const size_t x = text.find_first_of("xX");
    int w = 0;
    int h = 0;
    if (x == std::string_view::npos || x > 5 || text.size() - x - 1 > 5 ||
        !parseCount(std::string(text.substr(0, x)), w) || !parseCount(std::string(text.substr(x + 1)), h)) {
        error = "--size takes WIDTHxHEIGHT, for instance 1920x1080, not " + std::string(text);
        return false;
    }
    if (w % 2 != 0 || h % 2 != 0) {
        error = "--size " + std::string(text) + ": the width and height must be even";
        return false;
    }
    if (w < MIN_VIDEO_WIDTH || h < MIN_VIDEO_HEIGHT || w > MAX_VIDEO_WIDTH || h > MAX_VIDEO_HEIGHT) {
        error = "--size " + std::string(text) + ": the video must be from 320x240 to 7680x4320";
        return false;
    }
    width = w;
    height = h;
    return true;
}

std::istream& operator>>(std::istream& in, VideoSize& size)
{
    std::string text;
    std::string error;
    if (in >> text && !parseVideoSize(text, size.width, size.height, error)) in.setstate(std::ios::failbit);
    return in;
}

VideoLayout videoLayout(int width, int height)
{
    VideoLayout layout;
    // The 4:3 box: full height when the video is wider than 4:3, else full width.
    if (static_cast<long>(width) * PICTURE_HEIGHT > static_cast<long>(height) * PICTURE_WIDTH) {
        layout.boxHeight = height;
        layout.boxWidth = height * PICTURE_WIDTH / PICTURE_HEIGHT;
    } else {
        layout.boxWidth = width;
        layout.boxHeight = width * PICTURE_HEIGHT / PICTURE_WIDTH;
    }
    layout.boxWidth -= layout.boxWidth % 2;
    layout.boxHeight -= layout.boxHeight % 2;
    layout.boxX = (width - layout.boxWidth) / 2 / 2 * 2;
    layout.boxY = (height - layout.boxHeight) / 2 / 2 * 2;
    layout.scale = scaleCovering(layout.boxWidth, layout.boxHeight);
    return layout;
}

std::optional<Container> containerFor(std::string_view path)
{
    static constexpr std::array<std::pair<std::string_view, Container>, 4> EXTENSIONS = {{
        {".mp4", Container::Mp4},
        {".m4v", Container::Mp4},
        {".mov", Container::QuickTime},
        {".mkv", Container::Matroska},
    }};
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
    // A bare extension (".mp4" alone, "dir/.mkv") names no file.
    if (dot == 0 || (slash != std::string_view::npos && dot == slash + 1)) return std::nullopt;
    std::string extension(path.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [name, container] : EXTENSIONS) {
        if (extension == name) return container;
    }
    return std::nullopt;
}

const char* muxerName(Container container)
{
    switch (container) {
    case Container::Mp4: return "mp4";
    case Container::QuickTime: return "mov";
    case Container::Matroska: return "matroska";
    }
    return "mp4";
}

std::unique_ptr<cli::CommandLine> captureCommandLine(CaptureOptions& options)
{
    auto line = std::make_unique<cli::CommandLine>(
        "quorl-h-capture", "Renders the show headless into a video file with its music (H.264 and AAC, 50 fps).");
    line->app()
        .add_option("--out,--video", options.video, "the video file: .mp4, .m4v, .mov or .mkv")
        ->type_name("FILE")
        ->required();
    line->addFrameRange(options.from, options.to, "first frame in the video (every frame before it is drawn too)",
                        "one past the last frame (default: " + std::to_string(SHOW_END_FRAME) + ", the whole show)");
    line->addData(options.data);
    // x264's scale for 8-bit video.
    line->addNumber("--crf", options.crf, 0, 51, "x264 quality, 0 (lossless) to 51; default 18");
    // The check only says what is wrong; the size is stored by the read above.
    const auto sizeError = [](std::string& text) {
        VideoSize unused;
        std::string error;
        parseVideoSize(text, unused.width, unused.height, error);
        return error;
    };
    line->app()
        .add_option("--size", options.size,
                    "video size, even, 320x240 to 7680x4320 (default 800x600), the picture in the middle with black "
                    "bars; the whole show takes about 5 minutes at 1920x1080 and an estimated 20 at 3840x2160 on "
                    "an idle two-core machine with a software renderer")
        ->type_name("WxH")
        ->check(CLI::Validator(sizeError, ""));
    line->require([&options]() -> std::string {
        const std::optional<Container> container = containerFor(options.video);
        if (!container) return "cannot tell the container from '" + options.video + "': use .mp4, .m4v, .mov or .mkv";
        options.container = *container;
        if (options.from >= options.to) {
            return "--from " + std::to_string(options.from) + " must be before the last frame " +
                   std::to_string(options.to);
        }
        return {};
    });
    return line;
}
