// MusicTrack.h: the show's track, decoded for the capture's sound.
//
// Opens an audio file with libavformat, decodes it with libavcodec and
// converts it with libswresample to 44,100 samples a second, two float
// planes: what the AAC encoder takes. Samples are counted from the track's
// first sample as its decoder hands it out (the MP3 encoder's delay already
// removed), so sample N is N / 44,100 s into the music, the moment the show's
// frame N / 882 starts. Reading is sequential; past the end of the track, or
// when no track is open, it yields silence, so a capture longer than the
// music or one without music simply goes quiet.
#pragma once

#include <cstdint>
#include <string>

struct AVAudioFifo;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

class MusicTrack {
public:
    static constexpr int SAMPLE_RATE = 44100;
    static constexpr int SAMPLES_PER_FRAME = SAMPLE_RATE / 50;  // one 20 ms frame: 882

    MusicTrack();
    ~MusicTrack();
    MusicTrack(const MusicTrack&) = delete;
    MusicTrack& operator=(const MusicTrack&) = delete;

    // Opens the file and its first audio stream; false with `error` set (and
    // the track silent) when there is none that decodes.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return decoder != nullptr; }
    // The track's length in samples as the file states it; 0 when unknown.
    int64_t lengthSamples() const { return length; }
    // Passes over `count` samples, decoding them (exact to the sample, where
    // seeking in an MP3 is not).
    void skip(int64_t count);
    // The next `count` samples into two planes.
    void read(float* left, float* right, int count);
    // A problem met while decoding (after which the rest is silent), or "".
    const std::string& warning() const { return problem; }

private:
    // Decodes until `count` samples wait in the queue or the track ends.
    void fill(int count);
    // Converts a decoded frame (nullptr: what the converter still holds).
    void convert(const AVFrame* frame);
    void close();

    AVFormatContext* format = nullptr;
    AVCodecContext* decoder = nullptr;
    SwrContext* converter = nullptr;
    AVAudioFifo* queue = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* decoded = nullptr;
    int stream = -1;
    int64_t length = 0;
    bool ended = true;
    std::string problem;
};
