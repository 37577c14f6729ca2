// DataFolder.cpp: the working directory for --data.
#include "DataFolder.h"

#include <unistd.h>

#include <cstdio>

namespace fs = std::filesystem;

DataFolder::~DataFolder()
{
    if (linkFolder.empty()) return;
    // Only the link and the folder made for it: never what the link points to.
    std::error_code error;
    fs::remove(linkFolder / "data", error);
    fs::remove(linkFolder, error);
}

bool DataFolder::enter(const std::string& data, const std::string& tool)
{
    std::error_code error;
    fs::path folder = fs::absolute(data, error).lexically_normal();
    if (folder.filename().empty()) folder = folder.parent_path();  // "dir/" names dir
    if (error || !fs::is_directory(folder)) {
        std::fprintf(stderr, "%s: no data folder %s\n", tool.c_str(), data.c_str());
        return false;
    }
    if (fs::equivalent(folder, fs::current_path() / "data", error)) return true;
    if (folder.filename() == "data") {
        fs::current_path(folder.parent_path(), error);
        return !error;
    }
    // Any other name: a private folder with a "data" link to it.
    const fs::path work = fs::temp_directory_path() / (tool + "-" + std::to_string(getpid()));
    fs::create_directories(work, error);
    if (!error) {
        linkFolder = work;
        fs::remove(work / "data", error);
    }
    if (!error) fs::create_directory_symlink(folder, work / "data", error);
    if (!error) fs::current_path(work, error);
    if (error) std::fprintf(stderr, "%s: cannot use data folder %s: %s\n", tool.c_str(), data.c_str(),
                            error.message().c_str());
    return !error;
}
