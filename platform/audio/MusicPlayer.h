// MusicPlayer.h: plays the show's music track once, in the background, on
// SDL2_mixer.
//
// A platform backend holds one MusicPlayer for the whole process and passes
// every startMusic call to start(). The first start that succeeds opens the
// audio output (44,100 samples per second, stereo), loads the MP3 file and
// plays it once; the mixer's own thread carries it on from there. Later
// calls (the show calls again each time its window is rebuilt) leave that
// one copy playing untouched: the track is never stopped, paused or
// restarted, so no second copy can start out of step with the first.
//
// Failures are silent for the user: start() returns false, prints at most
// one diagnostic line ("MUSIC: ...") to standard output and leaves the
// player ready to try again on a later call; the show runs without music.
//
// SDL's audio subsystem is initialised here (SDL_InitSubSystem), so the
// player works with or without a window and under any video driver. A
// backend that rebuilds its window must therefore release only the video
// subsystem (SDL_QuitSubSystem(SDL_INIT_VIDEO)), never call SDL_Quit while
// the show runs: that would end the music along with everything else.
// Needs: SDL2, SDL2_mixer.
#pragma once

#include <cstdint>
#include <string>

struct _Mix_Music;

namespace platform {

class MusicPlayer {
public:
    MusicPlayer() = default;
    // Closes the output if SDL's audio is still up; the track ends with it.
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Plays the file at path once from positionMs milliseconds into it (0:
    // from its start), unless the track was already started, in which case
    // nothing changes. True when the track has been started (by this call
    // or an earlier one).
    bool start(const std::string& path, uint32_t positionMs = 0);

    // True once a start has succeeded.
    bool started() const { return music_ != nullptr; }

    // Milliseconds into the track the mixer has played; -1 before a start
    // and once the track has ended.
    int64_t positionMs() const;
    // Pauses or resumes the track (nothing before a start).
    void pause(bool paused);

    // Frees the track and closes the output (for tests and orderly exits;
    // the show never calls it while running).
    void close();

private:
    // Opens SDL audio and the mixer's output once; false on failure.
    bool openOutput();

    bool audioInitialised_ = false;  // this object holds an SDL audio reference
    bool outputOpen_ = false;        // Mix_OpenAudioDevice succeeded
    _Mix_Music* music_ = nullptr;    // the playing track, once started
};

}  // namespace platform
