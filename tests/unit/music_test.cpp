// Music streams over SDL2_mixer with SDL's dummy and disk audio drivers: what would be
// heard is written to a file and read back.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "audio/music.h"

namespace {

// Loudest sample in what the disk driver has written so far.
int peakOf(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    int peak = 0;
    for (int16_t s; f.read((char*)&s, 2);)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

TEST(Music, MissingFileOrNoDeviceLeavesTheDemoSilent) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(soundInit(44100, 32, 0));
    MusicStream* stream = streamOpen("no-such-file.mp3", 0, 0, 0);
    EXPECT_EQ(stream, nullptr);
    streamPlay(0, stream);
    streamStop(stream);
    streamClose(stream);
    soundClose();

    // The demo's sequences, without "bgmusic.mp3" or "lvl2.mp3" in the working directory.
    startMusic();
    EXPECT_EQ(currentStream, nullptr);
    switchMusic("lvl2.mp3");
    EXPECT_EQ(currentStream, nullptr);
    stopMusic();

    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(soundInit(44100, 32, 0));
    stream = streamOpen("anything.mp3", 0, 0, 0);
    EXPECT_EQ(stream, nullptr);
    streamPlay(0, stream);
    stopMusic(); // the shut-down sequence still runs cleanly
}

long openDescriptors() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
}

// A tone is heard; then 200 switches to it keep no more files open than one.
TEST(Music, GeneratedToneIsHeardAndSwitchesCloseTheStreamTheyReplace) {
    std::string dir =
        mkdtemp((std::filesystem::temp_directory_path() / "kestrune-XXXXXX").string().data());
    std::string wav = dir + "/tone.wav", out = dir + "/tone.raw";
    std::string make = "ffmpeg -v error -y -f lavfi -i sine=440:duration=2 -af volume=3 -ac 2 ";
    ASSERT_EQ(system((make + "'" + wav + "'").c_str()), 0);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    ASSERT_TRUE(soundInit(44100, 32, 0));
    MusicStream* stream = streamOpen(wav.c_str(), 0, 0, 0);
    ASSERT_NE(stream, nullptr);
    streamPlay(0, stream);
    // Playing is asynchronous: wait for something audible (at most 10 s).
    int peak = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (peak < 5000 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        peak = peakOf(out);
    }
    EXPECT_GT(peak, 5000);

    currentStream = stream;
    int before = openDescriptors();
    for (int i = 0; i < 200; i++)
        switchMusic(wav.c_str());
    EXPECT_NE(currentStream, nullptr);
    EXPECT_EQ(openDescriptors(), before);
    stopMusic();
    std::filesystem::remove_all(dir);
}

} // namespace
