// Platform.cpp: the program-wide current platform and the message box that
// falls back to standard error when no platform is installed.
#include "platform/Platform.h"

#include <cstdio>

namespace platform {

namespace {
Platform* currentPlatform = nullptr;
}

Platform* current() { return currentPlatform; }

void setCurrent(Platform* platform) { currentPlatform = platform; }

void showMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    if (currentPlatform) {
        currentPlatform->showMessage(text, caption, icon);
        return;
    }
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
}

}  // namespace platform
