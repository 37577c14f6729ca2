// ProgramOptionsTest.cpp: the show program's command line, and the window
// option carried through the shell to the platform.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "FakePlatform.h"
#include "shell/ProgramOptions.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

struct Parsed {
    ParseResult result;
    ProgramOptions options;
    std::string error;
};

Parsed parse(std::vector<std::string_view> arguments)
{
    Parsed parsed{ParseResult::Run, {}, {}};
    parsed.result = parseProgramOptions(arguments, parsed.options, parsed.error);
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
    EXPECT_EQ(parsed.result, ParseResult::Run);
    EXPECT_TRUE(parsed.options.fullScreen);
    EXPECT_TRUE(parsed.options.dataFolder.empty());
    EXPECT_EQ(parsed.options.startFrame, 0);
    EXPECT_EQ(parsed.options.scale, 0) << "the render scale is auto by default";
}

TEST(ProgramOptions, ValuesAreTakenAsNextArgumentOrAfterAnEqualsSign)
{
    Parsed parsed = parse({"--window", "--data", "/srv/show data", "--start", "3600"});
    ASSERT_EQ(parsed.result, ParseResult::Run) << parsed.error;
    EXPECT_FALSE(parsed.options.fullScreen);
    EXPECT_EQ(parsed.options.dataFolder, "/srv/show data");
    EXPECT_EQ(parsed.options.startFrame, 3600);

    parsed = parse({"--data=relative/data", "--start=100000", "--fullscreen"});
    ASSERT_EQ(parsed.result, ParseResult::Run) << parsed.error;
    EXPECT_TRUE(parsed.options.fullScreen);
    EXPECT_EQ(parsed.options.dataFolder, "relative/data");
    EXPECT_EQ(parsed.options.startFrame, LAST_START_FRAME);
    parsed = parse({"--start", "0070"});
    EXPECT_EQ(parsed.options.startFrame, 70) << "leading zeros are decimal, not octal";

    parsed = parse({"--scale", "3"});
    ASSERT_EQ(parsed.result, ParseResult::Run) << parsed.error;
    EXPECT_EQ(parsed.options.scale, 3);
    parsed = parse({"--scale=auto"});
    ASSERT_EQ(parsed.result, ParseResult::Run) << parsed.error;
    EXPECT_EQ(parsed.options.scale, 0);

    // A value that looks like an option is still the value.
    parsed = parse({"--data", "--window"});
    ASSERT_EQ(parsed.result, ParseResult::Run);
    EXPECT_EQ(parsed.options.dataFolder, "--window");
    EXPECT_TRUE(parsed.options.fullScreen);
}

TEST(ProgramOptions, StartFrameOutsideTheShowOrNotANumberIsRefusedNotWrapped)
{
    for (const std::string_view bad :
         {"-1", "", "abc", "12x", " 12", "+5", "0x10", "100001", "2147483648", "99999999999999999999"}) {
        const Parsed parsed = parse({"--start", bad});
        EXPECT_EQ(parsed.result, ParseResult::Error) << "'" << bad << "'";
        EXPECT_NE(parsed.error.find("--start"), std::string::npos) << parsed.error;
        EXPECT_EQ(parsed.options.startFrame, 0) << "'" << bad << "' must leave the start frame alone";
    }
}

TEST(ProgramOptions, UnknownMisspelledOrIncompleteOptionsAreErrorsThatSayWhich)
{
    const std::vector<std::vector<std::string_view>> bad = {
        {"--bogus"}, {"-w"}, {"show.mp3"}, {"--Window"}, {"--window=yes"}, {"--data"}, {"--data="},
        {"--start"}, {"--window", "--start"}, {"--help=me"}, {"--window", "--fullscreen"},
        {"--scale"}, {"--scale", "5"}, {"--scale=0"},
    };
    for (const auto& arguments : bad) {
        const Parsed parsed = parse(arguments);
        EXPECT_EQ(parsed.result, ParseResult::Error) << arguments.front();
        EXPECT_FALSE(parsed.error.empty());
    }
    EXPECT_NE(parse({"--bogus"}).error.find("--bogus"), std::string::npos);
    EXPECT_NE(programUsage().find("Usage: quorl-h"), std::string::npos);
}

TEST(ProgramOptions, HelpAndVersionEndTheRunWhateverElseIsGiven)
{
    EXPECT_EQ(parse({"--help"}).result, ParseResult::Help);
    EXPECT_EQ(parse({"--version"}).result, ParseResult::Version);
    EXPECT_EQ(parse({"--window", "--start", "10", "--version"}).result, ParseResult::Version);
    EXPECT_EQ(parse({"--help", "--bogus"}).result, ParseResult::Help);
    EXPECT_EQ(parse({"--start", "x", "--help"}).result, ParseResult::Error) << "a bad value is seen first";
}

TEST(ProgramOptions, WindowOptionNeverAttemptsFullScreen)
{
    // Through the shell as the program wires it, ended by closing the window.
    for (const bool window : {true, false}) {
        const Parsed parsed = window ? parse({"--window"}) : parse({});
        FakePlatform fake;
        NoShow show;
        Shell shell(fake, show);
        shell.fullScreen = parsed.options.fullScreen;
        fake.events.push_back(platform::Event{});  // Quit
        EXPECT_EQ(shell.run(), 0);
        EXPECT_EQ(fake.windowsCreated, 1);
        EXPECT_EQ(fake.fullScreenAttempts, window ? 0 : 1) << (window ? "--window" : "no option");
    }
}
