// VideoFileTest.cpp: the video writer on its own, with made-up pictures: the
// picture comes out upright and unmirrored in every container, and a file
// that is not finished leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "MediaProbe.h"
#include "VideoFile.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

// BGRA, bottom row first as GL reads it, white in the picture's top-left
// quarter and black elsewhere.
std::vector<uint8_t> topLeftWhite()
{
    std::vector<uint8_t> bgra(static_cast<size_t>(WIDTH) * HEIGHT * 4, 0);
    for (int row = HEIGHT / 2; row < HEIGHT; ++row) {  // bottom-first rows: the upper half
        for (int x = 0; x < WIDTH / 2; ++x) {
            uint8_t* pixel = &bgra[(static_cast<size_t>(row) * WIDTH + x) * 4];
            pixel[0] = pixel[1] = pixel[2] = pixel[3] = 255;
        }
    }
    return bgra;
}

// Mean brightness of a quarter of an RGB picture stored top row first.
double quarterMean(const std::vector<uint8_t>& rgb, bool top, bool left)
{
    double sum = 0.0;
    const int y0 = top ? 0 : HEIGHT / 2;
    const int x0 = left ? 0 : WIDTH / 2;
    for (int y = y0; y < y0 + HEIGHT / 2; ++y) {
        for (int x = x0; x < x0 + WIDTH / 2; ++x) sum += rgb[(static_cast<size_t>(y) * WIDTH + x) * 3 + 1];
    }
    return sum / (WIDTH / 2 * HEIGHT / 2);
}

int filesIn(const fs::path& folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

// Writes `frames` copies of the picture with 20 ms of a quiet tone each.
bool writeFrames(VideoFile& file, const std::vector<uint8_t>& picture, int frames)
{
    std::vector<float> tone(882);
    for (int i = 0; i < 882; ++i) tone[i] = (i % 100 < 50) ? 0.1f : -0.1f;
    for (int frame = 0; frame < frames; ++frame) {
        if (!file.writePicture(picture.data()) || !file.writeSound(tone.data(), tone.data(), 882)) return false;
    }
    return true;
}

}  // namespace

TEST(VideoFile, PictureComesOutUprightAndUnmirroredInEveryContainer)
{
    const fs::path folder = freshFolder("capture-file-upright");
    for (const auto& [name, container] : {std::pair{"q.mp4", Container::Mp4}, std::pair{"q.mkv", Container::Matroska},
                                          std::pair{"q.mov", Container::QuickTime}}) {
        const fs::path path = folder / name;
        VideoFile file;
        ASSERT_TRUE(file.open({path, container, WIDTH, HEIGHT, 18})) << file.error();
        ASSERT_TRUE(writeFrames(file, topLeftWhite(), 5)) << file.error();
        ASSERT_TRUE(file.finish()) << file.error();
        int width = 0;
        int height = 0;
        const auto pictures = decodePictures(path.string(), width, height);
        ASSERT_EQ(pictures.size(), 5u) << name;
        ASSERT_EQ(width, WIDTH);
        ASSERT_EQ(height, HEIGHT);
        EXPECT_GT(quarterMean(pictures[4], true, true), 250.0) << name;
        EXPECT_LT(quarterMean(pictures[4], true, false), 5.0) << name;
        EXPECT_LT(quarterMean(pictures[4], false, true), 5.0) << name;
        EXPECT_LT(quarterMean(pictures[4], false, false), 5.0) << name;
    }
    // Only the three finished files: no temporary left over.
    EXPECT_EQ(filesIn(folder), 3);
}

TEST(VideoFile, UnfinishedOrUnwritableFileLeavesNothingUnderAnyName)
{
    const fs::path folder = freshFolder("capture-file-unfinished");
    {
        VideoFile file;
        ASSERT_TRUE(file.open({folder / "u.mp4", Container::Mp4, WIDTH, HEIGHT, 18})) << file.error();
        EXPECT_TRUE(fs::exists(file.temporaryPath()));
        EXPECT_FALSE(fs::exists(folder / "u.mp4"));
        ASSERT_TRUE(writeFrames(file, topLeftWhite(), 3));
    }  // gone without finish()
    EXPECT_EQ(filesIn(folder), 0);

    for (const fs::path& path : {folder / "missing" / "u.mp4", fs::path(folder)}) {
        VideoFile file;
        EXPECT_FALSE(file.open({path, Container::Mp4, WIDTH, HEIGHT, 18})) << path;
        EXPECT_NE(file.error().find("cannot write"), std::string::npos) << file.error();
        // Every later call fails at once instead of writing.
        EXPECT_FALSE(file.writePicture(topLeftWhite().data()));
        EXPECT_FALSE(file.finish());
    }
    EXPECT_EQ(filesIn(folder), 0);
}
