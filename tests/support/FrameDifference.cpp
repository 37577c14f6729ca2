// FrameDifference.cpp: the mean and worst-block differences of two frames.
#include "support/FrameDifference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace frames {

Difference difference(const Picture& a, const Picture& b)
{
    Difference d;
    if (a.width != b.width || a.height != b.height || a.empty() || b.empty()) {
        d.mean = d.worstBlock = 255.0;
        return d;
    }
    const int blocksX = (a.width + BLOCK - 1) / BLOCK;
    const int blocksY = (a.height + BLOCK - 1) / BLOCK;
    std::vector<double> blockSums(static_cast<std::size_t>(blocksX) * blocksY, 0.0);
    std::vector<int> blockCounts(blockSums.size(), 0);
    double total = 0.0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const uint8_t* p = a.at(x, y);
            const uint8_t* q = b.at(x, y);
            const int diff = std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
            total += diff;
            const std::size_t block = static_cast<std::size_t>(y / BLOCK) * blocksX + x / BLOCK;
            blockSums[block] += diff;
            blockCounts[block] += 3;
        }
    }
    d.mean = total / (3.0 * a.width * a.height);
    for (std::size_t i = 0; i < blockSums.size(); ++i) {
        const double mean = blockSums[i] / std::max(blockCounts[i], 1);
        if (mean > d.worstBlock) {
            d.worstBlock = mean;
            d.blockX = static_cast<int>(i % blocksX) * BLOCK;
            d.blockY = static_cast<int>(i / blocksX) * BLOCK;
        }
    }
    return d;
}

std::string describe(int frame, const Difference& d)
{
    char line[128];
    std::snprintf(line, sizeof line, "frame %d mean %.3f worst-block %.2f at (%d, %d)", frame, d.mean, d.worstBlock,
                  d.blockX, d.blockY);
    return line;
}

void expectWithinBounds(const char* label, const std::filesystem::path& reference,
                        const std::filesystem::path& folder, int number)
{
    const Difference d = difference(showFrame(reference, number), showFrame(folder, number));
    std::printf("%s %s\n", label, describe(number, d).c_str());
    EXPECT_LE(d.mean, MEAN_BOUND) << label << " " << describe(number, d);
    EXPECT_LE(d.worstBlock, BLOCK_BOUND) << label << " " << describe(number, d);
}

}  // namespace frames
