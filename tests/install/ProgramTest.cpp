// ProgramTest.cpp: the show program as a person starts it: bad options, help
// and version, no display; and the menu entry and manual page as the
// desktop and man check them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/ToolRun.h"

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

TEST_F(Program, EveryProgramRefusesABadCommandLineWithOneLineAndStatus2)
{
    // Program, then arguments each of which must be refused before anything
    // is loaded, drawn or written.
    const std::vector<std::pair<std::string, std::vector<std::string>>> table = {
        {"quorl-h", {"--bogus", "--window extra", "--start", "--start -5", "--start 100001", "--data",
                     "--window --fullscreen", "--window=yes"}},
        {"quorl-h-render", {"", "--from 10 --to 5", "--to 100001", "--to 10 --save 3,x", "--to 10 --watch 0"}},
        {"quorl-h-capture", {"", "--out a.avi", "--out a.mp4 --to 999999", "--out a.mp4 --from 10 --to 5",
                             "--out a.mp4 --from 7300", "--out a.mp4 --crf 52"}},
        {"quorl-h-check", {"", "--dump"}},
        {"quorl-h-3dsinfo", {"", "--bogus x.3ds"}},
    };
    for (const auto& [program, cases] : table) {
        for (const std::string& arguments : cases) {
            const CommandRun result = run(std::string(QUORL_BUILD_DIR "/") + program + " " + arguments);
            const std::string what = program + " " + arguments + ": " + result.err;
            EXPECT_EQ(result.status, 2) << what;
            EXPECT_TRUE(result.out.empty()) << what;
            EXPECT_EQ(result.err.rfind(program + ": ", 0), 0u) << what;
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << what;
        }
    }
    EXPECT_NE(run(QUORL_BUILD_DIR "/quorl-h --bogus").err.find("--bogus"), std::string::npos);
    EXPECT_NE(run(QUORL_BUILD_DIR "/quorl-h-render --from 10 --to 5").err.find("--from 10 must be before --to 5"),
              std::string::npos);
}

TEST_F(Program, EveryProgramPrintsHelpAndVersionOnStandardOutputAndExits0)
{
    for (const char* program : {"quorl-h", "quorl-h-render", "quorl-h-capture", "quorl-h-check", "quorl-h-3dsinfo"}) {
        CommandRun result = run(std::string(QUORL_BUILD_DIR "/") + program + " --help");
        EXPECT_EQ(result.status, 0) << program;
        EXPECT_NE(result.out.find(std::string("Usage: ") + program), std::string::npos) << result.out;
        EXPECT_TRUE(result.err.empty()) << result.err;
        result = run(std::string(QUORL_BUILD_DIR "/") + program + " --version");
        EXPECT_EQ(result.status, 0) << program;
        EXPECT_EQ(result.out, std::string(program) + " " QUORL_VERSION "\n");
    }
    EXPECT_NE(run(QUORL_BUILD_DIR "/quorl-h --help").out.find("--start FRAME"), std::string::npos);
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
    const std::string entry = readFile(QUORL_SOURCE_DIR "/packaging/quorl-h.desktop");
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
