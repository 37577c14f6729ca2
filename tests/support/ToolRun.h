// ToolRun.h: running one of the show's programs from a test and keeping
// what it printed. Tests run in the build folder, where the programs and
// data/ lie.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct ToolRun {
    int status = -1;      // as pclose gives it: 0 for a clean exit
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
    return run;
}

// A whole file's bytes, or nothing when it cannot be read.
inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
