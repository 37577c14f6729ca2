// MissingDataTest.cpp: a --data folder that lacks the show's files is used
// as named: each missing file gets its message and the frames go on. Runs alone in its program: the
// show's state is program-wide.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/Screen.h"
#include "platform/DataFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace fs = std::filesystem;

TEST(MissingData, DataFolderWithoutTheShowsFilesIsUsedAndEachMissingFileReported)
{
    const fs::path startFolder = fs::current_path();
    ASSERT_TRUE(fs::exists("data/logga.bmp")) << "runs in the build folder, beside the show's own data";
    const fs::path missing = fs::temp_directory_path() / ("quorl-no-data-" + std::to_string(::getpid()));
    fs::create_directories(missing);

    testing::internal::CaptureStderr();
    ASSERT_TRUE(platform::useExistingDataFolder("quorl-h", missing));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "quorl-h: data from " + missing.string() + "\n");
    EXPECT_FALSE(fs::exists("data/logga.bmp")) << "the build's own data must not be used instead";

    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless);
    Shell shell(headless, timeline);
    testing::internal::CaptureStdout();
    const bool opened = shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false);
    bool running = opened;
    for (int pass = 0; running && pass < 50; ++pass) running = shell.mainLoopPass();
    const std::string printed = testing::internal::GetCapturedStdout();
    if (!opened) GTEST_SKIP() << "no GL context available";
    EXPECT_TRUE(running);
    EXPECT_EQ(timeline.frame, 50);
    EXPECT_NE(printed.find("File Not Found : ./data/logga.bmp"), std::string::npos) << printed;
    shell.closeWindow();
    platform::setCurrent(nullptr);
    fs::current_path(startFolder);
    fs::remove_all(missing);
}
