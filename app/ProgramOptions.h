// ProgramOptions.h: the show program's command line.
//
//   quorl-h [--window | --fullscreen] [--data DIR] [--start FRAME] [--follow-music] [--sync-log FILE]
//           [--scale K|auto] [--help] [--version]
//
// Every option is an addition: with none, the show starts full screen,
// reads ./data (or the data folder beside or installed with the program)
// and plays from frame 0. Reading is pure: the command line stores what it
// read into the options and reports, it never prints or exits, so the
// program entry decides what goes where.
#pragma once

#include <memory>
#include <string>

#include "cli/CommandLine.h"

struct ProgramOptions {
    bool fullScreen = true;  // --window clears it, --fullscreen sets it
    std::string dataFolder;  // --data DIR; empty: the usual search
    int startFrame = 0;      // --start FRAME, at most cli::LAST_FRAME
    bool followMusic = false;  // --follow-music
    std::string syncLog;     // --sync-log FILE, or QUORL_SYNC_LOG; empty: none
    int scale = 0;           // --scale K: render scale 1 to 4; 0: auto
};

// The show's command line, bound to options.
std::unique_ptr<cli::CommandLine> programCommandLine(ProgramOptions& options);
