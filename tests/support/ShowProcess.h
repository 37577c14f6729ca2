// ShowProcess.h: a program a test starts in the background (the show in
// its window), watched while it runs, killed if the test ends first, and
// reported on (how it ended, what it said last) when it ends early.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "support/ToolRun.h"

extern char** environ;

class ShowProcess {
public:
    ShowProcess() = default;
    ShowProcess(const ShowProcess&) = delete;
    ShowProcess& operator=(const ShowProcess&) = delete;
    ~ShowProcess() { stop(); }

    // Runs `command` through /bin/sh, both output streams into `log`. The
    // command ends by exec-ing the program, so that the process watched
    // and killed is the program's own.
    bool start(const std::string& command, const std::filesystem::path& log)
    {
        logFile = log;
        const std::string line = command + " >" + quoted(log) + " 2>&1";
        const char* argv[] = {"/bin/sh", "-c", line.c_str(), nullptr};
        return ::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0;
    }

    // Whether it still runs; once it has ended its wait status is kept.
    bool running()
    {
        if (pid <= 0 || status != -1) return false;
        int raw = 0;
        const pid_t ended = ::waitpid(pid, &raw, WNOHANG);
        if (ended == pid) status = raw;
        return ended == 0;
    }

    // Its wait status once it has ended, else -1.
    int endStatus() const { return status; }
    bool endedWithStatus0() const { return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0; }
    pid_t processId() const { return pid; }

    // For a failed expectation: whether it runs or how it ended, and the
    // end of what it printed.
    std::string endReport()
    {
        const std::string said = "; its log ends with:\n" + lastLines(readFile(logFile));
        return (running() ? std::string("it still runs") : "it ended: " + howItEnded(status)) + said;
    }

    void stop()
    {
        if (!running()) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }

private:
    pid_t pid = -1;
    int status = -1;
    std::filesystem::path logFile;
};
