// CommandLine.cpp: the shared options and the one-line errors on CLI11.
#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "common/Screen.h"

#ifndef QUORL_VERSION
#define QUORL_VERSION "unknown"
#endif

namespace cli {

namespace {

// Plain decimal digits within [low, high]. CLI11's own conversion would take
// " 12", "+5", "0x10" and "010" (as 8); a frame number is none of those.
CLI::Validator wholeNumber(int low, int high)
{
    const std::string range = std::to_string(low) + " to " + std::to_string(high);
    return CLI::Validator(
        [low, high, range](std::string& text) -> std::string {
            const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
            const size_t first = text.find_first_not_of('0');
            const std::string value = first == std::string::npos ? "0" : text.substr(first);
            if (!digits || value.size() > 9 || std::stoi(value) < low || std::stoi(value) > high) {
                return "takes a whole number from " + range + ", not '" + text + "'";
            }
            text = value;  // leading zeros would read as octal
            return {};
        },
        "");
}

}  // namespace

CommandLine::CommandLine(std::string program, std::string description)
    : program(std::move(program)), cli(std::make_unique<CLI::App>(std::move(description), this->program))
{
    // "--window=yes" is a mistake, not a way of saying --window.
    cli->option_defaults()->disable_flag_override();
    cli->set_help_flag("-h,--help", "print this help and exit");
    cli->set_version_flag("--version", this->program + " " + QUORL_VERSION, "print the version and exit");
    cli->get_formatter()->column_width(24);
}

CommandLine::~CommandLine() = default;

CLI::App& CommandLine::app()
{
    return *cli;
}

CLI::Option* CommandLine::addData(std::string& folder)
{
    return cli->add_option("--data", folder, "read the show's pictures, models and music from DIR")
        ->type_name("DIR")
        ->check(CLI::Validator(
            [](std::string& text) { return text.empty() ? std::string("needs a folder") : std::string(); }, ""));
}

CLI::Option* CommandLine::addFrame(const std::string& name, int& frame, const std::string& help)
{
    return addNumber(name, frame, 0, LAST_FRAME, help, "FRAME");
}

CLI::Option* CommandLine::addNumber(const std::string& name, int& value, int low, int high, const std::string& help,
                                    const std::string& typeName)
{
    return cli->add_option(name, value, help)->type_name(typeName)->transform(wholeNumber(low, high));
}

CLI::Option* CommandLine::addScale(int& scale, bool autoAllowed, const std::string& help)
{
    // One digit, "1" to the largest scale; "auto" becomes the 0 it is stored as.
    const auto text = [autoAllowed](std::string& value) -> std::string {
        if (autoAllowed && value == "auto") {
            value = "0";
            return {};
        }
        if (value.size() == 1 && value[0] >= '1' && value[0] <= '0' + MAX_RENDER_SCALE) return {};
        return "the render scale must be 1 to " + std::to_string(MAX_RENDER_SCALE) + (autoAllowed ? " or auto" : "") +
               ", not '" + value + "'";
    };
    return cli->add_option("--scale", scale, help)
        ->type_name(autoAllowed ? "K|auto" : "K")
        ->transform(CLI::Validator(text, ""));
}

CLI::Option* CommandLine::addFrameRange(int& from, int& to, const std::string& fromHelp, const std::string& toHelp)
{
    CLI::Option* fromOption = addFrame("--from", from, fromHelp);
    CLI::Option* toOption = addFrame("--to", to, toHelp);
    require([&from, &to, fromOption, toOption]() -> std::string {
        if (fromOption->count() == 0 || toOption->count() == 0 || from < to) return {};
        return "--from " + std::to_string(from) + " must be before --to " + std::to_string(to);
    });
    return toOption;
}

void CommandLine::require(std::function<std::string()> check)
{
    checks.push_back(std::move(check));
}

void CommandLine::footer(const std::string& text)
{
    cli->footer(text);
}

ParseResult CommandLine::read(const std::vector<std::string>& arguments)
{
    ParseResult result;
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        cli->parse(reversed);
    } catch (const CLI::CallForHelp&) {
        result.outcome = Outcome::Help;
        result.out = cli->help();
        return result;
    } catch (const CLI::CallForVersion& version) {
        result.outcome = Outcome::Version;
        result.out = std::string(version.what()) + "\n";
        return result;
    } catch (const CLI::ParseError& error) {
        result.outcome = Outcome::Error;
        result.error = error.what();
        return result;
    }
    for (const auto& check : checks) {
        if (std::string error = check(); !error.empty()) {
            result.outcome = Outcome::Error;
            result.error = error;
            return result;
        }
    }
    return result;
}

std::optional<int> CommandLine::parse(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParseResult result = read(arguments);
    if (!result.out.empty()) std::fputs(result.out.c_str(), stdout);
    if (!result.error.empty()) {
        // One line, whatever the library's message held.
        std::string line = result.error;
        for (char& c : line) {
            if (c == '\n') c = ' ';
        }
        std::fprintf(stderr, "%s: %s (--help lists the options)\n", program.c_str(), line.c_str());
    }
    switch (result.outcome) {
    case Outcome::Run: return std::nullopt;
    case Outcome::Help:
    case Outcome::Version: return 0;
    case Outcome::Error: break;
    }
    return 2;
}

}  // namespace cli
