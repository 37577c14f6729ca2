// main.cpp: the show's program entry: reads the options, makes sure there is
// a display and finds the show's data, then runs the shell on the SDL window
// backend.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DataFolder.h"
#include "platform/Platform.h"
#include "platform/sdl/SdlPlatform.h"
#include "shell/ProgramOptions.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

#ifndef QUORL_VERSION
#define QUORL_VERSION "unknown"
#endif

namespace {

// Said when the show would otherwise play where nobody can see it.
constexpr const char* NO_DISPLAY_TEXT =
    "quorl-h: no display: the show needs an X11 or Wayland display to play on.\n"
    "quorl-h: quorl-h-render (the show's frames as picture files) and the video capture work without one.\n";

bool displayNamed()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    ProgramOptions options;
    std::string error;
    switch (parseProgramOptions(arguments, options, error)) {
    case ParseResult::Help: std::fputs(programUsage().c_str(), stdout); return 0;
    case ParseResult::Version: std::printf("quorl-h %s\n", QUORL_VERSION); return 0;
    case ParseResult::Error:
        std::fprintf(stderr, "quorl-h: %s\n%s", error.c_str(), programUsage().c_str());
        return 2;
    case ParseResult::Run: break;
    }

    if (options.dataFolder.empty()) {
        platform::useShowData("quorl-h");
    } else {
        platform::useGivenData("quorl-h", options.dataFolder);
    }

    platform::SdlPlatform sdl;
    // With no display SDL falls back to a driver that draws nowhere, and the
    // show would play unseen until killed. Video that does not come up at
    // all is left to the window's own message when a display was named.
    const bool videoUp = sdl.initialiseVideo();
    if (videoUp ? sdl.videoShowsNothing() : !displayNamed()) {
        std::fputs(NO_DISPLAY_TEXT, stderr);
        return 1;
    }

    platform::setCurrent(&sdl);
    Timeline timeline(sdl);
    timeline.startFrame = options.startFrame;
    Shell shell(sdl, timeline);
    shell.fullScreen = options.fullScreen;
    shell.scaleRequest = options.scale;
    shell.announceScale = true;
    return shell.run();
}
