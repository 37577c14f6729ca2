// BenchStatsTest.cpp: the per-part summary, the CSV round trip and the
// comparison of two runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/bench/BenchStats.h"

namespace {

std::vector<double> oneToHundred()
{
    std::vector<double> ms;
    for (int i = 100; i >= 1; --i) ms.push_back(i);  // unsorted on purpose
    return ms;
}

}  // namespace

TEST(BenchSummary, PercentilesUseNearestRankOnUnsortedTimes)
{
    const PartStats s = summarise(oneToHundred());
    EXPECT_EQ(s.frames, 100);
    EXPECT_DOUBLE_EQ(s.mean, 50.5);
    EXPECT_DOUBLE_EQ(s.median, 50.5);  // even count: the middle two averaged
    EXPECT_DOUBLE_EQ(s.p99, 99.0);     // not the worst frame
    EXPECT_DOUBLE_EQ(s.worst, 100.0);
    // Fewer than a hundred frames: the 99th percentile is the worst one.
    const PartStats few = summarise({3.0, 1.0, 2.0});
    EXPECT_DOUBLE_EQ(few.median, 2.0);
    EXPECT_DOUBLE_EQ(few.p99, 3.0);
    EXPECT_DOUBLE_EQ(percentileOfSorted({}, 0.99), 0.0);
    EXPECT_EQ(summarise({}).frames, 0);
}

TEST(BenchSummary, FramesAreSortedIntoTheirOwnParts)
{
    const std::vector<FrameTime> run = {
        {0, PartId::Logo, 1.0}, {1, PartId::Logo, 3.0}, {400, PartId::Intro, 10.0}, {7200, PartId::End, 2.0}};
    const RunStats stats = statsByPart(run);
    EXPECT_EQ(stats[static_cast<int>(PartId::Logo)].frames, 2);
    EXPECT_DOUBLE_EQ(stats[static_cast<int>(PartId::Logo)].mean, 2.0);
    EXPECT_EQ(stats[static_cast<int>(PartId::Intro)].frames, 1);
    EXPECT_EQ(stats[static_cast<int>(PartId::Wave)].frames, 0);
    EXPECT_DOUBLE_EQ(stats[static_cast<int>(PartId::End)].worst, 2.0);
    // Parts with no frames are left out of the table.
    const std::string table = statsTable(stats);
    EXPECT_NE(table.find("| logo | 2 | 2.00 | 2.00 | 3.00 | 3.00 |"), std::string::npos);
    EXPECT_EQ(table.find("| wave |"), std::string::npos);
}

TEST(BenchCsv, RunSurvivesTheRoundTripWithEveryPartName)
{
    std::vector<FrameTime> run;
    for (int i = 0; i < PART_COUNT; ++i) run.push_back({PART_START_FRAME[i], static_cast<PartId>(i), 1.25 * i});
    const std::optional<std::vector<FrameTime>> back = runFromCsv(runToCsv(run));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), run.size());
    for (size_t i = 0; i < run.size(); ++i) {
        EXPECT_EQ((*back)[i].frame, run[i].frame);
        EXPECT_EQ((*back)[i].part, run[i].part);
        EXPECT_NEAR((*back)[i].ms, run[i].ms, 1e-4);
    }
    // Windows line ends and a trailing blank line are accepted.
    EXPECT_TRUE(runFromCsv("frame,part,ms\r\n0,logo,1.5\r\n\n"));
}

TEST(BenchCsv, MalformedFilesAreRefusedNotMisread)
{
    EXPECT_FALSE(runFromCsv(""));
    EXPECT_FALSE(runFromCsv("frame,ms\n0,1.0\n"));             // wrong header
    EXPECT_FALSE(runFromCsv("frame,part,ms\n0,nopart,1.0\n"));  // unknown part
    EXPECT_FALSE(runFromCsv("frame,part,ms\n0,logo\n"));        // field missing
    EXPECT_FALSE(runFromCsv("frame,part,ms\n-1,logo,1.0\n"));   // negative frame
    EXPECT_FALSE(runFromCsv("frame,part,ms\n0,logo,1.0x\n"));   // trailing junk
    EXPECT_FALSE(runFromCsv("frame,part,ms\n0,logo,nan\n"));
    EXPECT_FALSE(runFromCsv("frame,part,ms\n0,logo,-2\n"));
    EXPECT_FALSE(runFromCsv("frame,part,ms\n99999999999,logo,1\n"));  // would overflow
}

TEST(BenchCompare, RatiosAreNewOverOldAndOnlyForPartsInBoth)
{
    RunStats before{};
    RunStats now{};
    before[static_cast<int>(PartId::Intro)] = {10, 18.0, 17.0, 24.0, 30.0};
    now[static_cast<int>(PartId::Intro)] = {10, 9.0, 8.0, 12.0, 14.0};
    now[static_cast<int>(PartId::Wave)] = {10, 5.0, 5.0, 6.0, 7.0};  // not in the old run
    before[static_cast<int>(PartId::Logo)] = {10, 0.0, 0.0, 0.0, 0.0};
    now[static_cast<int>(PartId::Logo)] = {10, 1.0, 1.0, 1.0, 1.0};
    const std::string table = compareTable(now, before);
    EXPECT_NE(table.find("| intro | 18.00 → 9.00 | 0.50 | 24.00 → 12.00 | 0.50 |"), std::string::npos);
    EXPECT_EQ(table.find("| wave |"), std::string::npos);
    // A zero old time gives no ratio rather than infinity.
    EXPECT_NE(table.find("| logo | 0.00 → 1.00 | - | 0.00 → 1.00 | - |"), std::string::npos);
}

TEST(BenchFloor, BareWorkSitsBesideTheShowsMeanWithItsShare)
{
    RunStats show{};
    RunStats bare{};
    show[static_cast<int>(PartId::Tunnels)] = {800, 11.0, 10.8, 16.8, 19.9};
    bare[static_cast<int>(PartId::Tunnels)] = {160, 9.9, 9.8, 12.5, 13.0};
    show[static_cast<int>(PartId::End)] = {100, 2.5, 2.3, 3.6, 13.8};  // no bare frames sampled
    const std::string table = floorTable(show, bare);
    EXPECT_NE(table.find("| tunnels | 11.00 | 9.90 | 12.50 | 90% |"), std::string::npos);
    EXPECT_EQ(table.find("| end |"), std::string::npos);
}
