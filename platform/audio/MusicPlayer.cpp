// MusicPlayer.cpp: the music track on SDL2_mixer.
//
// Needs: MusicPlayer.h, SDL2, SDL2_mixer.
#include "platform/audio/MusicPlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

// The sound system's own libraries (ALSA's configuration above all) write
// their complaints straight to standard error: eight lines on every start
// of a machine without a sound card. While the output is opened they go to
// /dev/null, unless QUORL_AUDIO_MESSAGES is set; the player's own "MUSIC:"
// line, with SDL's reason, still says when there is no sound.
class QuietStandardError {
public:
    QuietStandardError()
    {
#ifdef _WIN32
        return;  // Windows' sound system prints nothing of its own
#endif
        const char* asked = std::getenv("QUORL_AUDIO_MESSAGES");
        if (asked && *asked) return;
        std::fflush(stderr);
#ifndef _WIN32
        const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (nothing < 0) return;
        saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (saved >= 0) dup2(nothing, STDERR_FILENO);
        close(nothing);
#endif
    }
    ~QuietStandardError()
    {
        if (saved < 0) return;
#ifndef _WIN32
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
#endif
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved = -1;
};

constexpr int OUTPUT_RATE = 44100;
constexpr int OUTPUT_CHANNELS = 2;
// About 46 ms per mixer call: short enough to start promptly, long enough
// that a busy frame of the show never starves the output.
constexpr int CHUNK_FRAMES = 2048;

}  // namespace

MusicPlayer::~MusicPlayer() {
    // After SDL_Quit the mixer's device is gone; touching it then would be
    // unsafe, and the process is ending anyway.
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0) close();
}

bool MusicPlayer::openOutput() {
    if (outputOpen_) return true;
    const QuietStandardError quiet;
    if (!audioInitialised_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::printf("MUSIC: no audio: %s\n", SDL_GetError());
            return false;
        }
        audioInitialised_ = true;
    }
    // MP3 support may come as a plug-in; a failure here shows at loading.
    Mix_Init(MIX_INIT_MP3);
    // No allowed changes: SDL converts to whatever the device really takes,
    // so the track always plays at its own rate and channel count.
    if (Mix_OpenAudioDevice(OUTPUT_RATE, MIX_DEFAULT_FORMAT, OUTPUT_CHANNELS, CHUNK_FRAMES, nullptr, 0) != 0) {
        std::printf("MUSIC: cannot open audio output: %s\n", Mix_GetError());
        // Give the reference back so a later try starts from scratch.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioInitialised_ = false;
        return false;
    }
    outputOpen_ = true;
    return true;
}

bool MusicPlayer::start(const std::string& path, uint32_t positionMs) {
    // Already started: the one copy plays on (or has finished) undisturbed.
    if (music_ != nullptr) return true;
    if (!openOutput()) return false;
    Mix_Music* const music = Mix_LoadMUS(path.c_str());
    if (music == nullptr) {
        std::printf("MUSIC: cannot load %s: %s\n", path.c_str(), Mix_GetError());
        return false;
    }
    // Started at its position in one step, so no sound from the track's
    // start slips out before a later seek.
    if (Mix_FadeInMusicPos(music, 0, 0, positionMs / 1000.0) != 0) {
        std::printf("MUSIC: cannot play %s: %s\n", path.c_str(), Mix_GetError());
        Mix_FreeMusic(music);
        return false;
    }
    music_ = music;
    return true;
}

int64_t MusicPlayer::positionMs() const {
    if (music_ == nullptr || Mix_PlayingMusic() == 0) return -1;
    const double seconds = Mix_GetMusicPosition(music_);
    return seconds < 0.0 ? -1 : static_cast<int64_t>(seconds * 1000.0);
}

void MusicPlayer::pause(bool paused) {
    if (music_ == nullptr) return;
    if (paused) {
        Mix_PauseMusic();
    } else {
        Mix_ResumeMusic();
    }
}

void MusicPlayer::close() {
    if (music_ != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    if (outputOpen_) {
        Mix_CloseAudio();
        outputOpen_ = false;
    }
    if (audioInitialised_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioInitialised_ = false;
    }
}

}  // namespace platform
