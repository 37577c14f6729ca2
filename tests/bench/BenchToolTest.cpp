// BenchToolTest.cpp: quorl-h-bench end to end on the first frames: the table,
// start-up and memory lines, a CSV of one line per frame, and a comparison
// against that CSV when it is also the file the run replaces.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/bench/BenchStats.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

ToolRun bench(const std::string& arguments)
{
    return runTool("./quorl-h-bench " + arguments + " 2>/dev/null");
}

}  // namespace

TEST(BenchTool, WritesTableCsvAndComparesAgainstTheFileItReplaces)
{
    const fs::path out = fs::temp_directory_path() / "quorl-bench-test";
    fs::remove_all(out);
    const ToolRun first = bench("--to 120 --out " + out.string());
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_NE(first.output.find("| logo | 120 |"), std::string::npos) << first.output;
    EXPECT_NE(first.output.find("Start-up (loadShow):"), std::string::npos);
    EXPECT_NE(first.output.find("pictures"), std::string::npos);
    EXPECT_NE(first.output.find("frame 120 "), std::string::npos);  // memory at the last frame
    const std::optional<std::vector<FrameTime>> run = runFromCsv(readFile(out / "frames.csv"));
    ASSERT_TRUE(run);
    ASSERT_EQ(run->size(), 120u);
    EXPECT_EQ(run->front().frame, 0);
    EXPECT_EQ(run->back().frame, 119);

    // The comparison, and the bare GL work of one frame in ten of a second show.
    const ToolRun second =
        bench("--to 120 --floor 10 --out " + out.string() + " --compare " + (out / "frames.csv").string());
    ASSERT_EQ(second.status, 0) << second.output;
    const size_t compare = second.output.find("new / old");
    const size_t floor = second.output.find("Bare GL work per part");
    ASSERT_NE(compare, std::string::npos) << second.output;
    ASSERT_NE(floor, std::string::npos) << second.output;
    EXPECT_NE(second.output.find("| logo | ", compare), std::string::npos) << "no comparison line";
    EXPECT_NE(second.output.find("| logo | ", floor), std::string::npos) << "no bare GL line";
    // The second show's loader lines all come before the report.
    EXPECT_EQ(second.output.find("Width of", second.output.find("Frame time per part")), std::string::npos);
    fs::remove_all(out);
}

TEST(BenchTool, RefusesBadOptionsAndAnOldFileThatIsNoRun)
{
    EXPECT_NE(bench("--to").status, 0);
    EXPECT_NE(bench("--to 0").status, 0);
    EXPECT_NE(bench("--frames 10").status, 0);
    EXPECT_NE(bench("--to 10 --floor 0").status, 0);
    const fs::path junk = fs::temp_directory_path() / "quorl-bench-junk.csv";
    std::ofstream(junk) << "not,a\nrun\n";
    EXPECT_NE(bench("--to 1 --out " + (fs::temp_directory_path() / "quorl-bench-junk").string() + " --compare " +
                    junk.string())
                  .status,
              0);
    fs::remove(junk);
    fs::remove_all(fs::temp_directory_path() / "quorl-bench-junk");
}
