// WholeShowTest.cpp: the whole show and two thousand frames of the end
// picture after it, rendered with GL error checks: no GL error anywhere,
// and resident memory flat once the end picture is up (a leak per frame,
// a texture made per frame or a growing buffer shows here). Time per frame
// is printed for the record and never judged.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>

#include "support/ToolRun.h"

namespace {

// Standard output and error together.
ToolRun render(const std::string& arguments)
{
    return runTool("./quorl-h-render " + arguments + " 2>&1 </dev/null");
}

}  // namespace

TEST(WholeShow, NoGlErrorAndNoMemoryGrowthFromStartToLongAfterTheEnd)
{
    const ToolRun run = render("--check-gl --watch 500 --from 0 --to 9300");
    ASSERT_EQ(run.status, 0) << report(run);
    EXPECT_EQ(run.output.find("gl-error"), std::string::npos) << report(run);

    std::map<int, long> residentKb;  // by frame
    const std::regex line(R"(watch frame (\d+) rss_kb (\d+) mean_ms ([0-9.]+))");
    for (std::sregex_iterator it(run.output.begin(), run.output.end(), line), end; it != end; ++it) {
        residentKb[std::stoi((*it)[1])] = std::stol((*it)[2]);
        std::printf("%s\n", it->str().c_str());
    }
    ASSERT_TRUE(residentKb.count(7500) && residentKb.count(9000)) << report(run);
    // 1,500 frames of the end picture: even 8 bytes kept per frame stays
    // far below this bound, a picture or texture kept per frame far above.
    EXPECT_LT(residentKb[9000] - residentKb[7500], 4 * 1024) << "memory grows while the end picture is up";
}
