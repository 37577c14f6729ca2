// Progress.cpp: progress lines, in place or one every few seconds.
#include "Progress.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double TERMINAL_INTERVAL = 0.25;  // seconds between in-place updates
constexpr double LOG_INTERVAL = 5.0;        // seconds between plain lines

}  // namespace

std::string progressLine(int done, int total, double seconds)
{
    char text[160];
    const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 100;
    if (seconds < 0.05 || done <= 0) {
        std::snprintf(text, sizeof text, "frame %d/%d (%d%%), -- fps, -- left", done, total, percent);
        return text;
    }
    const double rate = done / seconds;
    const long left = std::lround(std::max(0, total - done) / rate);
    std::snprintf(text, sizeof text, "frame %d/%d (%d%%), %.1f fps, %ld:%02ld left", done, total, percent, rate,
                  left / 60, left % 60);
    return text;
}

Progress::Progress(int total, bool terminal, std::FILE* out) : total(total), terminal(terminal), out(out)
{
    nextReport = terminal ? 0.0 : LOG_INTERVAL;
}

void Progress::update(int done, double seconds)
{
    if (seconds < nextReport) return;
    nextReport = seconds + (terminal ? TERMINAL_INTERVAL : LOG_INTERVAL);
    // \r plus the erase-to-end code rewrites the line without leftovers.
    if (terminal) {
        std::fprintf(out, "\r%s\033[K", progressLine(done, total, seconds).c_str());
    } else {
        std::fprintf(out, "quorl-h-capture: %s\n", progressLine(done, total, seconds).c_str());
    }
    std::fflush(out);
}

void Progress::finish(int done, double seconds)
{
    if (terminal) {
        std::fprintf(out, "\r%s\033[K\n", progressLine(done, total, seconds).c_str());
    } else {
        std::fprintf(out, "quorl-h-capture: %s\n", progressLine(done, total, seconds).c_str());
    }
    std::fflush(out);
}
