// EncoderThread.cpp: the hand-over queue and the encoding loop.
#include "EncoderThread.h"

#include <chrono>

#include "MusicTrack.h"
#include "VideoFile.h"

EncoderThread::EncoderThread(VideoFile& file, MusicTrack& music, size_t bufferBytes, int buffers)
    : file(file),
      music(music),
      storage(static_cast<size_t>(buffers), std::vector<uint8_t>(bufferBytes)),
      left(MusicTrack::SAMPLES_PER_FRAME),
      right(MusicTrack::SAMPLES_PER_FRAME)
{
    for (auto& buffer : storage) spare.push_back(buffer.data());
    worker = std::thread([this] { run(); });
}

EncoderThread::~EncoderThread()
{
    abandon();
}

uint8_t* EncoderThread::freeBuffer()
{
    std::unique_lock guard(lock);
    changed.wait(guard, [this] { return !spare.empty() || broken || done; });
    if (broken || done) return nullptr;
    uint8_t* buffer = spare.front();
    spare.pop_front();
    return buffer;
}

void EncoderThread::submit(uint8_t* buffer)
{
    {
        std::lock_guard guard(lock);
        waiting.push_back(buffer);
    }
    changed.notify_all();
}

void EncoderThread::run()
{
    using Clock = std::chrono::steady_clock;
    for (;;) {
        uint8_t* buffer = nullptr;
        {
            std::unique_lock guard(lock);
            changed.wait(guard, [this] { return !waiting.empty() || closing || stopNow; });
            if (stopNow || (waiting.empty() && closing)) break;
            buffer = waiting.front();
            waiting.pop_front();
        }
        const auto begin = Clock::now();
        // The picture, then the music that plays while it is shown.
        music.read(left.data(), right.data(), MusicTrack::SAMPLES_PER_FRAME);
        const bool ok = file.writePicture(buffer) &&
                        file.writeSound(left.data(), right.data(), MusicTrack::SAMPLES_PER_FRAME);
        const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
        {
            std::lock_guard guard(lock);
            busy += seconds;
            spare.push_back(buffer);
            if (!ok) {
                broken = true;
                problem = file.error();
            }
        }
        changed.notify_all();
        if (!ok) break;
    }
    bool finishFile = false;
    {
        std::lock_guard guard(lock);
        finishFile = closing && !stopNow && !broken;
    }
    // Ending the file drains the encoders' look-ahead: part of the encoding time.
    const auto begin = Clock::now();
    bool finished = false;
    if (finishFile) {
        finished = file.finish();
    } else {
        file.discard();
    }
    {
        std::lock_guard guard(lock);
        busy += std::chrono::duration<double>(Clock::now() - begin).count();
        if (finishFile && !finished) {
            broken = true;
            problem = file.error();
        }
        done = true;
    }
    changed.notify_all();
}

bool EncoderThread::finish()
{
    {
        std::lock_guard guard(lock);
        closing = true;
    }
    changed.notify_all();
    if (worker.joinable()) worker.join();
    std::lock_guard guard(lock);
    return !broken;
}

void EncoderThread::abandon()
{
    {
        std::lock_guard guard(lock);
        stopNow = true;
    }
    changed.notify_all();
    if (worker.joinable()) worker.join();
}

bool EncoderThread::failed()
{
    std::lock_guard guard(lock);
    return broken;
}

std::string EncoderThread::error()
{
    std::lock_guard guard(lock);
    return problem;
}

double EncoderThread::busySeconds()
{
    std::lock_guard guard(lock);
    return busy;
}
