// DataFolder.cpp: the search for the show's data folder and the change of
// working directory that points "data" at it.
#include "platform/DataFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <vector>

#ifndef QUORL_DATA_FROM_BIN
#define QUORL_DATA_FROM_BIN "../share/games/quorl-h/data"
#endif

namespace fs = std::filesystem;

namespace platform {

namespace {

// The private folder holding the "data" link, removed again at exit.
fs::path linkFolder;

void removeLinkFolder()
{
    if (linkFolder.empty()) return;
    std::error_code ignored;
    fs::remove(linkFolder / "data", ignored);
    fs::remove(linkFolder, ignored);
    linkFolder.clear();
}

#ifdef _WIN32
// A new folder only this process can have made: a name from the process id
// and a counter that create_directory must make anew, or empty.
fs::path makePrivateFolder()
{
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) return {};
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        const fs::path folder =
            base / ("quorl-h-data-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt));
        if (fs::create_directory(folder, error)) return folder;
    }
    return {};
}
#else
// A new folder only this process can have made (mkdtemp), or empty.
fs::path makePrivateFolder()
{
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string name = (base / "quorl-h-data-XXXXXX").string();
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) return {};
    return fs::path(buffer.data());
}
#endif

}  // namespace

bool holdsShowData(const fs::path& folder)
{
    std::error_code error;
    for (const std::string_view name : SHOW_DATA_FILES) {
        if (fs::is_regular_file(folder / name, error)) return true;
    }
    return false;
}

fs::path executablePath()
{
#ifdef _WIN32
    // The module's wide name: folders with any characters are kept whole.
    std::wstring name(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) return fs::path(name.substr(0, length));
        name.resize(name.size() * 2);
    }
    return {};
#endif
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return self;
}

fs::path installedDataFolder(const fs::path& executable)
{
    if (executable.empty()) return {};
    return (executable.parent_path() / QUORL_DATA_FROM_BIN).lexically_normal();
}

fs::path besideDataFolder(const fs::path& executable)
{
    if (executable.empty()) return {};
    return (executable.parent_path() / "data").lexically_normal();
}

DataSearch findShowData(const fs::path& workingFolder, const fs::path& executable)
{
    DataSearch search;
    search.working = (workingFolder / "data").lexically_normal();
    search.beside = besideDataFolder(executable);
    search.installed = installedDataFolder(executable);
    for (const fs::path* place : {&search.working, &search.beside, &search.installed}) {
        if (!place->empty() && holdsShowData(*place)) {
            search.chosen = *place;
            break;
        }
    }
    return search;
}

std::string dataNotFoundMessage(std::string_view program, const DataSearch& search)
{
    std::string text(program);
    text += ": the show's pictures, models and music are not in " + search.working.string();
    for (const fs::path* place : {&search.beside, &search.installed}) {
        if (!place->empty() && *place != search.working) text += " nor in " + place->string();
    }
    text += ".\n";
    text += std::string(program) + ": run it in the folder that holds data/, or give the folder with --data DIR.\n";
    return text;
}

bool useDataFolder(const fs::path& folder, std::string& error)
{
    std::error_code code;
    fs::path target = fs::absolute(folder, code).lexically_normal();
    if (target.has_parent_path() && target.filename().empty()) target = target.parent_path();  // "dir/" names dir
    if (code) {
        error = "cannot resolve " + folder.string() + ": " + code.message();
        return false;
    }
    const fs::path current = fs::current_path(code);
    if (!code && fs::exists(target, code) && fs::equivalent(target, current / "data", code)) return true;
    if (target.filename() == "data" && fs::is_directory(target, code)) {
        fs::current_path(target.parent_path(), code);
        if (code) {
            error = "cannot enter " + target.parent_path().string() + ": " + code.message();
            return false;
        }
        return true;
    }
    // Any other name, or no folder at all: a private folder whose "data"
    // link points at it. A missing target leaves a dangling link, through
    // which every file reads as missing.
    removeLinkFolder();
    const fs::path work = makePrivateFolder();
    if (work.empty()) {
        error = "cannot make a temporary folder";
        return false;
    }
    linkFolder = work;
    static const bool cleanupRegistered = std::atexit(removeLinkFolder) == 0;
    (void)cleanupRegistered;
    fs::create_directory_symlink(target, work / "data", code);
    if (!code) fs::current_path(work, code);
    if (code) {
        error = "cannot link " + target.string() + ": " + code.message();
        removeLinkFolder();
        return false;
    }
    return true;
}

namespace {

// Named absolute, as it is before the working directory moves.
fs::path shownName(const fs::path& folder)
{
    std::error_code code;
    const fs::path shown = fs::absolute(folder, code).lexically_normal();
    return code ? folder : shown;
}

void sayDataFolder(const std::string& program, const fs::path& shown)
{
    std::fprintf(stderr, "%s: data from %s\n", program.c_str(), shown.string().c_str());
}

}  // namespace

bool useShowData(std::string_view program)
{
    const std::string name(program);
    std::error_code code;
    const fs::path working = fs::current_path(code);
    const DataSearch search = findShowData(code ? fs::path(".") : working, executablePath());
    if (search.chosen.empty()) {
        std::fputs(dataNotFoundMessage(program, search).c_str(), stderr);
        return false;
    }
    std::string error;
    if (search.chosen != search.working && !useDataFolder(search.chosen, error)) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
        return false;
    }
    sayDataFolder(name, search.chosen);
    return true;
}

bool useExistingDataFolder(std::string_view program, const fs::path& folder)
{
    const std::string name(program);
    std::error_code code;
    if (!fs::is_directory(folder, code)) {
        std::fprintf(stderr, "%s: no data folder %s\n", name.c_str(), folder.string().c_str());
        return false;
    }
    const fs::path shown = shownName(folder);
    std::string error;
    if (!useDataFolder(folder, error)) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
        return false;
    }
    sayDataFolder(name, shown);
    return true;
}

bool useToolData(std::string_view program, const std::filesystem::path& folder)
{
    if (folder.empty()) return useShowData(program);
    return useExistingDataFolder(program, folder);
}

}  // namespace platform
