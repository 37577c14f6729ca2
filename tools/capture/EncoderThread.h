// EncoderThread.h: encodes the captured pictures on a second thread.
//
// The render loop takes a free picture buffer, reads the finished frame into
// it and hands it over; this thread converts and encodes it, adds the frame's
// 20 ms of music, and gives the buffer back. A few buffers let rendering run
// ahead while the encoder works, so the slower of the two sets the pace,
// not their sum. Pictures are encoded strictly in the order handed over, so
// the file does not depend on how the two threads happen to interleave.
//
// The thread owns the VideoFile and the MusicTrack while it runs; a write
// failure stops it, and the render loop sees that through failed().
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MusicTrack;
class VideoFile;

class EncoderThread {
public:
    // `bufferBytes`: one picture; `buffers`: how many may be in flight.
    EncoderThread(VideoFile& file, MusicTrack& music, size_t bufferBytes, int buffers);
    ~EncoderThread();
    EncoderThread(const EncoderThread&) = delete;
    EncoderThread& operator=(const EncoderThread&) = delete;

    // A buffer to read the next picture into; waits while all are queued.
    // nullptr once the encoder has failed.
    uint8_t* freeBuffer();
    // Queues a buffer from freeBuffer() for encoding.
    void submit(uint8_t* buffer);
    // Encodes what is queued, ends the file (when nothing failed) and stops
    // the thread. True when the file is complete under its name.
    bool finish();
    // Stops the thread after the picture in hand; the file is discarded.
    void abandon();

    bool failed();
    std::string error();
    // Seconds the thread spent converting, encoding and writing.
    double busySeconds();

private:
    void run();

    VideoFile& file;
    MusicTrack& music;
    std::vector<std::vector<uint8_t>> storage;
    std::vector<float> left;
    std::vector<float> right;

    std::mutex lock;
    std::condition_variable changed;
    std::deque<uint8_t*> spare;    // free buffers
    std::deque<uint8_t*> waiting;  // handed over, not yet encoded
    bool closing = false;          // no more pictures will come
    bool stopNow = false;          // leave without ending the file
    bool broken = false;           // a write failed
    bool done = false;             // the thread has ended
    std::string problem;
    double busy = 0.0;
    std::thread worker;
};
