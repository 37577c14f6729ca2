// MusicPlayer.h: placeholder until the music player lands.
#pragma once
#include <string>
namespace platform {
class MusicPlayer {
public:
    bool start(const std::string&) { return false; }
};
}  // namespace platform
