// Music streams with SDL's dummy driver: switches close the stream they replace. (What is
// heard, and a demo without music files or a device, are checked on the real demo.)
#include <gtest/gtest.h>

#include "audio/music.h"
#include "platform/platform.h"
#include "files.h"

namespace {

long openDescriptors() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
}

TEST(Music, TwoHundredSwitchesKeepOneStreamOpen) {
    std::string mp3 = envFolder("KESTRUNE_RUN_DIR") + "/lvl2.mp3";
    if (!std::filesystem::exists(mp3))
        GTEST_SKIP() << "no generated content: no " << mp3;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(soundInit(44100, 32, 0));
    switchMusic(mp3.c_str());
    ASSERT_NE(music.currentStream, nullptr);
    long before = openDescriptors();
    for (int i = 0; i < 200; i++)
        switchMusic(mp3.c_str());
    EXPECT_NE(music.currentStream, nullptr);
    EXPECT_EQ(openDescriptors(), before);
    stopMusic();
}

} // namespace
