// BenchStats.h: frame times of a benchmark run, their per-part summary, and
// the comparison with an earlier run.
//
// A run is a list of (frame, part, milliseconds) records. The summary of a
// part gives its frame count, mean, median, 99th percentile and worst frame;
// percentiles use the nearest rank (the smallest time at or above which the
// given share of frames lie), so the 99th percentile of fewer than a hundred
// frames is the worst one. Runs are kept as CSV with the header
// "frame,part,ms" and the part's short name. Pure: no GL, no SDL.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "shell/Schedule.h"

struct FrameTime {
    int frame = 0;
    PartId part = PartId::Logo;
    double ms = 0.0;
};

struct PartStats {
    int frames = 0;
    double mean = 0.0;
    double median = 0.0;
    double p99 = 0.0;
    double worst = 0.0;
};

using RunStats = std::array<PartStats, PART_COUNT>;

// The nearest-rank percentile (0 < share <= 1) of times sorted ascending; 0 for none.
double percentileOfSorted(const std::vector<double>& sorted, double share);

// Summary of one set of frame times.
PartStats summarise(std::vector<double> ms);

// Summary per part of a whole run.
RunStats statsByPart(const std::vector<FrameTime>& run);

// The run as CSV text, and back. Parsing fails (empty) on a wrong header, an
// unknown part name or a malformed line.
std::string runToCsv(const std::vector<FrameTime>& run);
std::optional<std::vector<FrameTime>> runFromCsv(const std::string& text);

// The per-part table of a run, one line per part that has frames.
std::string statsTable(const RunStats& stats);

// Per part present in both runs: the new mean and 99th percentile as ratios
// of the old ones (below 1 is faster).
std::string compareTable(const RunStats& now, const RunStats& before);

// Per part present in both: the show's mean beside the mean of the bare GL
// work its frames send (replayed without the show's computation), and the
// bare work's share of the show's time.
std::string floorTable(const RunStats& show, const RunStats& bare);
