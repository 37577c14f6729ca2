// HeadlessPlatform.h: the platform backend for rendering frames to files.
//
// The same show, with no visible window: a hidden SDL window only carries
// the GL context (under Xvfb or any X server; without one, SDL's offscreen
// driver is tried), the show draws into the same surface, and
// frames are read back instead of shown. Time is virtual: the tick count
// moves only when the show waits for it, so every frame is released exactly
// 20 ms after the previous one and the same frame number always gives the
// same picture. Message boxes are printed to standard error and a question
// is answered Yes, so nothing ever blocks on a dialog.
#pragma once

#include <string>
#include <vector>

#include "platform/sdl/SdlPlatform.h"

namespace platform {

class HeadlessPlatform final : public SdlPlatform {
public:
    bool initialiseVideo() override;
    bool pollEvent(Event& event) override;
    void swapBuffers() override;
    uint32_t ticks() override;
    void waitForTick(uint32_t target) override;
    void setTitle(const std::string& title) override;
    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool startMusic(const std::string& path, uint32_t positionMs) override;
    // The music's place on the virtual clock: where it started plus the
    // virtual time since, less any pause; the same in every run.
    int64_t musicPositionMs() override;
    void pauseMusic(bool paused) override;

    // The finished picture, 8-bit RGB, top row first.
    std::vector<uint8_t> readPicture() const;
    // The finished picture as 8-bit BGRA, bottom row first, into
    // screen width x height x 4 bytes: the fast read-back for video capture.
    void readPictureBgra(uint8_t* into) const { surface.readBgraBottomFirst(into); }
    // The last title set, for tests.
    const std::string& lastTitle() const { return title; }
    // Moves the virtual clock on, as a pause of that many milliseconds would.
    void advanceClock(uint32_t milliseconds) { now += milliseconds; }
    // How many times the music was started, and the position of the last start, for tests.
    int musicStarts() const { return musicStartCount; }
    uint32_t lastMusicPosition() const { return musicPosition; }

protected:
    uint32_t windowFlags(bool fullScreen) const override;

private:
    uint32_t now = 0;
    std::string title;
    int musicStartCount = 0;
    uint32_t musicPosition = 0;
    uint32_t musicStartTick = 0;  // virtual tick of the first start
    uint32_t pausedAt = 0;
    uint32_t pausedTotal = 0;     // milliseconds the music has been paused
    bool musicPaused = false;
};

}  // namespace platform
