// ProgramOptions.h: the show program's command line.
//
//   quorl-h [--window | --fullscreen] [--data DIR] [--start FRAME] [--scale K|auto] [--help] [--version]
//
// Every option is an addition: with none, the show starts full screen,
// reads ./data (or the installed data folder) and plays from frame 0.
// Parsing is pure: it reads the arguments and reports, it never prints or
// exits, so the program entry decides what goes where.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The latest frame --start accepts. Frames before it are computed one by
// one at start-up, so an unbounded number would be a hang; the show's last
// part (the end picture) is already on for good long before this.
constexpr int LAST_START_FRAME = 100000;

struct ProgramOptions {
    bool fullScreen = true;  // --window clears it, --fullscreen sets it
    std::string dataFolder;  // --data DIR; empty: ./data, then the installed folder
    int startFrame = 0;      // --start FRAME
    int scale = 0;           // --scale K: render scale 1 to 4; 0: auto
};

enum class ParseResult {
    Run,      // options read; go on
    Help,     // --help seen: print the usage to standard output, exit 0
    Version,  // --version seen: print the version, exit 0
    Error,    // bad command line: print the error and the usage to standard error, exit 2
};

// Reads the arguments after the program name. On Error, error says what
// was wrong in one line.
ParseResult parseProgramOptions(const std::vector<std::string_view>& arguments, ProgramOptions& options,
                                std::string& error);

// The usage text, ending in a newline.
std::string programUsage();
