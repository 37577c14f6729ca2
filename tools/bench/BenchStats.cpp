// BenchStats.cpp: summaries, CSV and tables of benchmark runs.
#include "tools/bench/BenchStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <sstream>

double percentileOfSorted(const std::vector<double>& sorted, double share)
{
    if (sorted.empty()) return 0.0;
    // Nearest rank: the ceil(share * n)-th smallest, counted from one.
    const auto rank = static_cast<size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

PartStats summarise(std::vector<double> ms)
{
    PartStats stats;
    if (ms.empty()) return stats;
    std::sort(ms.begin(), ms.end());
    stats.frames = static_cast<int>(ms.size());
    stats.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size());
    const size_t half = ms.size() / 2;
    stats.median = ms.size() % 2 ? ms[half] : (ms[half - 1] + ms[half]) / 2.0;
    stats.p99 = percentileOfSorted(ms, 0.99);
    stats.worst = ms.back();
    return stats;
}

RunStats statsByPart(const std::vector<FrameTime>& run)
{
    std::array<std::vector<double>, PART_COUNT> times;
    for (const FrameTime& t : run) times[static_cast<int>(t.part)].push_back(t.ms);
    RunStats stats;
    for (int i = 0; i < PART_COUNT; ++i) stats[i] = summarise(std::move(times[i]));
    return stats;
}

std::string runToCsv(const std::vector<FrameTime>& run)
{
    std::string text = "frame,part,ms\n";
    char line[64];
    for (const FrameTime& t : run) {
        std::snprintf(line, sizeof line, "%d,%s,%.4f\n", t.frame, std::string(partName(t.part)).c_str(), t.ms);
        text += line;
    }
    return text;
}

namespace {

std::optional<PartId> partFromName(const std::string& name)
{
    for (int i = 0; i < PART_COUNT; ++i) {
        if (partName(static_cast<PartId>(i)) == name) return static_cast<PartId>(i);
    }
    return std::nullopt;
}

// One "frame,part,ms" line; false unless all three fields are whole.
bool parseLine(const std::string& line, FrameTime& into)
{
    const size_t first = line.find(',');
    const size_t second = first == std::string::npos ? first : line.find(',', first + 1);
    if (second == std::string::npos) return false;
    const std::string frameText = line.substr(0, first);
    const std::string msText = line.substr(second + 1);
    if (frameText.empty() || frameText.find_first_not_of("0123456789") != std::string::npos) return false;
    if (frameText.size() > 9 || msText.empty()) return false;
    const std::optional<PartId> part = partFromName(line.substr(first + 1, second - first - 1));
    if (!part) return false;
    char* end = nullptr;
    const double ms = std::strtod(msText.c_str(), &end);
    if (*end != '\0' || !std::isfinite(ms) || ms < 0.0) return false;
    into = {std::stoi(frameText), *part, ms};
    return true;
}

}  // namespace

std::optional<std::vector<FrameTime>> runFromCsv(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line != "frame,part,ms") return std::nullopt;
    std::vector<FrameTime> run;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        FrameTime t;
        if (!parseLine(line, t)) return std::nullopt;
        run.push_back(t);
    }
    return run;
}

std::string statsTable(const RunStats& stats)
{
    std::string text = "| part | frames | mean ms | median ms | p99 ms | worst ms |\n|---|--:|--:|--:|--:|--:|\n";
    char line[160];
    for (int i = 0; i < PART_COUNT; ++i) {
        const PartStats& s = stats[i];
        if (s.frames == 0) continue;
        std::snprintf(line, sizeof line, "| %s | %d | %.2f | %.2f | %.2f | %.2f |\n",
                      std::string(partName(static_cast<PartId>(i))).c_str(), s.frames, s.mean, s.median, s.p99, s.worst);
        text += line;
    }
    return text;
}

std::string compareTable(const RunStats& now, const RunStats& before)
{
    std::string text = "| part | mean ms (old → new) | mean ratio | p99 ms (old → new) | p99 ratio |\n|---|--:|--:|--:|--:|\n";
    char line[200];
    for (int i = 0; i < PART_COUNT; ++i) {
        const PartStats& n = now[i];
        const PartStats& b = before[i];
        if (n.frames == 0 || b.frames == 0) continue;
        // A zero old time has no ratio; it shows as a dash.
        const auto ratio = [](double a, double o, char* out, size_t size) {
            if (o > 0.0) std::snprintf(out, size, "%.2f", a / o);
            else std::snprintf(out, size, "-");
        };
        char meanRatio[16];
        char p99Ratio[16];
        ratio(n.mean, b.mean, meanRatio, sizeof meanRatio);
        ratio(n.p99, b.p99, p99Ratio, sizeof p99Ratio);
        std::snprintf(line, sizeof line, "| %s | %.2f → %.2f | %s | %.2f → %.2f | %s |\n",
                      std::string(partName(static_cast<PartId>(i))).c_str(), b.mean, n.mean, meanRatio, b.p99, n.p99,
                      p99Ratio);
        text += line;
    }
    return text;
}

std::string floorTable(const RunStats& show, const RunStats& bare)
{
    std::string text = "| part | mean ms | bare GL mean ms | bare GL p99 ms | bare share |\n|---|--:|--:|--:|--:|\n";
    char line[200];
    for (int i = 0; i < PART_COUNT; ++i) {
        const PartStats& s = show[i];
        const PartStats& b = bare[i];
        if (s.frames == 0 || b.frames == 0) continue;
        char share[16];
        if (s.mean > 0.0) std::snprintf(share, sizeof share, "%.0f%%", 100.0 * b.mean / s.mean);
        else std::snprintf(share, sizeof share, "-");
        std::snprintf(line, sizeof line, "| %s | %.2f | %.2f | %.2f | %s |\n",
                      std::string(partName(static_cast<PartId>(i))).c_str(), s.mean, b.mean, b.p99, share);
        text += line;
    }
    return text;
}
