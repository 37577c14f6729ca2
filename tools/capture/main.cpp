// quorl-h-capture: the show rendered headless into a video file with its music.
//
//   quorl-h-capture --out FILE [--from A] [--to B] [--data DIR] [--crf N] [--size WxH]
//
// Renders frames 0..B-1 with the headless platform's virtual 20 ms clock
// (the show has memory, so frames before A are drawn too, unrecorded) and
// encodes frames A..B-1 into FILE: H.264 at exactly 50 frames a second and
// the track from data/musik.mp3 cut to start A x 20 ms into the music, as
// AAC. B defaults to 7,300: the whole running order and the end picture's
// first two seconds. The container follows FILE's extension. --size makes
// a video of that size (default 800x600): the 4:3 picture in the middle,
// drawn at the smallest render scale that covers it and scaled down into
// it, with black bars where the shapes differ.
// Progress goes to standard error; at the end one line splits the time into
// rendering, read-back and encoding.
//
// Exit status: 0 done; 1 the capture failed (nothing left under FILE's
// name); 2 bad arguments; 128 + the signal's number when interrupted.
#include <GL/gl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "CaptureOptions.h"
#include "EncoderThread.h"
#include "MusicTrack.h"
#include "Progress.h"
#include "VideoFile.h"
#include "common/Screen.h"
#include "platform/DataFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

namespace {

// Pictures in flight between the render loop and the encoder thread.
constexpr int PICTURE_BUFFERS = 4;

std::atomic<int> stopSignal{0};

void onStopSignal(int signal)
{
    stopSignal = signal;
}

void say(const std::string& line)
{
    std::fprintf(stderr, "quorl-h-capture: %s\n", line.c_str());
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point begin)
{
    return std::chrono::duration<double>(Clock::now() - begin).count();
}

// Processor time of the whole process, every thread (GL's and x264's too).
double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    CaptureOptions options;
    if (const auto status = captureCommandLine(options)->parse(argc, argv)) return *status;
    std::string error;
    // The libraries' own chatter (encoder settings, statistics) would bury
    // the progress line; their errors still show.
    av_log_set_level(AV_LOG_ERROR);
    // A full disk or a file-size limit must fail a write, not end the process;
    // Ctrl-C and kill stop the capture cleanly.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);

    // The output name is taken before --data moves the working directory.
    const fs::path videoPath = fs::absolute(options.video);
    if (!platform::useToolData("quorl-h-capture", options.data)) return 1;

    MusicTrack music;
    if (!music.open("data/musik.mp3", error)) say("no music (" + error + "): the capture is silent");
    const int to = options.to;

    const VideoLayout layout = videoLayout(options.size.width, options.size.height);
    VideoSettings settings{videoPath, options.container, options.size.width, options.size.height, options.crf};
    settings.sourceWidth = PICTURE_WIDTH * layout.scale;
    settings.sourceHeight = PICTURE_HEIGHT * layout.scale;
    settings.boxX = layout.boxX;
    settings.boxY = layout.boxY;
    settings.boxWidth = layout.boxWidth;
    settings.boxHeight = layout.boxHeight;
    VideoFile file;
    if (!file.open(settings)) {
        say(file.error());
        return 1;
    }
    music.skip(static_cast<int64_t>(options.from) * MusicTrack::SAMPLES_PER_FRAME);

    // Rendering makes no sound unless asked to.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    platform::HeadlessPlatform headless;
    platform::setCurrent(&headless);
    Timeline timeline(headless);
    Shell shell(headless, timeline, ShellSettings{.scale = layout.scale});
    if (!shell.openWindow("Quorl-H", PICTURE_WIDTH, PICTURE_HEIGHT, SCREEN_BITS, false)) {
        file.discard();
        say("no GL context at render scale " + std::to_string(layout.scale) + ": nothing captured");
        return 1;
    }

    const size_t pictureBytes = static_cast<size_t>(screenWidth()) * screenHeight() * 4;
    EncoderThread encoder(file, music, pictureBytes, PICTURE_BUFFERS);
    Progress progress(to, isatty(STDERR_FILENO) != 0, stderr);
    const auto start = Clock::now();
    double renderSeconds = 0.0;
    double readSeconds = 0.0;
    double waitSeconds = 0.0;
    int frame = 0;
    for (; frame < to && stopSignal == 0; ++frame) {
        auto begin = Clock::now();
        timeline.renderFrame();
        glFinish();
        renderSeconds += secondsSince(begin);
        if (frame >= options.from) {
            begin = Clock::now();
            uint8_t* buffer = encoder.freeBuffer();
            waitSeconds += secondsSince(begin);
            if (!buffer) break;  // the encoder has failed
            begin = Clock::now();
            headless.readPictureBgra(buffer);
            readSeconds += secondsSince(begin);
            encoder.submit(buffer);
        }
        timeline.finishFrame();
        headless.swapBuffers();
        progress.update(frame + 1, secondsSince(start));
    }

    if (stopSignal != 0) {
        encoder.abandon();
        progress.finish(frame, secondsSince(start));
        say("interrupted: nothing written");
        shell.closeWindow();
        return 128 + stopSignal;
    }
    const bool ok = frame == to && encoder.finish();
    progress.finish(frame, secondsSince(start));
    shell.closeWindow();
    if (!ok) {
        encoder.abandon();
        say(encoder.error());
        return 1;
    }
    // Wall-clock times: rendering and read-back on the main thread, encoding
    // on the second one at the same time; the wait shows which was slower.
    char summary[320];
    std::snprintf(summary, sizeof summary,
                  "%d frames (%d to %d) in %.1f s: rendering %.1f s, read-back %.1f s, encoding %.1f s on its own "
                  "thread (render loop waited %.1f s for it); processor time %.1f s",
                  to - options.from, options.from, to - 1, secondsSince(start), renderSeconds, readSeconds,
                  encoder.busySeconds(), waitSeconds, processorSeconds());
    say(summary);
    say("wrote " + videoPath.string());
    return 0;
}
