// ProgramTest.cpp: the show program as a person starts it: bad options, help
// and version, no display; and the menu entry and manual page as the
// desktop and man check them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "Command.h"

namespace fs = std::filesystem;

namespace {

struct Program : testing::Test {
    fs::path scratch;
    void SetUp() override
    {
        scratch = fs::temp_directory_path() / ("quorl-program-test-" + std::to_string(::getpid()));
        fs::create_directories(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }
    CommandRun run(const std::string& command) { return runCommand(command, scratch); }
};

using PackageFiles = Program;

}  // namespace

TEST_F(Program, UnknownOptionPrintsTheUsageOnStandardErrorAndExits2)
{
    for (const char* arguments : {"--bogus", "--window extra", "--start", "--start -5", "--data"}) {
        const CommandRun result = run(std::string(QUORL_BUILD_DIR "/quorl-h ") + arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_TRUE(result.out.empty()) << arguments;
        EXPECT_NE(result.err.find("usage: quorl-h"), std::string::npos) << arguments << ": " << result.err;
    }
    EXPECT_NE(run(QUORL_BUILD_DIR "/quorl-h --bogus").err.find("'--bogus'"), std::string::npos);
}

TEST_F(Program, HelpAndVersionPrintOnStandardOutputAndExit0)
{
    CommandRun result = run(QUORL_BUILD_DIR "/quorl-h --help");
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("usage: quorl-h"), std::string::npos);
    EXPECT_NE(result.out.find("--start FRAME"), std::string::npos);
    EXPECT_TRUE(result.err.empty()) << result.err;
    result = run(QUORL_BUILD_DIR "/quorl-h --version");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "quorl-h " QUORL_VERSION "\n");
}

TEST_F(Program, RefusesToPlayUnseenWithoutADisplay)
{
    // As from a text console or over SSH without X. The time limit only
    // keeps a show that wrongly plays unseen from hanging the test.
    const CommandRun result =
        run("cd " + quoted(scratch) + " && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "
            "SDL_AUDIODRIVER=dummy timeout 120 " QUORL_BUILD_DIR "/quorl-h --window");
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_NE(result.err.find("needs an X11 or Wayland display"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("quorl-h-render"), std::string::npos) << result.err;
}

TEST_F(PackageFiles, DesktopEntryValidatesCleanly)
{
    const CommandRun result = run("desktop-file-validate " QUORL_SOURCE_DIR "/packaging/quorl-h.desktop");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out + result.err, "") << "desktop-file-validate has remarks";
    const std::string entry = readWholeFile(QUORL_SOURCE_DIR "/packaging/quorl-h.desktop");
    EXPECT_NE(entry.find("\nExec=quorl-h\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=quorl-h\n"), std::string::npos);
}

TEST_F(PackageFiles, ManualPageFormatsWithoutWarnings)
{
    const CommandRun result =
        run("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " QUORL_BUILD_DIR "/packaging/man/quorl-h.6");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "") << "man reports problems in the page";
    for (const char* section : {"OPTIONS", "KEYS", "FILES", "RENDERING WITHOUT A DISPLAY", "--start"}) {
        EXPECT_NE(result.out.find(section), std::string::npos) << section;
    }
    EXPECT_EQ(result.out.find("@PROJECT_VERSION@"), std::string::npos);
}
