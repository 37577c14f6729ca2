// DataFolder.h: points the show's relative file names at a chosen folder.
//
// The show opens "./data/..." and "data/..." relative to the working
// directory. The headless tools take --data DIR; enterDataFolder makes the
// working directory one whose "data" is DIR: DIR's parent when DIR is named
// "data", otherwise a private temporary folder holding a "data" link to DIR,
// which the DataFolder removes again when it goes.
#pragma once

#include <filesystem>
#include <string>

class DataFolder {
public:
    DataFolder() = default;
    ~DataFolder();
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    // Changes the working directory so that ./data is `data`; false (after
    // one line on standard error starting with `tool`) when it cannot.
    bool enter(const std::string& data, const std::string& tool);

private:
    std::filesystem::path linkFolder;  // the private folder, when one was made
};
