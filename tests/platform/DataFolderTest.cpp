// DataFolderTest.cpp: where the show's files are read from: ./data first,
// the installed folder beside the program next, one message when neither,
// and "data" pointed at a named folder, present or not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "ShowFiles.h"
#include "platform/DataFolder.h"

namespace fs = std::filesystem;

namespace {

void touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << file.filename().string();
}

// A fresh tree per test: an install prefix and a working folder. The
// working directory is restored afterwards, since useDataFolder changes it.
struct DataFolder : testing::Test {
    fs::path root;
    fs::path prefix;
    fs::path program;
    fs::path installed;
    fs::path work;
    fs::path startFolder;

    void SetUp() override
    {
        startFolder = fs::current_path();
        root = fs::temp_directory_path() / ("quorl-data-test-" + std::to_string(::getpid()));
        fs::remove_all(root);
        prefix = root / "prefix";
        program = prefix / "games" / "quorl-h";
        installed = prefix / "share" / "games" / "quorl-h" / "data";
        work = root / "work";
        fs::create_directories(work);
    }
    void TearDown() override
    {
        fs::current_path(startFolder);
        fs::remove_all(root);
    }
};

}  // namespace

TEST_F(DataFolder, InstalledFolderIsFoundRelativeToTheProgramWhereverItLies)
{
    EXPECT_EQ(platform::installedDataFolder(program), installed);
    EXPECT_EQ(platform::installedDataFolder("/usr/games/quorl-h"), fs::path("/usr/share/games/quorl-h/data"));
    EXPECT_TRUE(platform::installedDataFolder("").empty()) << "an unknown program has no installed folder";
    EXPECT_FALSE(platform::executablePath().empty());
}

TEST_F(DataFolder, WorkingFolderDataWinsOverInstalledData)
{
    touch(installed / "logga.bmp");
    touch(work / "data" / "musik.mp3");
    const platform::DataSearch search = platform::findShowData(work, program);
    EXPECT_EQ(search.chosen, work / "data");
    EXPECT_EQ(search.installed, installed);
}

TEST_F(DataFolder, InstalledDataServesWhenTheWorkingFolderHasNoneOfTheShowsFiles)
{
    touch(installed / "allt.3ds");
    EXPECT_EQ(platform::findShowData(work, program).chosen, installed) << "no ./data at all";
    // A data folder of something else entirely does not hide the show's own.
    touch(work / "data" / "notes.txt");
    fs::create_directories(work / "data" / "logga.bmp" / "folder");
    EXPECT_EQ(platform::findShowData(work, program).chosen, installed);
}

TEST_F(DataFolder, DataBesideTheProgramComesAfterTheWorkingFolderAndBeforeTheInstalledOne)
{
    // As build/quorl-h-capture run from the repository's root finds build/data.
    const fs::path beside = program.parent_path() / "data";
    touch(installed / "logga.bmp");
    touch(beside / "musik.mp3");
    EXPECT_EQ(platform::findShowData(work, program).chosen, beside);
    touch(work / "data" / "allt.3ds");
    EXPECT_EQ(platform::findShowData(work, program).chosen, work / "data");
}

TEST_F(DataFolder, NoPlaceGivesOneMessageNamingEachAndHowToPointAtTheData)
{
    const platform::DataSearch search = platform::findShowData(work, program);
    EXPECT_TRUE(search.chosen.empty());
    const std::string message = platform::dataNotFoundMessage("quorl-h", search);
    EXPECT_NE(message.find((work / "data").string()), std::string::npos) << message;
    EXPECT_NE(message.find((program.parent_path() / "data").string()), std::string::npos) << message;
    EXPECT_NE(message.find(installed.string()), std::string::npos) << message;
    EXPECT_NE(message.find("--data"), std::string::npos) << message;
    EXPECT_EQ(message.rfind("quorl-h: ", 0), 0u) << message;
    EXPECT_EQ(message.back(), '\n');
}

TEST_F(DataFolder, FolderCalledDataIsReachedThroughItsParentAnyOtherThroughALink)
{
    touch(installed / "logga.bmp");
    std::string error;
    ASSERT_TRUE(platform::useDataFolder(installed, error)) << error;
    EXPECT_TRUE(fs::equivalent(fs::current_path(), installed.parent_path()));
    EXPECT_TRUE(fs::exists("./data/logga.bmp"));

    const fs::path pictures = root / "my pictures";
    touch(pictures / "theend.bmp");
    ASSERT_TRUE(platform::useDataFolder(pictures, error)) << error;
    EXPECT_TRUE(fs::exists("data/theend.bmp"));
    EXPECT_FALSE(fs::exists("data/logga.bmp"));
    // A relative name with a trailing slash names the same folder.
    fs::current_path(root);
    ASSERT_TRUE(platform::useDataFolder("my pictures/", error)) << error;
    EXPECT_TRUE(fs::exists("data/theend.bmp"));
}

TEST_F(DataFolder, MissingNamedFolderLeavesEveryFileMissingInsteadOfFallingBackToWorkingData)
{
    touch(work / "data" / "logga.bmp");
    fs::current_path(work);
    std::string error;
    ASSERT_TRUE(platform::useDataFolder(root / "no-such-folder", error)) << error;
    EXPECT_FALSE(fs::exists("./data/logga.bmp"));
    // Given by a missing name "data" too.
    fs::current_path(work);
    ASSERT_TRUE(platform::useDataFolder(root / "gone" / "data", error)) << error;
    EXPECT_FALSE(fs::exists("./data/logga.bmp"));
}

TEST(ShowDataFiles, SameListAsTheFileCheckerSoNoRenamedOrNewFileIsOverlooked)
{
    std::set<std::string> checked;
    for (const check::ShowFile& file : check::SHOW_FILES) checked.insert(file.name);
    const std::set<std::string> looked(platform::SHOW_DATA_FILES.begin(), platform::SHOW_DATA_FILES.end());
    EXPECT_EQ(looked, checked);
    EXPECT_EQ(looked.size(), platform::SHOW_DATA_FILES.size()) << "a name listed twice";
}
