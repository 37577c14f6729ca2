// InfoToolTest.cpp: quorl-h-3dsinfo as content authors run it: its report
// lines for good files, its failure report and exit status for bad ones.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/ToolRun.h"
#include "tools/writers/Writer3ds.h"

using writers::Writer3ds;

namespace {

// Runs the tool, its standard output and error together.
ToolRun runInfo(const std::string& arguments)
{
    return runTool(std::string(QUORL_3DSINFO) + " " + arguments + " 2>&1");
}

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("quorl-3dsinfo-" + name)).string();
}

}  // namespace

TEST(InfoTool, ReportsMeshesAndMaterialsOfGoodFile) {
    writers::Cube cube = writers::makeCube({1, 2, 4, 8, 16, 32});
    cube.mesh.groups = {{"Steel", {0, 1}}, {"Glass", {2}}};
    const std::string path = tempPath("cube.3ds");
    ASSERT_TRUE(writers::writeFile(path, writers::makeFile([&](Writer3ds& w) {
        writers::writeMaterial(w, "Steel");
        writers::writeMaterial(w, "Glass");
        writers::writeMeshObject(w, "Cube", cube.mesh);
    })));
    const ToolRun run = runInfo(path);
    EXPECT_EQ(run.exit, 0);
    EXPECT_EQ(run.output, path + ": loaded\n"
                                 "mesh Cube vertices 24 triangles 12 materials 2\n"
                                 "material Steel\n"
                                 "material Glass\n");
    std::filesystem::remove(path);
}

TEST(InfoTool, AnyFailedFileGivesStatusOneAndTheReason) {
    const std::string good = tempPath("good.3ds");
    const std::string bad = tempPath("bad.3ds");
    ASSERT_TRUE(writers::writeFile(good, writers::makeFile([](Writer3ds&) {})));
    ASSERT_TRUE(writers::writeFile(bad, {'n', 'o', 't', ' ', '3', 'd', 's', '!'}));
    const ToolRun run = runInfo(good + " " + bad + " " + tempPath("missing.3ds"));
    EXPECT_EQ(run.exit, 1);
    EXPECT_NE(run.output.find(good + ": loaded\n"), std::string::npos);
    EXPECT_NE(run.output.find(bad + ": load failed (Reader3DS::Read3DS - wrong file format)\n"), std::string::npos);
    EXPECT_NE(run.output.find("missing.3ds: load failed (Reader3DS::LoadFile - cannot open file)\n"),
              std::string::npos);
    std::filesystem::remove(good);
    std::filesystem::remove(bad);
}

// A damaged file loads, but the tool must say what was lost and exit 3, so
// that a script can tell it from a clean file (0) and a refused one (1).
TEST(InfoTool, DamagedFileNamesEachKindAndGivesStatusThree) {
    writers::MeshData holes;
    holes.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    holes.faces = {{0, 1, 2}, {0, 1, 5}};
    holes.groups = {{"Nowhere", {0}}};
    const std::string damaged = tempPath("damaged.3ds");
    const std::string good = tempPath("clean.3ds");
    ASSERT_TRUE(writers::writeFile(damaged, writers::makeFile([&](Writer3ds& w) {
        writers::writeMeshObject(w, "Holes", holes);
    })));
    ASSERT_TRUE(writers::writeFile(good, writers::makeFile([](Writer3ds&) {})));

    const ToolRun run = runInfo(good + " " + damaged);
    EXPECT_EQ(run.exit, 3);
    EXPECT_NE(run.output.find(damaged + ": loaded\n"
                                        "damaged faces\n"
                                        "damaged face-groups\n"
                                        "mesh Holes vertices 3 triangles 1 materials 0\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(runInfo(good).exit, 0);
    EXPECT_EQ(runInfo(damaged + " " + tempPath("missing.3ds")).exit, 1);
    std::filesystem::remove(damaged);
    std::filesystem::remove(good);
}
