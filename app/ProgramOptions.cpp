// ProgramOptions.cpp: the show program's options on the shared command line.
#include "app/ProgramOptions.h"

#include <CLI/CLI.hpp>

std::unique_ptr<cli::CommandLine> programCommandLine(ProgramOptions& options)
{
    auto line = std::make_unique<cli::CommandLine>("quorl-h", "Quorl-H, a real-time OpenGL show with music.");
    CLI::App& app = line->app();
    CLI::Option* window = app.add_flag_callback(
        "--window", [&options] { options.fullScreen = false; }, "play in an 800 x 600 window instead of full screen");
    CLI::Option* fullScreen = app.add_flag_callback(
        "--fullscreen", [&options] { options.fullScreen = true; }, "play full screen (the default)");
    window->excludes(fullScreen);
    line->addData(options.dataFolder);
    line->addFrame("--start", options.startFrame,
                   "play from FRAME on (50 frames a second, 0 to " + std::to_string(cli::LAST_FRAME) +
                       "); the frames before it are stepped quickly without being drawn");
    app.add_flag("--follow-music", options.followMusic,
                 "keep the picture on the music's time on a machine too slow for 50 frames a second: frames "
                 "behind the music are stepped, not drawn; Space pauses the music too");
    app.add_option("--sync-log", options.syncLog,
                   "write the frame number and music position once a second to FILE (also QUORL_SYNC_LOG)")
        ->type_name("FILE")
        ->envname("QUORL_SYNC_LOG");
    line->addScale(
        options.scale, true,
        "draw the show at K times its 800 x 600 picture (K = 1 to 4), sharp on a large screen; auto (the "
        "default) takes the smallest K that covers the picture's area on the screen, and 1 on a software "
        "renderer (llvmpipe, softpipe, swrast), which could not keep up; F1 chooses again for the new window. "
        "The K in use is printed at start and after each F1");
    line->footer("Keys: Escape or Q quits, Space pauses, F1 switches between full screen and a window.");
    return line;
}
