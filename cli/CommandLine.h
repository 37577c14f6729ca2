// CommandLine.h: the one command-line layer every program of the show uses.
//
// A thin frame around CLI11 (Debian's libcli11-dev, header-only): each
// program makes a CommandLine with its name and a one-line description,
// adds its options (the shared ones through the helpers below, its own
// straight on app()), and calls parse(). Every program thereby gets
//   --help      the options, on standard output, exit status 0;
//   --version   "PROGRAM VERSION" on standard output, exit status 0;
//   a bad argument: one line "PROGRAM: what is wrong" on standard error,
//               exit status 2, before anything is loaded or written.
// Shared spellings: --data DIR, --from FRAME, --to FRAME, --out PATH.
// Frame numbers are plain decimal digits from 0 to LAST_FRAME; checks that
// tie options together (a range the wrong way round) are added with
// require() and run after CLI11's own.
//
// Adding an option to a program is one line, for instance
//   line.app().add_option("--out", options.out, "folder of the saved frames")->type_name("DIR");
// and every value is stored through CLI11's binding of the option to its
// variable; the checks and the transforms below only read and rewrite text.
// Needs: CLI11. No GL, no SDL.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace cli {

// The latest frame any program accepts: the end picture has long been on by
// then, and every frame before a start is computed, so more would be a hang.
inline constexpr int LAST_FRAME = 100000;

// What reading a command line came to.
enum class Outcome {
    Run,      // options read; go on
    Help,     // --help: the help text to standard output, exit 0
    Version,  // --version: the version line to standard output, exit 0
    Error,    // bad command line: one line to standard error, exit 2
};

struct ParseResult {
    Outcome outcome = Outcome::Run;
    std::string out;    // what goes to standard output (help, version)
    std::string error;  // the line for standard error, without program name or newline
};

class CommandLine {
public:
    CommandLine(std::string program, std::string description);
    ~CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    CLI::App& app();

    // --data DIR: the folder of the show's pictures, models and music.
    CLI::Option* addData(std::string& folder);
    // A frame number option (--from, --to, --start, ...) from 0 to LAST_FRAME.
    CLI::Option* addFrame(const std::string& name, int& frame, const std::string& help);
    // A whole number option from low to high (counts, quality settings).
    CLI::Option* addNumber(const std::string& name, int& value, int low, int high, const std::string& help,
                           const std::string& typeName = "N");
    // --scale K: a render scale from 1 to MAX_RENDER_SCALE and, where
    // `autoAllowed`, "auto", stored as 0.
    CLI::Option* addScale(int& scale, bool autoAllowed, const std::string& help);
    // --from A and --to B, with A before B when both are given; gives --to.
    CLI::Option* addFrameRange(int& from, int& to, const std::string& fromHelp, const std::string& toHelp);
    // A check over several options, run after parsing: returns the error
    // line, or an empty string when all is well.
    void require(std::function<std::string()> check);
    // Text shown after the options in --help.
    void footer(const std::string& text);

    // Reads the arguments after the program name; prints nothing.
    ParseResult read(const std::vector<std::string>& arguments);
    // Reads argv and prints as the banner says; an exit status when the
    // program is to end at once, nothing when it is to run.
    std::optional<int> parse(int argc, char** argv);

private:
    std::string program;
    std::unique_ptr<CLI::App> cli;
    std::vector<std::function<std::string()>> checks;
};

}  // namespace cli
