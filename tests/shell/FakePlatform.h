// FakePlatform.h: a platform with no window and no GL, for testing the
// shell's logic: scripted events, a settable tick count, recorded calls.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/TickWait.h"

class FakePlatform : public platform::Platform {
public:
    std::deque<platform::Event> events;
    uint32_t now = 0;
    int swaps = 0;
    int windowsCreated = 0;
    bool refuseFullScreen = false;
    bool answerYes = true;
    std::vector<std::string> messages;  // "caption: text" of every dialog
    std::string title;
    int musicStarts = 0;
    uint32_t musicPositionMs = 0;  // position of the last music start
    int fullScreenAttempts = 0;    // createWindow calls that asked for full screen
    int videoShutdowns = 0;        // shutdownVideo calls

    bool initialiseVideo() override { return true; }
    bool shutdownVideo() override
    {
        ++videoShutdowns;
        return true;
    }
    platform::WindowResult createWindow(const std::string&, int, int, int, bool fullScreen) override
    {
        if (fullScreen) ++fullScreenAttempts;
        if (fullScreen && refuseFullScreen) return platform::WindowResult::FullScreenRefused;
        window = true;
        ++windowsCreated;
        return platform::WindowResult::Ok;
    }
    platform::ContextResult createContext() override
    {
        context = true;
        return platform::ContextResult::Ok;
    }
    platform::ReleaseResult releaseContext() override
    {
        context = false;
        return platform::ReleaseResult::Ok;
    }
    bool destroyWindow() override
    {
        window = false;
        return true;
    }
    bool hasContext() const override { return context; }
    bool hasWindow() const override { return window; }
    bool pollEvent(platform::Event& event) override
    {
        if (events.empty()) return false;
        event = events.front();
        events.pop_front();
        return true;
    }
    void swapBuffers() override { ++swaps; }
    uint32_t ticks() override { return now; }
    void waitForTick(uint32_t target) override
    {
        if (platform::ticksUntil(target, now) > 0) now = target;
    }
    void setTitle(const std::string& text) override { title = text; }
    void showMessage(const std::string& text, const std::string& caption, platform::MessageIcon) override
    {
        messages.push_back(caption + ": " + text);
    }
    bool askYesNo(const std::string& text, const std::string& caption, platform::MessageIcon) override
    {
        messages.push_back(caption + ": " + text);
        return answerYes;
    }
    bool startMusic(const std::string&, uint32_t positionMs) override
    {
        ++musicStarts;
        musicPositionMs = positionMs;
        return false;
    }

private:
    bool window = false;
    bool context = false;
};
