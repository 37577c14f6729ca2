// CheckTest.cpp: quorl-h-check as people who bring their own files use it:
// one line per file with the right verdict and reason, a data folder with
// missing files, the show's own data all OK, decoded pictures dumped top row
// first, and the exit status. Every file is written by the test.
#include <gtest/gtest.h>

#include <png.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FileCheck.h"
#include "support/ToolRun.h"
#include "PictureFiles.h"
#include "ShowFiles.h"
#include "tools/writers/Writer3ds.h"

using testpictures::Bytes;
namespace fs = std::filesystem;

namespace {

// Runs the checker, its standard output and error together.
ToolRun runCheck(const std::string& arguments) {
    return runTool(std::string(QUORL_CHECK) + " " + arguments + " 2>&1");
}

std::string write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

// Top-first RGB pixels with every byte different.
Bytes numbered(int width, int height) {
    Bytes pixels(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(3 + i * 7 % 240);
    return pixels;
}

std::vector<std::uint8_t> triangleModel(std::uint16_t lastCorner) {
    writers::MeshData mesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh.faces = {{0, 1, 2}, {0, 1, lastCorner}};
    return writers::makeFile([&](writers::Writer3ds& w) { writers::writeMeshObject(w, "Tri", mesh); });
}

// A JPEG with stray bytes before its start-of-scan marker: libjpeg decodes
// it whole but warns that the data is corrupt.
Bytes jpegWithStrayBytes() {
    Bytes file = testpictures::jpeg(8, 8, 3, numbered(8, 8));
    for (std::size_t i = 2; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == 0xDA) {
            file.insert(file.begin() + static_cast<std::ptrdiff_t>(i), {0x12, 0x34, 0x56});
            break;
        }
    }
    return file;
}

// Reads a PNG as 8-bit RGB, top row first.
bool readPng(const std::string& path, int& width, int& height, Bytes& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    rgb.assign(PNG_IMAGE_SIZE(image), 0);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
}

}  // namespace

// Each kind of file, good and bad, gives its one line: kind, sizes or
// counts, verdict and the reader's own reason.
TEST(CheckReport, EachKindOfFileGetsItsVerdictAndReason) {
    const fs::path dir = freshFolder("check-report");
    testpictures::BmpLayout topDown;
    topDown.topDown = true;
    struct Case {
        std::string file;
        Bytes bytes;
        std::string line;  // after "PATH: "
    };
    const Case cases[] = {
        {"square.bmp", testpictures::bmp24(4, 8, numbered(4, 8)), "BMP 4 x 8, sides powers of two, OK"},
        {"odd.bmp", testpictures::bmpLaidOut(5, 3, numbered(5, 3), topDown), "BMP 5 x 3, sides not powers of two, OK"},
        {"grey.bmp", testpictures::bmpHeader(4, 4, 1, 8, 64), "BMP, REFUSED: Bpp from DIR/grey.bmp is not 24: 8"},
        {"png.bmp", Bytes{0x89, 'P', 'N', 'G', 0, 0}, "BMP, REFUSED: Signature of DIR/png.bmp is not BM"},
        {"square.jpg", testpictures::jpeg(16, 8, 3, numbered(16, 8)), "JPEG 16 x 8, sides powers of two, OK"},
        {"stray.JPG", jpegWithStrayBytes(),
         "JPEG 8 x 8, sides powers of two, DAMAGED: Warning while decoding DIR/stray.JPG: Corrupt JPEG data: 3 "
         "extraneous bytes before marker 0xda"},
        {"cut.jpg", Bytes{0xFF, 0xD8, 0xFF}, ""},
        {"model.3ds", triangleModel(2), "3DS 1 mesh, 3 vertices, 2 triangles, 0 materials, OK"},
        {"holes.3ds", triangleModel(9),
         "3DS 1 mesh, 3 vertices, 1 triangle, 0 materials, DAMAGED: faces naming vertices that do not exist were "
         "dropped"},
        {"text.3ds", Bytes{'h', 'e', 'l', 'l', 'o', '!', '!', '!'},
         "3DS, REFUSED: Reader3DS::Read3DS - wrong file format"},
        {"silence.mp3", Bytes(4096, 0), "MP3, REFUSED: no MPEG audio found"},
        {"notes.txt", Bytes{'n', 'o', 't', 'e', 's'}, "unknown, REFUSED: not a picture, model or music file the show reads"},
        {"picture.dat", testpictures::bmp24(2, 2, numbered(2, 2)), "BMP 2 x 2, sides powers of two, OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = write(dir / c.file, c.bytes);
        const check::Report report = check::checkFile(path, check::kindOf(path));
        const std::string line = report.line(path);
        if (c.line.empty()) {  // the reason is libjpeg's; only its start is ours
            EXPECT_EQ(line.rfind(path + ": JPEG, REFUSED: Error decoding " + path + ": ", 0), 0u) << line;
            continue;
        }
        std::string want = path + ": " + c.line;
        for (std::size_t at; (at = want.find("DIR/")) != std::string::npos;) want.replace(at, 3, dir.string());
        EXPECT_EQ(line, want);
    }
    const check::Report missing = check::checkFile((dir / "gone.bmp").string(), check::Kind::Bmp);
    EXPECT_EQ(missing.line("gone.bmp"), "gone.bmp: BMP, REFUSED: missing");
    fs::remove_all(dir);
}

// The show's own files, as the build makes them, must all pass: the
// readers' mends must not change how they load.
TEST(CheckTool, ShowsOwnDataIsAllOk) {
    const ToolRun run = runCheck(QUORL_DATA);
    EXPECT_EQ(run.exit, 0) << run.output;
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = run.output.find('\n', at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, std::size(check::SHOW_FILES));
    for (const check::ShowFile& file : check::SHOW_FILES) {
        const std::string start = std::string(QUORL_DATA) + "/" + file.name + ": ";
        const std::size_t at = run.output.find(start);
        ASSERT_NE(at, std::string::npos) << file.name;
        const std::string line = run.output.substr(at, run.output.find('\n', at) - at);
        EXPECT_EQ(line.substr(line.size() - 4), ", OK") << line;
    }
    EXPECT_NE(run.output.find("/musik.mp3: MP3 "), std::string::npos);
    EXPECT_NE(run.output.find(" s, 44100 Hz, 2 channels, OK"), std::string::npos);
}

// A track cut short plays, but the show goes quiet before its end; one a
// little longer than the show's 146 s is long enough. The length counts
// sample frames: counted in bytes (four to a stereo frame) any track from
// 37 s on would pass.
TEST(CheckTool, MusicShorterThanTheShowIsDamagedWithItsLength) {
    const fs::path dir = freshFolder("check-short");
    const std::string path = std::string(QUORL_DATA) + "/musik.mp3";
    std::ifstream track(path, std::ios::binary);
    const Bytes whole{std::istreambuf_iterator<char>(track), std::istreambuf_iterator<char>()};
    // "174.00 s, 44100 Hz, ...": the whole track's length; it is encoded at a
    // constant bit rate, so a share of its bytes is that share of its time.
    const double wholeSeconds = std::stod(check::checkFile(path, check::Kind::Music).details);
    ASSERT_GT(wholeSeconds, 150.0);
    for (const double seconds : {4.0, 100.0, 150.0}) {
        const std::size_t size = static_cast<std::size_t>(static_cast<double>(whole.size()) * seconds / wholeSeconds);
        const std::string cut = write(dir / "musik.mp3", Bytes(whole.begin(), whole.begin() + size));
        const check::Report report = check::checkFile(cut, check::Kind::Music);
        SCOPED_TRACE(report.line(cut));
        const bool shortText = report.reason.find("shorter than the 146 s the show plays") != std::string::npos;
        EXPECT_EQ(shortText, seconds < 146.0) << seconds << " s";
        if (seconds < 146.0) {
            EXPECT_EQ(report.status, check::Status::Damaged);
            EXPECT_NE(report.line(cut).find(" s, 44100 Hz, 2 channels, DAMAGED: "), std::string::npos);
        }
    }
    fs::remove_all(dir);
}

// A data folder with one good picture: every other file the show opens is
// reported missing, and the status says not everything is OK.
TEST(CheckTool, FolderWithMissingFilesListsThemAndFails) {
    const fs::path dir = freshFolder("check-folder");
    write(dir / "logga.bmp", testpictures::bmp24(4, 4, numbered(4, 4)));
    const ToolRun run = runCheck(dir.string());
    EXPECT_EQ(run.exit, 1);
    EXPECT_NE(run.output.find((dir / "logga.bmp").string() + ": BMP 4 x 4, sides powers of two, OK\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find((dir / "space.bmp").string() + ": BMP, REFUSED: missing\n"), std::string::npos);
    EXPECT_NE(run.output.find((dir / "allt.3ds").string() + ": 3DS, REFUSED: missing\n"), std::string::npos);
    EXPECT_NE(run.output.find((dir / "musik.mp3").string() + ": MP3, REFUSED: missing\n"), std::string::npos);
    // Only the checker's lines: the readers' own messages are caught.
    EXPECT_EQ(run.output.find("Width of"), std::string::npos);
    fs::remove_all(dir);
}

TEST(CheckTool, ExitStatusIsZeroOnlyWhenEveryFileIsOk) {
    const fs::path dir = freshFolder("check-status");
    const std::string good = write(dir / "good.bmp", testpictures::bmp24(2, 2, numbered(2, 2)));
    const std::string odd = write(dir / "odd.bmp", testpictures::bmp24(3, 3, numbered(3, 3)));
    const std::string damaged = write(dir / "holes.3ds", triangleModel(9));
    EXPECT_EQ(runCheck(good + " " + odd).exit, 0);  // sides that are not powers of two are reported, not failed
    EXPECT_EQ(runCheck(good + " " + damaged).exit, 1);
    EXPECT_EQ(runCheck(good + " " + (dir / "gone.jpg").string()).exit, 1);
    EXPECT_EQ(runCheck("").exit, 2) << "no file named is a bad command line";
    fs::remove_all(dir);
}

// --dump writes what the readers decoded, top row first, named after the
// whole file name: compared here with the pixels the test wrote.
TEST(CheckTool, DumpWritesDecodedPicturesTopRowFirst) {
    const fs::path dir = freshFolder("check-dump");
    const fs::path out = dir / "pictures";
    testpictures::BmpLayout wide;
    wide.infoSize = 124;
    wide.gap = 100;
    testpictures::BmpLayout topDown;
    topDown.topDown = true;
    const Bytes five = numbered(5, 3);
    const Bytes quarters = testpictures::quadrants(16, {220, 30, 30}, {30, 220, 30}, {30, 30, 220}, {220, 220, 30});
    const std::string padded = write(dir / "theend.bmp", testpictures::bmpLaidOut(5, 3, five, wide));
    const std::string flipped = write(dir / "flip.bmp", testpictures::bmpLaidOut(5, 3, five, topDown));
    const std::string photo = write(dir / "theend.jpg", testpictures::jpeg(16, 16, 3, quarters));
    const ToolRun run = runCheck("--dump " + out.string() + " " + padded + " " + flipped + " " + photo);
    ASSERT_EQ(run.exit, 0) << run.output;

    for (const char* name : {"theend.bmp.png", "flip.bmp.png"}) {
        SCOPED_TRACE(name);
        int width = 0, height = 0;
        Bytes rgb;
        ASSERT_TRUE(readPng((out / name).string(), width, height, rgb));
        EXPECT_EQ(width, 5);
        EXPECT_EQ(height, 3);
        EXPECT_EQ(rgb, five);
    }
    int width = 0, height = 0;
    Bytes rgb;
    ASSERT_TRUE(readPng((out / "theend.jpg.png").string(), width, height, rgb));
    ASSERT_EQ(width, 16);
    ASSERT_EQ(height, 16);
    // Corners away from the quadrant edges: top left red, bottom right yellow.
    EXPECT_TRUE(testpictures::near(&rgb[(1 * 16 + 1) * 3], {220, 30, 30}, 12));
    EXPECT_TRUE(testpictures::near(&rgb[(1 * 16 + 14) * 3], {30, 220, 30}, 12));
    EXPECT_TRUE(testpictures::near(&rgb[(14 * 16 + 1) * 3], {30, 30, 220}, 12));
    EXPECT_TRUE(testpictures::near(&rgb[(14 * 16 + 14) * 3], {220, 220, 30}, 12));
    fs::remove_all(dir);
}
