// GlesFramesTest.cpp: the show drawn through the GL 1.x layer on an
// OpenGL ES 3 context against the fixed-function frames, in every part.
//
// quorl-h-render-gles renders the same frames as the shared fixture (from
// frame 0, since the show has memory); each pair must stay within the
// bounds of support/FrameDifference.h. The figures are printed, one line a
// frame, for the design notes. The same run prints the layer's counters for
// every frame, and those hold the layer to its fast path: counts, not times,
// so that the check does not depend on the machine's load.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/FrameDifference.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

// One "layer-counters frame N part NAME name value ..." line.
struct FrameCounts {
    int frame = -1;
    std::string part;
    std::map<std::string, long long> value;
};

std::vector<FrameCounts> readCounters(const std::string& output)
{
    std::vector<FrameCounts> frames;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string tag, frameWord, partWord;
        FrameCounts counts;
        if (!(words >> tag >> frameWord >> counts.frame >> partWord >> counts.part) || tag != "layer-counters") continue;
        std::string name;
        for (long long v = 0; words >> name >> v;) counts.value[name] = v;
        frames.push_back(counts);
    }
    return frames;
}

// Draws a frame of each part makes at most: the show's batches, each one
// draw (a draw per quad or per primitive would be hundreds).
const std::map<std::string, long long> MOST_DRAWS = {{"logo", 13}, {"intro", 13}, {"wave", 2}, {"metaballs", 3},
                                                     {"spin", 5},  {"tunnels", 4}, {"bodies", 13}, {"end", 2}};

}  // namespace

TEST(GlesFrames, LayerFramesStayWithinTheBoundsOfTheFixedFunctionFrames)
{
    const fs::path reference = frames::showFrames(frames::COMPARED_FRAMES);
    ASSERT_FALSE(reference.empty()) << "fixed-function frames could not be rendered";
    const fs::path out = fs::temp_directory_path() / "quorl-gles-frames";
    fs::remove_all(out);
    const std::string list = frames::frameList(frames::COMPARED_FRAMES);
    // --check-gl: an unsupported call or enum in the layer leaves an error.
    const ToolRun run = runTool("./quorl-h-render-gles --check-gl --from 0 --to " +
                                std::to_string(frames::COMPARED_FRAMES.back() + 1) +
                                " --save " + list + " --layer-counters all --out " + out.string() + " 2>&1");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const int n : frames::COMPARED_FRAMES) frames::expectWithinBounds("gles", reference, out, n);

    const std::vector<FrameCounts> counted = readCounters(run.output);
    ASSERT_EQ(counted.size(), static_cast<std::size_t>(frames::COMPARED_FRAMES.back() + 1));
    std::string previousPart;
    for (const FrameCounts& f : counted) {
        const bool firstOfPart = f.part != previousPart;
        previousPart = f.part;
        auto at = [&f](const char* name) { return f.value.count(name) ? f.value.at(name) : -1; };
        const std::string where = "frame " + std::to_string(f.frame) + " (" + f.part + ")";
        // The framebuffer never comes back to memory: copies into textures stay on the GPU.
        EXPECT_EQ(at("read_backs"), 0) << where;
        // A picture goes up once, when its part begins, never frame after frame.
        EXPECT_LE(at("texture_uploads"), firstOfPart ? 1 : 0) << where;
        // One streaming buffer: its storage renewed at most once a frame, not per draw.
        EXPECT_LE(at("buffer_allocations"), 1) << where;
        // A program switch only when the state key changes.
        EXPECT_LE(at("program_switches"), at("draws")) << where;
        ASSERT_TRUE(MOST_DRAWS.count(f.part)) << where;
        EXPECT_LE(at("draws"), MOST_DRAWS.at(f.part)) << where;
        if (f.part == "logo" && f.frame > 0) {
            // One textured quad, nothing about it changing but its vertices.
            EXPECT_EQ(at("draws"), 1) << where;
            EXPECT_EQ(at("uniform_uploads"), 0) << where;
            EXPECT_EQ(at("buffer_bytes"), 4 * static_cast<long long>(sizeof(float)) * 13) << where;
        }
    }
}
