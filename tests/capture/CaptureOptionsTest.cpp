// CaptureOptionsTest.cpp: the capture's command line and its progress lines,
// without GL or FFmpeg.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CaptureOptions.h"
#include "Progress.h"

namespace {

// The capture's command line as the program builds it: true when it runs.
bool parse(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error)
{
    const cli::ParseResult result = captureCommandLine(options)->read(arguments);
    error = result.error;
    return result.outcome == cli::Outcome::Run;
}

}  // namespace

TEST(CaptureOptions, ContainerFollowsTheExtensionInAnyLetterCase)
{
    EXPECT_EQ(containerFor("show.mp4"), Container::Mp4);
    EXPECT_EQ(containerFor("dir.d/SHOW.MP4"), Container::Mp4);
    EXPECT_EQ(containerFor("show.m4v"), Container::Mp4);
    EXPECT_EQ(containerFor("show.Mov"), Container::QuickTime);
    EXPECT_EQ(containerFor("/tmp/show.mkv"), Container::Matroska);
    // Unknown, missing, bare or a folder's extension only.
    for (const char* name : {"show.avi", "show", "show.mp4.part", ".mp4", "out/.mkv", "dir.mp4/show", "show."}) {
        EXPECT_FALSE(containerFor(name).has_value()) << name;
    }
}

TEST(CaptureOptions, MissingMalformedOrOutOfRangeValuesAreRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--from", "10"},
        {"--video"},
        {"--video", ""},
        {"--video", "a.avi"},
        {"--video", "a.mp4", "--from"},
        {"--video", "a.mp4", "--from", "-1"},
        {"--video", "a.mp4", "--from", "1e3"},
        {"--video", "a.mp4", "--to", "9999999999"},
        {"--video", "a.mp4", "--from", "10", "--to", "10"},
        {"--video", "a.mp4", "--from", "10", "--to", "5"},
        {"--video", "a.mp4", "--crf", "52"},
        {"--video", "a.mp4", "--speed", "2"},
        {"a.mp4"},
    };
    for (const auto& arguments : bad) {
        CaptureOptions options;
        std::string error;
        std::string line;
        for (const auto& argument : arguments) line += argument + " ";
        EXPECT_FALSE(parse(arguments, options, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
        EXPECT_EQ(error.find('\n'), std::string::npos) << line;
    }
}

TEST(CaptureOptions, VideoSizeIsEvenAndInRangeAndThePictureIsFittedWithBars)
{
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--video", "a.mp4", "--size", "1920x1080"}, options, error)) << error;
    EXPECT_EQ(options.size.width, 1920);
    EXPECT_EQ(options.size.height, 1080);
    for (const char* size : {"1921x1080", "1920x1081", "318x240", "320x238", "7682x4320", "7680x4322", "1920",
                             "1920x", "x1080", "1920*1080", "-1920x1080", "1920x1080x2", "99999999x2"}) {
        options = CaptureOptions{};
        EXPECT_FALSE(parse({"--video", "a.mp4", "--size", size}, options, error)) << size;
        EXPECT_EQ(options.size.width, 800) << size;
    }
    struct Case {
        int width, height;
        VideoLayout layout;  // scale, box x, y, width, height
    };
    const Case cases[] = {
        {800, 600, {1, 0, 0, 800, 600}},        {1920, 1080, {2, 240, 0, 1440, 1080}},
        {1440, 1080, {2, 0, 0, 1440, 1080}},    {3840, 2160, {4, 480, 0, 2880, 2160}},
        {2880, 2160, {4, 0, 0, 2880, 2160}},    {1280, 1024, {2, 0, 32, 1280, 960}},
        {320, 240, {1, 0, 0, 320, 240}},        {1000, 700, {2, 34, 0, 932, 700}},
        {7680, 4320, {4, 960, 0, 5760, 4320}},  {1600, 1200, {2, 0, 0, 1600, 1200}},
    };
    for (const Case& c : cases) {
        const VideoLayout got = videoLayout(c.width, c.height);
        EXPECT_EQ(got.scale, c.layout.scale) << c.width << "x" << c.height;
        EXPECT_EQ(got.boxX, c.layout.boxX) << c.width << "x" << c.height;
        EXPECT_EQ(got.boxY, c.layout.boxY) << c.width << "x" << c.height;
        EXPECT_EQ(got.boxWidth, c.layout.boxWidth) << c.width << "x" << c.height;
        EXPECT_EQ(got.boxHeight, c.layout.boxHeight) << c.width << "x" << c.height;
    }
}

TEST(Progress, RateAndTimeLeftWaitForElapsedTime)
{
    // No time yet: no division by zero, no nonsense rate.
    EXPECT_EQ(progressLine(0, 7300, 0.0), "frame 0/7300 (0%), -- fps, -- left");
    EXPECT_EQ(progressLine(50, 100, 10.0), "frame 50/100 (50%), 5.0 fps, 0:10 left");
    EXPECT_EQ(progressLine(730, 7300, 10.0), "frame 730/7300 (10%), 73.0 fps, 1:30 left");
}

TEST(Progress, LogGetsALineEveryFewSecondsNotEveryFrame)
{
    std::FILE* log = std::tmpfile();
    ASSERT_NE(log, nullptr);
    Progress progress(1200, false, log);
    // 1,200 frames over 12 seconds.
    for (int frame = 1; frame <= 1200; ++frame) progress.update(frame, frame / 100.0);
    progress.finish(1200, 12.0);
    std::rewind(log);
    int lines = 0;
    char line[256];
    std::string last;
    for (int i = 0; i < 100 && std::fgets(line, sizeof line, log); ++i) {
        ++lines;
        last = line;
    }
    std::fclose(log);
    EXPECT_EQ(lines, 3);  // at 5 s, at 10 s, and the last
    EXPECT_EQ(last, "quorl-h-capture: frame 1200/1200 (100%), 100.0 fps, 0:00 left\n");
}
