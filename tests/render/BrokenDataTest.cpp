// BrokenDataTest.cpp: the show with one of its files missing or damaged.
//
// Every file the show opens is, one at a time, removed, emptied, cut to half
// its length, or replaced by the bytes of a file of another kind. The show
// must render on with exit status 0 and no GL error, name the file in a
// message (headless, so the message never waits for a click) and, when
// the file is not the logo's, draw the logo's frame exactly as with intact
// data. Files read while loading need only a short run past loading; the
// two pictures read at the bodies part and the end picture need the whole
// show. Last, the whole show runs once with no file at all.
//
// QUORL_RENDERER names the renderer to run (a shell command: `./quorl
// sanitize` gives the sanitized build's, with its environment); by default
// the build's own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tools/check/ShowFiles.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

enum class Damage { Removed, Emptied, Halved, OtherKind };

const char* damageName(Damage damage)
{
    switch (damage) {
    case Damage::Removed: return "Removed";
    case Damage::Emptied: return "Emptied";
    case Damage::Halved: return "Halved";
    case Damage::OtherKind: return "OtherKind";
    }
    return "?";
}

struct Case {
    std::string file;
    Damage damage;
};

// Files the show opens only when a part starts, with the frame it starts at.
int frameFileIsRead(const std::string& file)
{
    if (file == "space.bmp") return 5200;
    if (file == "theend.bmp") return 7200;
    return 0;
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A file of another kind than FILE: a model for pictures and music, a
// picture for models.
std::string otherKindFor(const std::string& file)
{
    const fs::path data = fs::current_path() / "data";
    const bool isPicture = file.ends_with(".bmp") || file.ends_with(".jpg");
    if (isPicture) return readFile(data / "fish.3ds");
    if (file.ends_with(".3ds")) return readFile(data / "intro2.jpg");
    return readFile(data / "floor2.bmp");  // for the music
}

// A private data folder: links to the build's own files, with FILE damaged.
fs::path damagedFolder(const Case& c)
{
    const fs::path source = fs::current_path() / "data";
    const fs::path folder =
        fs::temp_directory_path() / ("quorl-broken-" + std::to_string(::getpid()) + "-" + c.file + "-" +
                                     damageName(c.damage));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const check::ShowFile& show : check::SHOW_FILES) {
        if (show.name != c.file) fs::create_symlink(source / show.name, folder / show.name);
    }
    const std::string whole = readFile(source / c.file);
    switch (c.damage) {
    case Damage::Removed: break;
    case Damage::Emptied: writeFile(folder / c.file, ""); break;
    case Damage::Halved: writeFile(folder / c.file, whole.substr(0, whole.size() / 2)); break;
    case Damage::OtherKind: writeFile(folder / c.file, otherKindFor(c.file)); break;
    }
    return folder;
}

std::string renderer()
{
    const char* given = std::getenv("QUORL_RENDERER");
    return given && *given ? given : "./quorl-h-render";
}

// Runs the renderer with GL checks on; standard output and error together.
ToolRun render(const std::string& arguments)
{
    return runTool(renderer() + " --check-gl " + arguments + " 2>&1 </dev/null");
}

// The whole show for the two pictures read late, damaged the same way in
// one run with every other file missing, so that the run costs little (no
// model to draw, no picture to decode); the frames of an intact show are
// checked by the whole-show test. One run per kind of damage, made on first
// use and shared by both pictures' cases; Removed is the empty folder.
const ToolRun& lateRun(Damage damage)
{
    static std::map<Damage, ToolRun> runs;
    if (const auto found = runs.find(damage); found != runs.end()) return found->second;
    const fs::path source = fs::current_path() / "data";
    const fs::path folder =
        fs::temp_directory_path() / ("quorl-broken-" + std::to_string(::getpid()) + "-late-" + damageName(damage));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* file : {"space.bmp", "theend.bmp"}) {
        const std::string whole = readFile(source / file);
        switch (damage) {
        case Damage::Removed: break;
        case Damage::Emptied: writeFile(folder / file, ""); break;
        case Damage::Halved: writeFile(folder / file, whole.substr(0, whole.size() / 2)); break;
        case Damage::OtherKind: writeFile(folder / file, otherKindFor(file)); break;
        }
    }
    ToolRun run = render("--from 0 --to 7300 --data " + folder.string());
    fs::remove_all(folder);
    return runs[damage] = std::move(run);
}

// Frame 2 of the show, with intact data: the logo alone over a cleared
// picture. Rendered once, on first use.
const std::string& intactFrameTwo()
{
    static const std::string png = [] {
        const fs::path out = fs::temp_directory_path() / ("quorl-broken-" + std::to_string(::getpid()) + "-intact");
        fs::remove_all(out);
        const std::string command =
            renderer() + " --from 0 --to 3 --save 2 --out " + out.string() + " >/dev/null 2>&1 </dev/null";
        const int status = std::system(command.c_str());
        std::string bytes = status == 0 ? readFile(out / "frame-000002.png") : std::string();
        fs::remove_all(out);
        return bytes;
    }();
    return png;
}

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    for (const check::ShowFile& show : check::SHOW_FILES) {
        for (Damage damage : {Damage::Removed, Damage::Emptied, Damage::Halved, Damage::OtherKind}) {
            cases.push_back({show.name, damage});
        }
    }
    return cases;
}

std::string caseName(const testing::TestParamInfo<Case>& info)
{
    std::string name;
    for (char c : info.param.file) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name + "_" + damageName(info.param.damage);
}

class BrokenData : public testing::TestWithParam<Case> {};

}  // namespace

// A damaged file must neither stop the show nor go unreported: the run
// ends with status 0, no GL error, and a message naming the file.
TEST_P(BrokenData, ShowRunsOnAndNamesTheFile)
{
    const Case& c = GetParam();
    ASSERT_TRUE(fs::exists("data/" + c.file)) << "runs in the build folder, beside the show's own data";
    if (frameFileIsRead(c.file) > 0) {
        const ToolRun& run = lateRun(c.damage);
        EXPECT_EQ(run.status, 0) << report(run);
        EXPECT_EQ(run.output.find("gl-error"), std::string::npos) << report(run);
        EXPECT_NE(run.output.find("./data/" + c.file), std::string::npos) << "no message names " << c.file;
        EXPECT_NE(run.output.find("part end frames 100"), std::string::npos) << "the show did not reach its end";
        return;
    }
    // Loading ends before frame 0 is drawn, so a short run is enough.
    const fs::path folder = damagedFolder(c);
    const fs::path frames = folder / "frames";
    const ToolRun run = render("--from 0 --to 3 --save 2 --out " + frames.string() + " --data " + folder.string());
    EXPECT_EQ(run.status, 0) << report(run);
    EXPECT_EQ(run.output.find("gl-error"), std::string::npos) << report(run);
    // The first half of an MP3 is a good, shorter track: it plays and then
    // falls silent, and its header still gives the whole track's length, so
    // there is nothing to report without decoding it all.
    const bool quietlyShorter = c.file == "musik.mp3" && c.damage == Damage::Halved;
    if (!quietlyShorter) {
        EXPECT_NE(run.output.find(c.file), std::string::npos) << "no message names " << c.file << ":\n"
                                                              << report(run);
    }
    // Frame 2 shows the logo alone: every file but the logo's own leaves
    // it exactly as with intact data (a failed load must not disturb the
    // textures or the state the other parts draw with).
    // The logo's own damage must show, or the comparison proves nothing.
    ASSERT_FALSE(intactFrameTwo().empty()) << "the intact render failed";
    const bool sameAsIntact = readFile(frames / "frame-000002.png") == intactFrameTwo();
    if (c.file == "logga.bmp") {
        EXPECT_FALSE(sameAsIntact) << "a damaged logo drawn as the intact one";
    } else {
        EXPECT_TRUE(sameAsIntact) << "frame 2 differs from intact data's";
    }
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(EveryShowFile, BrokenData, testing::ValuesIn(allCases()), caseName);

// With an empty data folder the whole show still plays to its end picture,
// and every file it opens is reported.
TEST(BrokenDataWholeShow, EveryFileMissingStillPlaysToTheEndAndNamesEachFile)
{
    const ToolRun& run = lateRun(Damage::Removed);
    EXPECT_EQ(run.status, 0) << report(run);
    EXPECT_EQ(run.output.find("gl-error"), std::string::npos) << report(run);
    EXPECT_NE(run.output.find("part end frames 100"), std::string::npos) << report(run);
    for (const check::ShowFile& show : check::SHOW_FILES) {
        // The box picture is read only for a model with materials; with no
        // model at all it is never opened.
        if (std::string(show.name) == "box3.bmp") continue;
        EXPECT_NE(run.output.find(show.name), std::string::npos) << "no message names " << show.name;
    }
}
