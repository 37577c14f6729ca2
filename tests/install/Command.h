// Command.h: running a shell command from a test and keeping what it said.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct CommandRun {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;  // standard output
    std::string err;  // standard error
};

inline std::string readWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
    run.out = readWholeFile(out);
    run.err = readWholeFile(err);
    return run;
}

// Single quotes around a path for the shell.
inline std::string quoted(const std::filesystem::path& path)
{
    std::string text = "'";
    for (const char c : path.string()) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}
