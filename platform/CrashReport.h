// CrashReport.h: a last word on standard error when a program dies of a
// signal.
//
// A program that aborts inside the C library (a heap check failing in
// free) or faults in a driver loses what it had buffered on standard
// output, and its parent sees only a status. With the report installed, the
// dying process first writes one line naming itself, the signal and the
// frame it was at, then its call stack, one frame a line; the signal then
// ends the process exactly as it would have (same status, core dump where
// enabled). Where the C library offers no stack walk the line comes alone;
// where there are no signals (the web page) installing does nothing.
#pragma once

namespace platform {

// Installs the report for SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT.
// `program` names the process in the line (a string that lives as long as
// the process); `frame`, when given, is read at the moment of the signal.
void installCrashReport(const char* program, const int* frame = nullptr);

}  // namespace platform
