// ProgramOptionsTest.cpp: the show program's command line, and the window
// option carried through the shell to the platform.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "FakePlatform.h"
#include "app/ProgramOptions.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

using cli::Outcome;

struct Parsed {
    cli::ParseResult result;
    ProgramOptions options;
};

// The show's command line as the program builds it, reading `arguments`.
Parsed parse(const std::vector<std::string>& arguments)
{
    Parsed parsed;
    parsed.result = programCommandLine(parsed.options)->read(arguments);
    return parsed;
}

class NoShow : public Show {
public:
    void loadShow() override {}
    void drawFrame() override {}
};

}  // namespace

TEST(ProgramOptions, NoOptionsPlayFullScreenFromTheStartWithTheUsualData)
{
    const Parsed parsed = parse({});
    EXPECT_EQ(parsed.result.outcome, Outcome::Run);
    EXPECT_TRUE(parsed.options.fullScreen);
    EXPECT_TRUE(parsed.options.dataFolder.empty());
    EXPECT_EQ(parsed.options.startFrame, 0);
    EXPECT_EQ(parsed.options.scale, 0) << "the render scale is auto by default";
}

TEST(ProgramOptions, ValuesAreTakenAsNextArgumentOrAfterAnEqualsSign)
{
    Parsed parsed = parse({"--window", "--data", "/srv/show data", "--start", "3600"});
    ASSERT_EQ(parsed.result.outcome, Outcome::Run) << parsed.result.error;
    EXPECT_FALSE(parsed.options.fullScreen);
    EXPECT_EQ(parsed.options.dataFolder, "/srv/show data");
    EXPECT_EQ(parsed.options.startFrame, 3600);

    parsed = parse({"--data=relative/data", "--start=100000", "--fullscreen"});
    ASSERT_EQ(parsed.result.outcome, Outcome::Run) << parsed.result.error;
    EXPECT_TRUE(parsed.options.fullScreen);
    EXPECT_EQ(parsed.options.dataFolder, "relative/data");
    EXPECT_EQ(parsed.options.startFrame, cli::LAST_FRAME);
    parsed = parse({"--start", "0070"});
    EXPECT_EQ(parsed.options.startFrame, 70) << "leading zeros are decimal, not octal";

    parsed = parse({"--scale", "3"});
    ASSERT_EQ(parsed.result.outcome, Outcome::Run) << parsed.result.error;
    EXPECT_EQ(parsed.options.scale, 3);
    parsed = parse({"--scale=auto"});
    ASSERT_EQ(parsed.result.outcome, Outcome::Run) << parsed.result.error;
    EXPECT_EQ(parsed.options.scale, 0);

    // A value that looks like an option is still the value.
    parsed = parse({"--data", "--window"});
    ASSERT_EQ(parsed.result.outcome, Outcome::Run);
    EXPECT_EQ(parsed.options.dataFolder, "--window");
    EXPECT_TRUE(parsed.options.fullScreen);
}

TEST(ProgramOptions, StartFrameOutsideTheShowOrNotANumberIsRefusedNotWrapped)
{
    for (const char* bad :
         {"-1", "", "abc", "12x", " 12", "+5", "0x10", "100001", "2147483648", "99999999999999999999"}) {
        const Parsed parsed = parse({"--start", bad});
        EXPECT_EQ(parsed.result.outcome, Outcome::Error) << "'" << bad << "'";
        EXPECT_NE(parsed.result.error.find("--start"), std::string::npos) << parsed.result.error;
        EXPECT_EQ(parsed.options.startFrame, 0) << "'" << bad << "' must leave the start frame alone";
    }
}

TEST(ProgramOptions, UnknownMisspelledOrIncompleteOptionsAreErrorsThatSayWhich)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"-w"}, {"show.mp3"}, {"--Window"}, {"--window=yes"}, {"--data"}, {"--data="},
        {"--start"}, {"--window", "--start"}, {"--help=me"}, {"--window", "--fullscreen"},
        {"--scale"}, {"--scale", "5"}, {"--scale=0"},
    };
    for (const auto& arguments : bad) {
        const Parsed parsed = parse(arguments);
        EXPECT_EQ(parsed.result.outcome, Outcome::Error) << arguments.front();
        EXPECT_FALSE(parsed.result.error.empty());
    }
    EXPECT_NE(parse({"--bogus"}).result.error.find("--bogus"), std::string::npos);
    EXPECT_NE(parse({"--help"}).result.out.find("Usage: quorl-h"), std::string::npos);
}

// The one reader of --scale, as the show (auto allowed) and the tools (not) add it.
TEST(ScaleOption, TakesOneToFourAndAutoWhereAllowedAndQuotesWhatItRefuses)
{
    // The text, whether auto is allowed, and the scale read (-1: refused).
    const std::tuple<const char*, bool, int> cases[] = {
        {"1", false, 1}, {"4", true, 4},   {"auto", true, 0}, {"auto", false, -1}, {"0", true, -1},   {"5", true, -1},
        {"2.0", true, -1}, {"", true, -1}, {" 2", true, -1},  {"AUTO", true, -1},  {"12", true, -1},
    };
    for (const auto& [text, autoAllowed, expected] : cases) {
        cli::CommandLine line("quorl-h-render", "");
        int scale = -1;
        line.addScale(scale, autoAllowed, "");
        const cli::ParseResult result = line.read({"--scale", text});
        EXPECT_EQ(result.outcome == Outcome::Run, expected >= 0) << "'" << text << "': " << result.error;
        EXPECT_EQ(scale, expected) << "'" << text << "'";
        const bool quoted = result.error.find(std::string("not '") + text + "'") != std::string::npos;
        EXPECT_EQ(quoted, expected < 0) << result.error;
    }
}

TEST(ProgramOptions, HelpAndVersionEndTheRunWhateverElseIsGiven)
{
    EXPECT_EQ(parse({"--help"}).result.outcome, Outcome::Help);
    EXPECT_EQ(parse({"--version"}).result.outcome, Outcome::Version);
    EXPECT_EQ(parse({"--window", "--start", "10", "--version"}).result.outcome, Outcome::Version);
    EXPECT_EQ(parse({"--help", "--bogus"}).result.outcome, Outcome::Help);
    EXPECT_EQ(parse({"--start", "x", "--help"}).result.outcome, Outcome::Error) << "a bad value is seen first";
}

TEST(ProgramOptions, WindowOptionNeverAttemptsFullScreen)
{
    // Through the shell as the program wires it, ended by closing the window.
    for (const bool window : {true, false}) {
        const Parsed parsed = window ? parse({"--window"}) : parse({});
        FakePlatform fake;
        NoShow show;
        Shell shell(fake, show, ShellSettings{.fullScreen = parsed.options.fullScreen});
        fake.events.push_back(platform::Event{});  // Quit
        EXPECT_EQ(shell.run(), 0);
        EXPECT_EQ(fake.windowsCreated, 1);
        EXPECT_EQ(fake.fullScreenAttempts, window ? 0 : 1) << (window ? "--window" : "no option");
    }
}
