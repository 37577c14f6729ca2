// VideoFile.h: one video file being written: H.264 pictures and AAC sound.
//
// The pictures go through libswscale (BGRA, bottom row first, as GL reads
// them, to upright yuv420p with BT.601 studio-range colours, tagged so;
// scaled into a box of the video with black bars around it, by averaging
// areas when shrinking and with a Lanczos filter when enlarging) into
// libx264 at a constant 50 frames a second; the sound (two float planes at
// 44,100 a second) into FFmpeg's own AAC encoder; libavformat interleaves
// both into an MP4, QuickTime or Matroska file. MP4 and QuickTime files get
// their index at the front, so they play while still downloading.
//
// Nothing appears under the requested name until finish() succeeds: the
// file is written under a hidden temporary name beside it and renamed at
// the end. Any failure, or destruction before finish(), removes the
// temporary file. Every call after a failure returns false at once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "CaptureOptions.h"

struct AVAudioFifo;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

struct VideoSettings {
    std::filesystem::path path;  // the file to make
    Container container = Container::Mp4;
    int width = 800;  // the video's picture
    int height = 600;
    int crf = 18;
    // The pictures given to writePicture, and the box of the video they are
    // scaled into; a zero box width means the whole video, unscaled.
    int sourceWidth = 800;
    int sourceHeight = 600;
    int boxX = 0, boxY = 0, boxWidth = 0, boxHeight = 0;
};

class VideoFile {
public:
    static constexpr int FRAME_RATE = 50;
    static constexpr int SAMPLE_RATE = 44100;

    VideoFile();
    ~VideoFile();
    VideoFile(const VideoFile&) = delete;
    VideoFile& operator=(const VideoFile&) = delete;

    // Sets up both encoders, creates the temporary file and writes the
    // header. False with a one-line `error()` when any of it fails.
    bool open(const VideoSettings& settings);
    // Encodes the next picture: source width x height x 4 bytes, BGRA,
    // bottom row first. Its time is its index / 50 s.
    bool writePicture(const uint8_t* bgraBottomFirst);
    // Encodes the next `count` samples of sound.
    bool writeSound(const float* left, const float* right, int count);
    // Drains both encoders, ends the file and gives it its name.
    bool finish();
    // Stops and removes the temporary file; the requested name is untouched.
    void discard();

    const std::string& error() const { return problem; }
    const std::filesystem::path& temporaryPath() const { return temporary; }

private:
    bool openVideoEncoder(const VideoSettings& settings);
    bool openSoundEncoder();
    // Sends a frame (nullptr: end of stream) and writes every packet it yields.
    bool encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame);
    // Encodes queued sound in whole encoder frames; with `all`, the rest too.
    bool drainSound(bool all);
    bool fail(const std::string& what, int code = 0);
    void release();

    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* sound = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* soundStream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* soundFrame = nullptr;
    AVPacket* packet = nullptr;
    AVAudioFifo* soundQueue = nullptr;
    int64_t pictures = 0;      // pictures sent so far: the next one's time stamp
    int64_t samples = 0;       // samples sent so far: the next frame's time stamp
    int width = 0;
    int height = 0;
    int sourceWidth = 0;
    int sourceHeight = 0;
    int boxX = 0, boxY = 0, boxWidth = 0, boxHeight = 0;
    bool fileOpen = false;     // the temporary file exists and is ours
    bool failed = false;
    std::filesystem::path target;
    std::filesystem::path temporary;
    std::string problem;
};
