// CrashReport.cpp: the signal handlers behind installCrashReport.
//
// Only calls that are safe in a signal handler are made once the signal
// has come: write() of text formatted by hand, and the C library's stack
// walk, whose one allocation (loading the unwinder) is made ahead, when the
// report is installed.
#include "platform/CrashReport.h"

#include <csignal>
#include <cstring>
#include <initializer_list>

// Under AddressSanitizer its own report, with the faulting access, is the
// better one: the handlers stay its own.
#if __has_include(<execinfo.h>) && __has_include(<unistd.h>) && !defined(__SANITIZE_ADDRESS__)
#include <execinfo.h>
#include <unistd.h>
#define QUORL_CRASH_REPORT 1
#endif

namespace platform {

#ifdef QUORL_CRASH_REPORT
namespace {

const char* reportedProgram = "quorl-h";
const int* reportedFrame = nullptr;

// A stack of its own, so that a fault from a stack overflow is reported too.
alignas(16) char handlerStack[64 * 1024];

void say(const char* text)
{
    const size_t length = std::strlen(text);
    for (size_t done = 0; done < length;) {
        const ssize_t wrote = ::write(STDERR_FILENO, text + done, length - done);
        if (wrote <= 0) return;
        done += static_cast<size_t>(wrote);
    }
}

void sayNumber(long value)
{
    char digits[24];
    char* at = digits + sizeof digits;
    *--at = '\0';
    const bool negative = value < 0;
    unsigned long magnitude = negative ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
        *--at = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) *--at = '-';
    say(at);
}

const char* signalName(int signal)
{
    switch (signal) {
    case SIGSEGV: return "SIGSEGV (invalid memory access)";
    case SIGBUS: return "SIGBUS (bus error)";
    case SIGFPE: return "SIGFPE (arithmetic fault)";
    case SIGILL: return "SIGILL (illegal instruction)";
    case SIGABRT: return "SIGABRT (aborted)";
    default: return "a signal";
    }
}

void report(int signal)
{
    say(reportedProgram);
    say(": died of ");
    say(signalName(signal));
    if (reportedFrame) {
        say(" at frame ");
        sayNumber(*reportedFrame);
    }
    say("; call stack:\n");
    void* frames[64];
    const int depth = backtrace(frames, 64);
    backtrace_symbols_fd(frames, depth, STDERR_FILENO);
    // The handler was reset on entry: the signal now ends the process as
    // it would have without the report.
    std::raise(signal);
}

}  // namespace

void installCrashReport(const char* program, const int* frame)
{
    reportedProgram = program;
    reportedFrame = frame;
    // The first stack walk loads the unwinder, which allocates: done here,
    // never inside the handler.
    void* warm[1];
    backtrace(warm, 1);
    stack_t stack{};
    stack.ss_sp = handlerStack;
    stack.ss_size = sizeof handlerStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action{};
    action.sa_handler = report;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(signal, &action, nullptr);
}
#else
void installCrashReport(const char*, const int*) {}
#endif

}  // namespace platform
