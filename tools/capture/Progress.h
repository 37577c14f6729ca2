// Progress.h: the capture's progress report on standard error.
//
// On a terminal one line is rewritten in place about four times a second;
// into a file or pipe a plain line goes out every five seconds, so logs stay
// short. Each line says frames done of the total, frames a second and the
// time left at that rate.
#pragma once

#include <cstdio>
#include <string>

// "frame 1234/7300 (16%), 41.3 fps, 2:27 left"; the rate and the time left
// read "--" until some time has passed.
std::string progressLine(int done, int total, double seconds);

class Progress {
public:
    Progress(int total, bool terminal, std::FILE* out);

    // Reports `done` frames after `seconds` of work, when a report is due.
    void update(int done, double seconds);
    // Ends the report: the last state on its own line.
    void finish(int done, double seconds);

private:
    int total;
    bool terminal;
    std::FILE* out;
    double nextReport = 0.0;
};
