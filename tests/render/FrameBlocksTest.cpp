// FrameBlocksTest.cpp: every checked frame of the show against its stored
// look, block by block. The other frame tests check what a part must show
// (a picture upright, a ball in the middle, shadows on the floor) and let
// through faults that keep those traits: a metaball normal turned, a tube
// seam, a fade constant, a texture turned on the bodies. Here each frame's
// 50 x 50 pixel blocks must keep their mean colour within three levels: a
// rounding difference of the renderer (one level in any pixel) stays inside
// that, while any of those faults moves whole blocks (a texture turned on
// the bodies moves 10 to 16 blocks by more than four levels).
//
// After a deliberate change of the look, check the new frames by eye, then
// run this test with QUORL_UPDATE_BLOCKS=1 to store them, and say so in the
// commit.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/ShowFrames.h"

namespace {

std::string frameName(int number) { return "frame-" + std::to_string(number); }

}  // namespace

// Every frame the shared rendering saves (support/frames.txt).
TEST(FrameBlocks, EveryCheckedFrameLooksAsStored)
{
    const std::vector<int>& checked = frames::LISTED_FRAMES;
    const std::filesystem::path folder = frames::showFrames(checked);
    ASSERT_FALSE(folder.empty());
    std::vector<std::pair<std::string, frames::Blocks>> shown;
    for (const int number : checked) {
        const frames::Picture picture = frames::showFrame(folder, number);
        ASSERT_FALSE(picture.empty()) << number;
        shown.emplace_back(frameName(number), frames::blockMeans(picture));
    }
    if (std::getenv(frames::UPDATE_BLOCKS_VARIABLE)) {
        ASSERT_TRUE(frames::writeBlocks(QUORL_FRAME_BLOCKS, shown));
        std::printf("stored the blocks of %zu frames in %s\n", shown.size(), QUORL_FRAME_BLOCKS);
        return;
    }
    const auto stored = frames::readBlocks(QUORL_FRAME_BLOCKS);
    ASSERT_EQ(stored.size(), shown.size()) << "stored frames in " << QUORL_FRAME_BLOCKS;
    for (size_t i = 0; i < shown.size(); ++i) {
        ASSERT_EQ(stored[i].first, shown[i].first);
        EXPECT_EQ(frames::blockDifferences(shown[i].second, stored[i].second, frames::BLOCK_TOLERANCE), "")
            << shown[i].first;
    }
}
