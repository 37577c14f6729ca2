// main.cpp: the show's program entry: reads the options, makes sure there is
// a display and finds the show's data, then runs the shell on the SDL window
// backend.
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/ProgramOptions.h"
#include "platform/CrashReport.h"
#include "platform/DataFolder.h"
#include "platform/Platform.h"
#include "platform/sdl/SdlPlatform.h"
#include "shell/SyncLog.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

// Said when the show would otherwise play where nobody can see it.
constexpr const char* NO_DISPLAY_TEXT =
    "quorl-h: no display: the show needs an X11 or Wayland display to play on.\n"
    "quorl-h: quorl-h-render (the show's frames as picture files) and the video capture work without one.\n";

bool displayNamed()
{
#ifdef _WIN32
    return true;  // a Windows session always has its desktop to draw on
#endif
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv)
{
    ProgramOptions options;
    if (const auto status = programCommandLine(options)->parse(argc, argv)) return *status;

    // With no data at all the show would play a grey screen behind a
    // message box per file; one message naming where it looked instead.
    if (!platform::useToolData("quorl-h", options.dataFolder)) return 1;

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
    Timeline timeline(sdl, options.startFrame, options.followMusic);
    platform::installCrashReport("quorl-h", &timeline.frame);
    SyncLog syncLog;
    ShellSettings settings{.fullScreen = options.fullScreen, .scale = options.scale, .announceScale = true};
    if (!options.syncLog.empty()) {
        if (!syncLog.open(options.syncLog)) {
            std::fprintf(stderr, "quorl-h: cannot write %s\n", options.syncLog.c_str());
            return 1;
        }
        settings.frameShown = [&](double drawMs, double presentMs) {
            syncLog.frameShown(timeline.frame, sdl.ticks(), sdl.musicPositionMs(), drawMs, presentMs);
        };
    }
    Shell shell(sdl, timeline, std::move(settings));
    return shell.run();
}
