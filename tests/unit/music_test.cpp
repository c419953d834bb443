// Music streams over SDL2_mixer with SDL's dummy and disk audio drivers: what would be
// heard is written to a file and read back.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/music.h"

namespace {

std::string tempPath(const char* name) {
    return ::testing::TempDir() + "kestrune_music_" + name;
}

// A 16-bit stereo WAV holding a 440 Hz tone.
void writeTone(const std::string& path, double seconds) {
    const int rate = 44100;
    const int frames = int(seconds * rate);
    std::vector<int16_t> samples(frames * 2);
    for (int i = 0; i < frames; i++)
        samples[2 * i] = samples[2 * i + 1] = int16_t(12000 * std::sin(2 * M_PI * 440 * i / rate));
    auto u32 = [](std::ofstream& f, uint32_t v) { f.write((const char*)&v, 4); };
    auto u16 = [](std::ofstream& f, uint16_t v) { f.write((const char*)&v, 2); };
    std::ofstream f(path, std::ios::binary);
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    f.write("RIFF", 4);
    u32(f, 36 + dataBytes);
    f.write("WAVEfmt ", 8);
    u32(f, 16);
    u16(f, 1);
    u16(f, 2);
    u32(f, rate);
    u32(f, rate * 4);
    u16(f, 4);
    u16(f, 16);
    f.write("data", 4);
    u32(f, dataBytes);
    f.write((const char*)samples.data(), dataBytes);
}

// Loudest sample in what the disk driver has written so far.
int peakOf(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    int peak = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        int16_t s = int16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
        peak = std::max(peak, std::abs(int(s)));
    }
    return peak;
}

// Plays fileName through the disk driver until something audible arrives (or 10 s pass).
int playThroughDisk(const std::string& fileName, const char* outName) {
    std::string out = tempPath(outName);
    std::remove(out.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    EXPECT_TRUE(soundInit(44100, 32, 0));
    MusicStream* stream = streamOpen(fileName.c_str(), 0, 0, 0);
    EXPECT_NE(stream, nullptr);
    streamPlay(0, stream);
    int peak = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (peak < 1000 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        peak = peakOf(out);
    }
    streamStop(stream);
    streamClose(stream);
    soundClose();
    return peak;
}

TEST(Music, MissingFileLeavesTheDemoSilent) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(soundInit(44100, 32, 0));
    MusicStream* stream = streamOpen("no-such-file.mp3", 0, 0, 0);
    EXPECT_EQ(stream, nullptr);
    streamPlay(0, stream);
    streamStop(stream);
    streamClose(stream);
    soundClose();
}

TEST(Music, NoDeviceLeavesTheDemoSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(soundInit(44100, 32, 0));
    MusicStream* stream = streamOpen("anything.mp3", 0, 0, 0);
    EXPECT_EQ(stream, nullptr);
    streamPlay(0, stream);
    stopMusic(); // the shut-down sequence still runs cleanly
}

TEST(Music, SequencesRunWithoutMusicFiles) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    startMusic(); // "bgmusic.mp3" is not in the test's working directory
    EXPECT_EQ(currentStream, nullptr);
    switchMusic("lvl2.mp3");
    EXPECT_EQ(currentStream, nullptr);
    stopMusic();
}

TEST(Music, GeneratedToneIsHeardThroughTheDiskDriver) {
    std::string wav = tempPath("tone.wav");
    writeTone(wav, 2.0);
    EXPECT_GT(playThroughDisk(wav, "tone.raw"), 5000);
}

TEST(Music, ShippedMp3IsHeard) {
    const char* runDir = getenv("KESTRUNE_RUN_DIR");
    std::string mp3 = std::string(runDir ? runDir : ".") + "/bgmusic.mp3";
    if (!std::ifstream(mp3))
        GTEST_SKIP() << "no generated music at " << mp3;
    EXPECT_GT(playThroughDisk(mp3, "mp3.raw"), 1000);
}

} // namespace
