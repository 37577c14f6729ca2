// LoadTimes.h: where start-up time goes, by kind of file.
//
// The loaders open a LoadTimer for the length of one load; the time lands in
// that kind's total. Loads nest (a model load reads its texture picture), so
// an inner timer's time counts for the inner kind only and is taken out of
// the outer one. The totals are program-wide and only grow; a reader takes
// a snapshot before and after the span it wants. Single-threaded: loading
// happens on the main thread. Pure: no GL, no SDL.
#pragma once

#include <array>
#include <chrono>

enum class LoadKind { Pictures, Models, Music, Count };

// Seconds spent in each kind so far, indexed by LoadKind.
using LoadTotals = std::array<double, static_cast<int>(LoadKind::Count)>;

// A copy of the running totals.
LoadTotals loadTotals();

class LoadTimer {
public:
    explicit LoadTimer(LoadKind kind);
    ~LoadTimer();
    LoadTimer(const LoadTimer&) = delete;
    LoadTimer& operator=(const LoadTimer&) = delete;

private:
    using Clock = std::chrono::steady_clock;
    LoadKind kind;
    Clock::time_point begin;
    double innerSeconds = 0.0;  // time of timers opened inside this one
    LoadTimer* outer;           // the timer this one is nested in, if any
};
