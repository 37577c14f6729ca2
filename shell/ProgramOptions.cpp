// ProgramOptions.cpp: reading the show program's options.
#include "shell/ProgramOptions.h"

#include <charconv>

#include "common/Screen.h"

namespace {

// A whole decimal number from 0 to LAST_START_FRAME, nothing else.
bool parseStartFrame(std::string_view text, int& frame)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > LAST_START_FRAME) return false;
    frame = value;
    return true;
}

}  // namespace

ParseResult parseProgramOptions(const std::vector<std::string_view>& arguments, ProgramOptions& options,
                                std::string& error)
{
    bool help = false;
    bool version = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        // "--data DIR" and "--data=DIR" alike.
        std::string_view name = argument;
        std::string_view value;
        bool hasValue = false;
        if (const size_t equals = argument.find('='); argument.starts_with("--") && equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasValue = true;
        }
        const bool takesValue = name == "--data" || name == "--start" || name == "--scale";
        if (!takesValue && hasValue) {
            error = "option " + std::string(name) + " takes no value";
            return ParseResult::Error;
        }
        if (takesValue && !hasValue) {
            if (i + 1 >= arguments.size()) {
                error = "option " + std::string(name) + " needs a value";
                return ParseResult::Error;
            }
            value = arguments[++i];
        }
        if (name == "--window") {
            options.fullScreen = false;
        } else if (name == "--fullscreen") {
            options.fullScreen = true;
        } else if (name == "--data") {
            if (value.empty()) {
                error = "option --data needs a folder";
                return ParseResult::Error;
            }
            options.dataFolder = std::string(value);
        } else if (name == "--start") {
            if (!parseStartFrame(value, options.startFrame)) {
                error = "option --start needs a frame number from 0 to " + std::to_string(LAST_START_FRAME) +
                        ", not '" + std::string(value) + "'";
                return ParseResult::Error;
            }
        } else if (name == "--scale") {
            const ScaleChoice choice = parseScale(std::string(value), true);
            if (!choice.valid) {
                error = "option --scale: " + choice.error;
                return ParseResult::Error;
            }
            options.scale = choice.scale;
        } else if (name == "--help") {
            help = true;
        } else if (name == "--version") {
            version = true;
        } else {
            error = "unknown option '" + std::string(argument) + "'";
            return ParseResult::Error;
        }
    }
    // Asking for help wins over asking for the version, as either ends the run.
    if (help) return ParseResult::Help;
    if (version) return ParseResult::Version;
    return ParseResult::Run;
}

std::string programUsage()
{
    return "usage: quorl-h [--window | --fullscreen] [--data DIR] [--start FRAME] [--scale K|auto] [--help]\n"
           "               [--version]\n"
           "  --window        play in an 800 x 600 window instead of full screen\n"
           "  --fullscreen    play full screen (the default)\n"
           "  --data DIR      read the show's pictures, models and music from DIR\n"
           "  --start FRAME   play from FRAME on (50 frames a second; 0 to " +
           std::to_string(LAST_START_FRAME) +
           ")\n"
           "  --scale K|auto  draw the show at K times its 800 x 600 picture (K = 1 to 4), sharp on a\n"
           "                  large screen; auto (the default) takes the smallest K that covers the\n"
           "                  picture's area on the screen, and 1 on a software renderer (llvmpipe,\n"
           "                  softpipe, swrast), which could not keep up; F1 chooses again for the new\n"
           "                  window. The K in use is printed at start and after each F1.\n"
           "  --help          print this help and exit\n"
           "  --version       print the version and exit\n"
           "Keys: Escape or Q quits, Space pauses, F1 switches between full screen and a window.\n";
}
