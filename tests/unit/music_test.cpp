// Music streams over SDL2_mixer with SDL's dummy audio driver: a missing file or device
// leaves the demo silent, and switches close the stream they replace. (What is heard is
// checked through the real demo.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "audio/music.h"

namespace {

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

TEST(Music, TwoHundredSwitchesKeepOneStreamOpen) {
    const char* run = getenv("KESTRUNE_RUN_DIR");
    std::string mp3 = std::string(run ? run : ".") + "/lvl2.mp3";
    if (!std::filesystem::exists(mp3))
        GTEST_SKIP() << "no generated content: no " << mp3;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(soundInit(44100, 32, 0));
    switchMusic(mp3.c_str());
    ASSERT_NE(currentStream, nullptr);
    long before = openDescriptors();
    for (int i = 0; i < 200; i++)
        switchMusic(mp3.c_str());
    EXPECT_NE(currentStream, nullptr);
    EXPECT_EQ(openDescriptors(), before);
    stopMusic();
}

} // namespace
