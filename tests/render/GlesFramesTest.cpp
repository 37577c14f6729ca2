// GlesFramesTest.cpp: the show drawn through the GL 1.x layer on an
// OpenGL ES 3 context against the fixed-function frames, in every part.
//
// quorl-h-render-gles renders the same frames as the shared fixture (from
// frame 0, since the show has memory); each pair must stay within the
// bounds of support/FrameDifference.h. The figures are printed, one line a
// frame, for the design notes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/FrameDifference.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

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
                                " --save " + list + " --out " + out.string() + " 2>&1");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const int n : frames::COMPARED_FRAMES) frames::expectWithinBounds("gles", reference, out, n);
}
