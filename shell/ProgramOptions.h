// ProgramOptions.h: the show program's command line.
//
//   quorl-h [--window | --fullscreen] [--data DIR] [--start FRAME] [--scale K|auto] [--help] [--version]
//
// Every option is an addition: with none, the show starts full screen,
// reads ./data (or the data folder beside or installed with the program)
// and plays from frame 0. Parsing is pure: it reads the arguments and
// reports, it never prints or exits, so the program entry decides what goes
// where.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"

// The latest frame --start accepts. Frames before it are stepped one by
// one at start-up, so an unbounded number would be a hang; the show's last
// part (the end picture) is already on for good long before this.
constexpr int LAST_START_FRAME = cli::LAST_FRAME;

struct ProgramOptions {
    bool fullScreen = true;  // --window clears it, --fullscreen sets it
    std::string dataFolder;  // --data DIR; empty: the usual search
    int startFrame = 0;      // --start FRAME
    bool followMusic = false;  // --follow-music
    std::string syncLog;     // --sync-log FILE, or QUORL_SYNC_LOG; empty: none
    int scale = 0;           // --scale K: render scale 1 to 4; 0: auto
};

using ParseResult = cli::Outcome;

// The show's command line, bound to options.
std::unique_ptr<cli::CommandLine> programCommandLine(ProgramOptions& options);

// Reads the arguments after the program name. On Error, error says what
// was wrong in one line.
ParseResult parseProgramOptions(const std::vector<std::string_view>& arguments, ProgramOptions& options,
                                std::string& error);

// The help text, ending in a newline.
std::string programUsage();
