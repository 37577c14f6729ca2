// LoadTimes.cpp: the running totals of start-up time by kind of file.
#include "common/LoadTimes.h"

namespace {

LoadTotals totals{};
LoadTimer* innermost = nullptr;  // the open timer that time currently goes to

}  // namespace

LoadTotals loadTotals()
{
    return totals;
}

LoadTimer::LoadTimer(LoadKind kind) : kind(kind), begin(Clock::now()), outer(innermost)
{
    innermost = this;
}

LoadTimer::~LoadTimer()
{
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    totals[static_cast<int>(kind)] += seconds - innerSeconds;
    // The whole of this load, inner loads included, is inner time of the outer one.
    if (outer) outer->innerSeconds += seconds;
    innermost = outer;
}
