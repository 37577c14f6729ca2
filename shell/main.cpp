// main.cpp: the show's program entry: the SDL window backend and the shell.
#include "platform/Platform.h"
#include "platform/sdl/SdlPlatform.h"
#include "shell/Timeline.h"
#include "shell/Window.h"

int main()
{
    platform::SdlPlatform sdl;
    platform::setCurrent(&sdl);
    Timeline timeline(sdl);
    Shell shell(sdl, timeline);
    return shell.run();
}
