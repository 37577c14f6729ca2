// InstallTest.cpp: the installed show works from anywhere. The tree that
// `cmake --install` makes in a temporary prefix, and the Debian package
// unpacked with dpkg -x into a temporary root, each render frames 0 and 7250
// from an empty working folder exactly as the build folder does; ./data in
// the working folder still wins over the installed data; the package names
// its library dependencies, describes itself, and lintian finds no error in it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

// Frames compared: the logo's first and the end picture. The frames between
// are stepped (every call made, nothing filled): the end picture is the
// same either way, and the whole show is not drawn once per install.
constexpr const char* RENDER_ARGUMENTS = "--step --from 0 --to 7251 --save 0,7250";
constexpr const char* FRAMES[] = {"frame-000000.png", "frame-007250.png"};

struct Install : testing::Test {
    static fs::path scratch;
    static fs::path buildFrames;

    // The build folder's frames: those the frame tests share when ctest
    // has rendered them, else rendered once for the whole suite.
    static void SetUpTestSuite()
    {
        scratch = fs::temp_directory_path() / ("quorl-install-test-" + std::to_string(::getpid()));
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        if (const char* shared = std::getenv("QUORL_SHOW_FRAMES")) {
            buildFrames = shared;
            bool all = true;
            for (const char* frame : FRAMES) all = all && fs::exists(buildFrames / frame);
            if (all) return;
        }
        buildFrames = scratch / "build-frames";
        fs::create_directories(buildFrames);
        runCommand(std::string("cd " QUORL_BUILD_DIR " && ./quorl-h-render ") + RENDER_ARGUMENTS + " --out " +
                       quoted(buildFrames),
                   scratch);
    }
    static void TearDownTestSuite() { fs::remove_all(scratch); }

    CommandRun run(const std::string& command) { return runCommand(command, scratch); }

    // A new empty folder under the scratch folder.
    fs::path emptyFolder(const std::string& name)
    {
        const fs::path folder = scratch / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder;
    }

    // Renders with renderer from an empty folder and compares with the build's frames.
    void expectBuildFramesFrom(const fs::path& renderer, const std::string& name)
    {
        for (const char* frame : FRAMES) ASSERT_TRUE(fs::exists(buildFrames / frame)) << "build render failed";
        const fs::path empty = emptyFolder(name + "-cwd");
        const fs::path out = emptyFolder(name + "-frames");
        const CommandRun result = run("cd " + quoted(empty) + " && " + quoted(renderer) + " " + RENDER_ARGUMENTS +
                                      " --out " + quoted(out));
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err.find("not in"), std::string::npos) << "installed data not found: " << result.err;
        for (const char* frame : FRAMES) {
            const std::string picture = readFile(out / frame);
            ASSERT_FALSE(picture.empty()) << frame;
            EXPECT_TRUE(picture == readFile(buildFrames / frame)) << name << " " << frame << " differs";
        }
        EXPECT_TRUE(fs::is_empty(empty)) << "the renderer left files in the working folder";
    }

    // The Debian package, made by CPack into the scratch folder.
    fs::path makePackage()
    {
        const fs::path folder = scratch / "package";
        if (fs::exists(folder / "made")) return folder;
        fs::create_directories(folder);
        const CommandRun result =
            run("cpack --config " QUORL_BUILD_DIR "/CPackConfig.cmake -B " + quoted(folder));
        EXPECT_EQ(result.status, 0) << result.out << result.err;
        runCommand("touch " + quoted(folder / "made"), scratch);
        return folder;
    }

    fs::path packageFile()
    {
        const fs::path folder = makePackage();
        std::string arch = run("dpkg --print-architecture").out;
        while (!arch.empty() && arch.back() == '\n') arch.pop_back();
        return folder / ("quorl-h_" QUORL_VERSION "_" + arch + ".deb");
    }
};

fs::path Install::scratch;
fs::path Install::buildFrames;

}  // namespace

TEST_F(Install, InstalledTreeRendersTheBuildsFramesFromAnEmptyFolder)
{
    const fs::path prefix = scratch / "prefix";
    const CommandRun result = run("cmake --install " QUORL_BUILD_DIR " --prefix " + quoted(prefix));
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* file : {"games/quorl-h", "games/quorl-h-render", "games/quorl-h-capture", "games/quorl-h-3dsinfo", "games/quorl-h-check",
                             "share/games/quorl-h/data/logga.bmp", "share/games/quorl-h/data/musik.mp3",
                             "share/applications/quorl-h.desktop", "share/icons/hicolor/256x256/apps/quorl-h.png",
                             "share/man/man6/quorl-h.6.gz", "share/doc/quorl-h/copyright"}) {
        EXPECT_TRUE(fs::exists(prefix / file)) << file;
    }
    expectBuildFramesFrom(prefix / "games" / "quorl-h-render", "installed");
}

TEST_F(Install, WorkingFolderDataWinsOverInstalledData)
{
    const fs::path prefix = scratch / "prefix";
    if (!fs::exists(prefix / "games" / "quorl-h-render")) {
        ASSERT_EQ(run("cmake --install " QUORL_BUILD_DIR " --prefix " + quoted(prefix)).status, 0);
    }
    // A working folder whose data/ has a logo of its own: the end picture.
    const fs::path work = emptyFolder("own-data");
    fs::create_directories(work / "data");
    fs::copy_file(QUORL_BUILD_DIR "/data/theend.bmp", work / "data" / "logga.bmp");
    const fs::path installedOut = emptyFolder("own-data-installed");
    const fs::path givenOut = emptyFolder("own-data-given");
    ASSERT_EQ(run("cd " + quoted(work) + " && " + quoted(prefix / "games" / "quorl-h-render") +
                  " --from 0 --to 1 --save 0 --out " + quoted(installedOut))
                  .status,
              0);
    ASSERT_EQ(run("cd " QUORL_BUILD_DIR " && ./quorl-h-render --from 0 --to 1 --save 0 --data " +
                  quoted(work / "data") + " --out " + quoted(givenOut))
                  .status,
              0);
    const std::string own = readFile(installedOut / FRAMES[0]);
    ASSERT_FALSE(own.empty());
    EXPECT_TRUE(own == readFile(givenOut / FRAMES[0])) << "./data was not the folder read";
    EXPECT_FALSE(own == readFile(buildFrames / FRAMES[0])) << "the installed logo was shown";
}

TEST_F(Install, UnpackedDebianPackageRendersTheBuildsFramesFromAnEmptyFolder)
{
    const fs::path deb = packageFile();
    ASSERT_TRUE(fs::exists(deb)) << deb;
    const fs::path root = emptyFolder("unpacked");
    ASSERT_EQ(run("dpkg -x " + quoted(deb) + " " + quoted(root)).status, 0);
    for (const char* file : {"usr/games/quorl-h", "usr/share/games/quorl-h/data/allt.3ds",
                             "usr/share/applications/quorl-h.desktop", "usr/share/man/man6/quorl-h.6.gz"}) {
        EXPECT_TRUE(fs::exists(root / file)) << file;
    }
    expectBuildFramesFrom(root / "usr" / "games" / "quorl-h-render", "unpacked");
}

TEST_F(Install, DebianPackageNamesItsLibrariesAndDescribesItself)
{
    const fs::path deb = packageFile();
    const CommandRun depends = run("dpkg-deb -f " + quoted(deb) + " Depends");
    ASSERT_EQ(depends.status, 0) << depends.err;
    for (const char* library : {"libc6", "libsdl2-2.0-0", "libsdl2-mixer-2.0-0", "libjpeg62-turbo", "libgl1",
                                "libpng16-16"}) {
        EXPECT_NE(depends.out.find(library), std::string::npos) << library << " missing from " << depends.out;
    }
    const CommandRun fields = run("dpkg-deb -f " + quoted(deb) + " Package Section Description");
    EXPECT_NE(fields.out.find("Package: quorl-h\n"), std::string::npos) << fields.out;
    EXPECT_NE(fields.out.find("Section: games\n"), std::string::npos) << fields.out;
    // A one-line summary and a long description under it.
    EXPECT_NE(fields.out.find("Description: real-time OpenGL show"), std::string::npos) << fields.out;
    EXPECT_NE(fields.out.find("\n A non-interactive audiovisual show"), std::string::npos) << fields.out;
    EXPECT_NE(fields.out.find("\n .\n"), std::string::npos) << "paragraphs kept apart" << fields.out;
}

TEST_F(Install, LintianFindsNoErrorInTheDebianPackage)
{
    const fs::path deb = packageFile();
    const CommandRun result = run("lintian --fail-on error " + quoted(deb));
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.out.find("E: "), std::string::npos) << result.out;
    // Warnings are allowed, but shown.
    if (!result.out.empty()) std::printf("lintian:\n%s", result.out.c_str());
}
