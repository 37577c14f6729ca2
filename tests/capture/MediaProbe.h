// MediaProbe.h: what a video file holds, read back with FFmpeg's libraries,
// for the capture tests: its streams, every decoded picture as RGB and its
// sound as one mono channel placed on the video's time line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StreamFacts {
    bool present = false;
    std::string codec;        // FFmpeg's codec name, "h264", "aac"
    int width = 0;            // pictures
    int height = 0;
    double frameRate = 0.0;   // average frames a second
    int sampleRate = 0;       // sound
    int channels = 0;
    int64_t packets = 0;      // packets read from the file
    // The first packet's time and the end of the last one (its time plus its
    // duration), in seconds on the time line whose zero is the first picture.
    double startSeconds = 0.0;
    double endSeconds = 0.0;
};

struct MediaFacts {
    bool opened = false;
    std::string container;  // the demuxer's name
    StreamFacts video;
    StreamFacts sound;
};

MediaFacts probeMedia(const std::string& path);

// Every picture of the first video stream as 8-bit RGB, top row first,
// converted with the colour matrix and range the stream is tagged with.
std::vector<std::vector<uint8_t>> decodePictures(const std::string& path, int& width, int& height);

struct MonoSound {
    std::vector<float> samples;
    int sampleRate = 0;
    double startSeconds = 0.0;  // time of samples[0] on the file's time line
};

// The first audio stream (or `seconds` of it) mixed to mono floats. In a
// file with video the time line's zero is the first picture's time.
MonoSound decodeSound(const std::string& path, double seconds = 1e9);
