// CaptureToolTest.cpp: quorl-h-capture end to end. Short captures are read
// back with FFmpeg's libraries and compared with what quorl-h-render draws
// and with the track itself: streams and their timing, the pictures (close
// to the rendered frames, upright), the music cut at the right moment; and
// the failures: bad arguments, unwritable output, full disk, interruption.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MediaProbe.h"
#include "support/FrameDifference.h"
#include "support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

// Runs a command line from the build folder (where the tools and data/ are)
// and keeps its standard error.
ToolRun errorsOf(const std::string& command) { return runTool("{ " + command + " ; } 2>&1 >/dev/null"); }

ToolRun capture(const std::string& arguments, const std::string& prefix = "")
{
    return errorsOf(prefix + "./quorl-h-capture " + arguments);
}

int filesIn(const fs::path& folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

// An 8-bit RGB PNG as the renderer writes it, top row first; empty when unreadable.
std::vector<uint8_t> readPng(const fs::path& path) { return frames::readPng(path).rgb; }

std::vector<uint8_t> upsideDown(const std::vector<uint8_t>& rgb)
{
    std::vector<uint8_t> flipped(rgb.size());
    const size_t row = WIDTH * 3;
    for (int y = 0; y < HEIGHT; ++y) {
        std::copy_n(&rgb[(HEIGHT - 1 - y) * row], row, &flipped[y * row]);
    }
    return flipped;
}

// Peak signal-to-noise ratio in dB; 99 for identical pictures.
double psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size() || a.empty()) return 0.0;
    double squares = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = double(a[i]) - double(b[i]);
        squares += d * d;
    }
    const double mean = squares / a.size();
    return mean == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

// The offset in seconds at which `snippet` fits `track` best, searched from
// `from` to `to` seconds, by normalised cross-correlation.
double bestOffset(const std::vector<float>& snippet, const std::vector<float>& track, int rate, double from,
                  double to)
{
    const long first = std::max(0L, std::lround(from * rate));
    const long last = std::min(static_cast<long>(track.size() - snippet.size()), std::lround(to * rate));
    double best = -2.0;
    long bestLag = -1;
    for (long lag = first; lag <= last; ++lag) {
        double dot = 0.0;
        double energy = 0.0;
        for (size_t i = 0; i < snippet.size(); ++i) {
            const double t = track[lag + i];
            dot += snippet[i] * t;
            energy += t * t;
        }
        const double score = energy > 0.0 ? dot / std::sqrt(energy) : 0.0;
        if (score > best) {
            best = score;
            bestLag = lag;
        }
    }
    return double(bestLag) / rate;
}

// Frames 380 to 429 (the logo's last fading frames and the first of the
// intro) as a video, and as PNG files from the frame renderer.
struct CaptureTool : testing::Test {
    static inline fs::path folder;
    static inline ToolRun shortRun;

    static void SetUpTestSuite()
    {
        folder = freshFolder("capture-tool-short");
        shortRun = capture("--from 380 --to 430 --video " + (folder / "short.mp4").string());
        errorsOf("./quorl-h-render --from 380 --to 430 --save 380,399,400,429 --out " + (folder / "png").string());
    }
    static std::string video() { return (folder / "short.mp4").string(); }
};

}  // namespace

TEST_F(CaptureTool, ShortCaptureHoldsFiftyFramesAtFiftyFpsWithSoundAsLong)
{
    ASSERT_EQ(shortRun.exit, 0) << shortRun.output;
    const MediaFacts facts = probeMedia(video());
    ASSERT_TRUE(facts.opened);
    EXPECT_EQ(facts.video.codec, "h264");
    EXPECT_EQ(facts.video.width, WIDTH);
    EXPECT_EQ(facts.video.height, HEIGHT);
    EXPECT_DOUBLE_EQ(facts.video.frameRate, 50.0);
    EXPECT_EQ(facts.video.packets, 50);
    EXPECT_EQ(facts.video.startSeconds, 0.0);
    EXPECT_NEAR(facts.video.endSeconds, 1.0, 1e-6);
    EXPECT_EQ(facts.sound.codec, "aac");
    EXPECT_EQ(facts.sound.sampleRate, 44100);
    EXPECT_EQ(facts.sound.channels, 2);
    EXPECT_NEAR(facts.sound.endSeconds, facts.video.endSeconds, 0.02);
    // The progress report's last line names every frame rendered.
    EXPECT_NE(shortRun.output.find("frame 430/430 (100%)"), std::string::npos) << shortRun.output;
}

TEST_F(CaptureTool, DecodedFramesMatchTheRenderedFramesAndStandUpright)
{
    int width = 0;
    int height = 0;
    const auto pictures = decodePictures(video(), width, height);
    ASSERT_EQ(pictures.size(), 50u);
    for (const int frame : {380, 399, 400, 429}) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", frame);
        const std::vector<uint8_t> rendered = readPng(folder / "png" / name);
        ASSERT_EQ(rendered.size(), size_t(WIDTH * HEIGHT * 3)) << name;
        if (frame < 400) {
            // The logo's smooth picture survives the encoding almost unchanged.
            EXPECT_GT(psnr(pictures[frame - 380], rendered), 35.0) << name;
        } else {
            // The intro's one-pixel coloured lines lose colour to the halved
            // chroma resolution of yuv420p, so their peak error is large;
            // on average the picture still differs by only a few levels.
            EXPECT_LT(frames::difference({WIDTH, HEIGHT, pictures[frame - 380]}, {WIDTH, HEIGHT, rendered}).mean, 8.0) << name;
            EXPECT_GT(psnr(pictures[frame - 380], rendered), 25.0) << name;
        }
    }
    // The logo is not symmetric top to bottom: upside down it fits far worse.
    const std::vector<uint8_t> logo = readPng(folder / "png" / "frame-000380.png");
    EXPECT_GT(psnr(pictures[0], logo), psnr(pictures[0], upsideDown(logo)) + 10.0);
}

TEST(CaptureToolSize, FullHdHasBlackBarsAndThePictureDrawnLargerInTheMiddle)
{
    // The logo's last frames and the intro's first: a smooth picture and lines.
    const fs::path folder = freshFolder("capture-tool-fullhd");
    const std::string video = (folder / "hd.mp4").string();
    const ToolRun run = capture("--from 390 --to 420 --size 1920x1080 --video " + video);
    ASSERT_EQ(run.exit, 0) << run.output;
    errorsOf("./quorl-h-render --from 390 --to 420 --save 390,419 --out " + (folder / "png").string());
    const MediaFacts facts = probeMedia(video);
    EXPECT_EQ(facts.video.codec, "h264");
    EXPECT_EQ(facts.video.width, 1920);
    EXPECT_EQ(facts.video.height, 1080);
    EXPECT_DOUBLE_EQ(facts.video.frameRate, 50.0);
    EXPECT_EQ(facts.video.packets, 30);
    EXPECT_EQ(facts.sound.codec, "aac");
    EXPECT_NEAR(facts.sound.endSeconds, facts.video.endSeconds, 0.02);

    int width = 0;
    int height = 0;
    const auto pictures = decodePictures(video, width, height);
    ASSERT_EQ(pictures.size(), 30u);
    ASSERT_EQ(width, 1920);
    for (const int frame : {390, 419}) {
        const std::vector<uint8_t>& picture = pictures[frame - 390];
        // 240 columns of bars each side of the 1440 x 1080 picture; a few
        // columns next to the picture may catch the encoder's ringing.
        int brightest = 0;
        for (int y = 0; y < 1080; ++y) {
            for (const int x0 : {0, 1684}) {
                for (int x = x0; x < x0 + 236; ++x) {
                    for (int c = 0; c < 3; ++c) brightest = std::max<int>(brightest, picture[(y * 1920 + x) * 3 + c]);
                }
            }
        }
        EXPECT_LE(brightest, 2) << "bars of frame " << frame;
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", frame);
        const std::vector<uint8_t> rendered = readPng(folder / "png" / name);
        ASSERT_EQ(rendered.size(), size_t(WIDTH * HEIGHT * 3)) << name;
        // The intro's lines are drawn twice as wide on a twice as fine grid,
        // which rasterises a little differently, and lose colour to yuv420p.
        const std::vector<uint8_t> middle = frames::boxFilter({1920, 1080, picture}, 240, 0, 1440, 1080).rgb;
        EXPECT_LT(frames::difference({WIDTH, HEIGHT, middle}, {WIDTH, HEIGHT, rendered}).mean, frame < 400 ? 3.0 : 14.0) << name;
        EXPECT_GT(psnr(middle, rendered), frame < 400 ? 33.0 : 22.0) << name;
    }
}

TEST(CaptureToolMusic, SoundAtEachFrameIsTheTrackAtThatFramesTime)
{
    const fs::path folder = freshFolder("capture-tool-music");
    const std::string path = (folder / "music.mkv").string();
    const ToolRun run = capture("--from 1000 --to 1050 --video " + path);
    ASSERT_EQ(run.exit, 0) << run.output;
    const MonoSound captured = decodeSound(path);
    const MonoSound track = decodeSound("data/musik.mp3", 22.0);
    ASSERT_EQ(captured.sampleRate, 44100);
    ASSERT_EQ(track.sampleRate, 44100);
    ASSERT_GT(captured.samples.size(), 30000u);
    // A fifth of a second from the capture's first tenth of a second on,
    // placed by its time stamps: it belongs 20 s (frame 1000) into the track.
    const size_t skip = 4410;
    const std::vector<float> snippet(captured.samples.begin() + skip, captured.samples.begin() + skip + 8820);
    const double snippetTime = captured.startSeconds + double(skip) / 44100;
    const double offset = bestOffset(snippet, track.samples, 44100, 19.6 + snippetTime, 20.6 + snippetTime);
    EXPECT_NEAR(offset - snippetTime, 20.0, 0.010);
}

TEST(CaptureToolFiles, SameRangeGivesTheSameBytesInMatroskaToo)
{
    const fs::path folder = freshFolder("capture-tool-same");
    for (const char* name : {"a.mkv", "b.mkv"}) {
        const ToolRun run = capture("--from 0 --to 12 --video " + (folder / name).string());
        ASSERT_EQ(run.exit, 0) << run.output;
    }
    EXPECT_GT(readFile(folder / "a.mkv").size(), 1000u);
    EXPECT_EQ(readFile(folder / "a.mkv"), readFile(folder / "b.mkv"));
    const MediaFacts facts = probeMedia((folder / "a.mkv").string());
    EXPECT_EQ(facts.container, "matroska,webm");
    EXPECT_EQ(facts.video.packets, 12);
    EXPECT_NEAR(facts.sound.endSeconds, facts.video.endSeconds, 0.02);
}

TEST(CaptureToolFiles, WithoutMusicTheCaptureIsSilentAndSaysSoOnce)
{
    const fs::path folder = freshFolder("capture-tool-silent");
    fs::create_directories(folder / "empty");
    const std::string path = (folder / "silent.mp4").string();
    const ToolRun run = capture("--from 0 --to 10 --data " + (folder / "empty").string() + " --video " + path);
    ASSERT_EQ(run.exit, 0) << run.output;
    size_t lines = 0;
    const std::string said = "the capture is silent";
    for (size_t at = run.output.find(said); at != std::string::npos; at = run.output.find(said, at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 1u) << run.output;
    const MonoSound sound = decodeSound(path);
    ASSERT_GT(sound.samples.size(), 8000u);
    float peak = 0.0f;
    for (const float sample : sound.samples) peak = std::max(peak, std::abs(sample));
    EXPECT_LT(peak, 1e-4f);
}

TEST(CaptureToolFailures, BadArgumentsStopWithStatusTwoBeforeAnyFileIsMade)
{
    const fs::path folder = freshFolder("capture-tool-arguments");
    const std::string out = (folder / "x").string();
    // The parsing itself is tested on its own; here the exit and the message.
    for (const std::string& arguments : {std::string("--from 10"), "--video " + out + ".avi",
                                         "--video " + out + ".mp4 --crf 99", "--video " + out + ".mp4 --size 1921x1080",
                                         "--video " + out + ".mp4 --size 7682x4320"}) {
        const ToolRun run = capture(arguments);
        EXPECT_EQ(run.exit, 2) << arguments << "\n" << run.output;
        EXPECT_EQ(run.output.rfind("quorl-h-capture: ", 0), 0u) << arguments << "\n" << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << "one line: " << run.output;
    }
    // --from at or past the default end of the capture (frame 7,300).
    EXPECT_EQ(capture("--from 7300 --video " + out + ".mp4").exit, 2);
    EXPECT_EQ(filesIn(folder), 0);
}

TEST(CaptureToolFailures, UnwritableOutputFullDiskOrInterruptionLeaveNothingBehind)
{
    const fs::path folder = freshFolder("capture-tool-failures");
    std::ofstream(folder / "plain") << "a file, not a folder\n";
    // A path through a file: no user, not even root, can write there.
    ToolRun run = capture("--from 0 --to 5 --video " + (folder / "plain" / "x.mp4").string());
    EXPECT_EQ(run.exit, 1) << run.output;
    EXPECT_NE(run.output.find("cannot write"), std::string::npos) << run.output;

    // A 64 KB limit on file size stands in for a full disk; lossless
    // pictures pass it within a few frames.
    const std::string full = (folder / "full.mp4").string();
    run = capture("--from 0 --to 200 --crf 0 --video " + full, "ulimit -f 64; ");
    EXPECT_EQ(run.exit, 1) << run.output;
    EXPECT_NE(run.output.find("cannot write " + full), std::string::npos) << run.output;

    // Ctrl-C after two seconds, long before the whole show is done.
    run = capture("--video " + (folder / "stopped.mp4").string(), "timeout --preserve-status -s INT 2 ");
    EXPECT_EQ(run.exit, 130) << run.output;

    // Only the file put there by the test.
    EXPECT_EQ(filesIn(folder), 1);
}
