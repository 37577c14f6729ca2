// PlayerFailureTest.cpp: a missing or broken track leaves the show silent,
// quietly, and does not spoil a later start. Runs on SDL's dummy audio
// driver (no sound, no device needed). Own process, like every player test.
// Needs: quorl_audio, data/musik.mp3 built.
#include <gtest/gtest.h>

#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/audio/MusicPlayer.h"

namespace {

// Runs action with standard output sent to a file; returns what it printed.
std::string captureStdout(const std::function<void()>& action) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quorl-stdout-" + std::to_string(getpid()) + ".txt");
    std::fflush(stdout);
    const int saved = dup(fileno(stdout));
    FILE* const capture = std::fopen(path.c_str(), "w");
    if (saved < 0 || capture == nullptr) return "capture failed";
    dup2(fileno(capture), fileno(stdout));
    action();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    std::fclose(capture);
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return text;
}

int lineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

}  // namespace

TEST(MusicPlayerFailure, MissingOrBrokenFileCrashesOrBlocksLaterStart) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::MusicPlayer player;

    bool result = true;
    std::string printed = captureStdout([&] { result = player.start("data/no-such-track.mp3"); });
    EXPECT_FALSE(result);
    EXPECT_FALSE(player.started());
    EXPECT_LE(lineCount(printed), 1) << printed;

    // A file that is not MPEG audio at all.
    const std::filesystem::path broken =
        std::filesystem::temp_directory_path() / ("quorl-broken-" + std::to_string(getpid()) + ".mp3");
    {
        std::ofstream out(broken, std::ios::binary);
        for (int i = 0; i < 4096; ++i) out.put(static_cast<char>((i * 7919) & 0x7F));
    }
    printed = captureStdout([&] { result = player.start(broken.string()); });
    std::filesystem::remove(broken);
    EXPECT_FALSE(result);
    EXPECT_FALSE(player.started());
    EXPECT_LE(lineCount(printed), 1) << printed;

    // An empty file.
    const std::filesystem::path empty =
        std::filesystem::temp_directory_path() / ("quorl-empty-" + std::to_string(getpid()) + ".mp3");
    { std::ofstream out(empty); }
    EXPECT_FALSE(player.start(empty.string()));
    std::filesystem::remove(empty);

    // Once the track is there, it plays.
    printed = captureStdout([&] { result = player.start("data/musik.mp3"); });
    EXPECT_TRUE(result);
    EXPECT_TRUE(player.started());
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(printed, "");
    player.close();
    EXPECT_FALSE(player.started());
}
