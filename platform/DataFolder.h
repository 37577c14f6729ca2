// DataFolder.h: where the show's files are read from.
//
// The show opens its files by fixed relative names ("./data/logga.bmp",
// "data/musik.mp3", ...), so the folder it reads is whatever "data" names in
// the working directory. The program entries choose that folder before the
// show starts:
//   1. ./data in the working directory, when it holds any of the show's
//      files (someone running from the build folder, or with their own
//      replacement pictures there, sees no change);
//   2. otherwise data/ beside the running executable, so build/quorl-h-*
//      started from anywhere find build/data;
//   3. otherwise the installed data folder, found relative to the running
//      executable (QUORL_DATA_FROM_BIN, set by the build from the install
//      layout), so an unpacked or moved install works without a fixed path;
//   4. otherwise nothing is chosen: the program prints one message naming
//      the places it looked and stops.
// The folder used is named in one line on standard error.
// useDataFolder then makes "data" name the chosen folder by changing the
// working directory: to the folder's parent when the folder is called
// "data", or else to a private temporary folder holding a "data" link.
// Needs: the C++ standard library and Linux's /proc (on Windows the
// module's own file name). No GL, no SDL.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// The file names the show loads from its data folder (the same list as
// the file checker's tools/check/ShowFiles.h; a test keeps them in step).
inline constexpr std::array<std::string_view, 21> SHOW_DATA_FILES = {
    "logga.bmp",   "background.bmp", "intro1.jpg",     "intro2.jpg",   "intro3.jpg", "intro4.jpg",
    "intro5.jpg",  "intro_wave.jpg", "theend.jpg",     "Chrome-test.bmp", "gegga1.bmp", "tunnel2.jpg",
    "tunnel-l.jpg", "floor2.bmp",    "box3.bmp",       "space.bmp",    "theend.bmp", "allt.3ds",
    "fish.3ds",    "boxtex.3ds",     "musik.mp3",
};

// True when folder holds at least one of the show's files.
bool holdsShowData(const std::filesystem::path& folder);

// The running program's own file; empty when the system does not say.
std::filesystem::path executablePath();

// The installed data folder belonging to a program installed at executable.
std::filesystem::path installedDataFolder(const std::filesystem::path& executable);

// data/ in the executable's own folder; empty when the executable is unknown.
std::filesystem::path besideDataFolder(const std::filesystem::path& executable);

// Outcome of the search: the folders looked in and the one chosen.
struct DataSearch {
    std::filesystem::path working;    // ./data, absolute
    std::filesystem::path beside;     // data/ beside the executable; empty when the executable is unknown
    std::filesystem::path installed;  // the installed folder looked in; empty when the executable is unknown
    std::filesystem::path chosen;     // one of the three; empty when none holds the show's files
};

// ./data under workingFolder first, then data/ beside executable, then the
// installed folder of executable.
DataSearch findShowData(const std::filesystem::path& workingFolder, const std::filesystem::path& executable);

// The one message for a search that found nothing, naming the folders
// looked in and how to point program at its data; ends in a newline.
std::string dataNotFoundMessage(std::string_view program, const DataSearch& search);

// Makes "./data" and "data" name folder for the rest of the run (see the
// banner). A folder that does not exist is linked all the same, so every
// file then reads as missing. False, with error filled, when the working
// directory could not be changed.
bool useDataFolder(const std::filesystem::path& folder, std::string& error);

// The whole choice for a program given no data folder: the search above,
// then the line naming the folder used; false, after dataNotFoundMessage on
// standard error, when no place holds any of the show's files.
bool useShowData(std::string_view program);

// A folder the person named: false, after one line on standard error
// naming program, when folder is not a folder or cannot be made the data
// folder. A folder that lacks some files is used: the show reports each
// file it misses and runs on without it.
bool useExistingDataFolder(std::string_view program, const std::filesystem::path& folder);

// Every program's --data option: with none, useShowData; with one,
// useExistingDataFolder. False when the program is to stop (status 1).
bool useToolData(std::string_view program, const std::filesystem::path& folder);

}  // namespace platform
