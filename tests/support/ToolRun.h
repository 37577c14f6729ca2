// ToolRun.h: running one of the show's programs from a test and keeping
// what it printed. Tests run in the build folder, where the programs and
// data/ lie.
#pragma once

#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct ToolRun {
    int status = -1;      // as pclose gives it: 0 for a clean exit
    int exit = -1;        // the exit status, or -1 when it did not exit
    std::string output;   // what the command wrote to standard output
};

// Runs command through the shell and keeps its standard output; the
// command decides where standard error goes (2>&1, 2>/dev/null...).
inline ToolRun runTool(const std::string& command)
{
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    run.status = pclose(pipe);
    if (WIFEXITED(run.status)) run.exit = WEXITSTATUS(run.status);
    return run;
}

// A fresh, empty folder "quorl-NAME" in the temporary folder.
inline std::filesystem::path freshFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("quorl-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// How a process ended, from its wait status: "exit status N", or the signal
// that killed it. A shell between the test and the program reports the
// program's signal N as exit status 128 + N, which is named as well.
inline std::string howItEnded(int waitStatus)
{
    if (waitStatus == -1) return "not started or not waited for";
    if (WIFSIGNALED(waitStatus)) {
        const int signal = WTERMSIG(waitStatus);
        return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    }
    if (!WIFEXITED(waitStatus)) return "wait status " + std::to_string(waitStatus);
    const int code = WEXITSTATUS(waitStatus);
    std::string text = "exit status " + std::to_string(code);
    if (code > 128 && code < 128 + NSIG) text += std::string(" (signal ") + strsignal(code - 128) + " in the shell's child)";
    return text;
}

// The last `count` lines of text: where a program that ended early says why.
inline std::string lastLines(const std::string& text, int count = 25)
{
    size_t begin = text.size();
    for (int lines = 0; begin > 0; --begin) {
        if (text[begin - 1] == '\n' && ++lines > count) break;
    }
    return text.substr(begin);
}

// For a failed expectation on a run: how it ended and what it said last.
inline std::string report(const ToolRun& run)
{
    return howItEnded(run.status) + "; its output ended with:\n" + lastLines(run.output);
}

// A whole file's bytes, or nothing when it cannot be read.
inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A command run with its two output streams apart.
struct CommandRun {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs command through the shell with standard input closed; its two
// output streams go through files in scratch.
inline CommandRun runCommand(const std::string& command, const std::filesystem::path& scratch)
{
    const std::filesystem::path out = scratch / "command.out";
    const std::filesystem::path err = scratch / "command.err";
    const std::string line = "(" + command + ") </dev/null >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(line.c_str());
    CommandRun run;
    run.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
    run.out = readFile(out);
    run.err = readFile(err);
    return run;
}

// Single quotes around a path for the shell.
inline std::string quoted(const std::filesystem::path& path)
{
    std::string text = "'";
    for (const char c : path.string()) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}
