// CaptureOptions.cpp: argument parsing and the extension-to-container table.
#include "CaptureOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

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

bool parseCaptureOptions(std::span<const std::string> arguments, CaptureOptions& options, std::string& error)
{
    CaptureOptions read;
    const cli::ParseResult result =
        captureCommandLine(read)->read(std::vector<std::string>(arguments.begin(), arguments.end()));
    if (result.outcome != cli::Outcome::Run) {
        error = result.outcome == cli::Outcome::Error ? result.error : "nothing to capture";
        return false;
    }
    options = read;
    return true;
}
