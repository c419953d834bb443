// scripts/record-video on a short run with "s" pressed at 5 s: an MP4 that ffprobe reads,
// picture and sound of the expected length, sound that is not silent, and the music's
// switch falling on the picture's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

const int kRate = 4000; // enough to recognise the music, cheap to correlate

// Raw 16-bit mono samples at kRate, decoded by ffmpeg.
std::vector<int16_t> decodeAudio(const std::string& file, const std::string& extra = "") {
    std::string bytes = run("ffmpeg -v error -i '" + file + "' " + extra + " -ac 1 -ar " +
                            std::to_string(kRate) + " -f s16le -");
    std::vector<int16_t> samples(bytes.size() / 2);
    std::copy(bytes.data(), bytes.data() + samples.size() * 2, (char*)samples.data());
    return samples;
}

// Normalised correlation of the pattern with the signal at offset at.
double correlation(const std::vector<int16_t>& signal, const std::vector<int16_t>& pattern,
                   size_t at) {
    double dot = 0, signalEnergy = 0, patternEnergy = 0;
    for (size_t i = 0; i < pattern.size(); i++) {
        dot += double(signal[at + i]) * pattern[i];
        signalEnergy += double(signal[at + i]) * signal[at + i];
        patternEnergy += double(pattern[i]) * pattern[i];
    }
    return dot / std::sqrt(patternEnergy * signalEnergy + 1e-9);
}

TEST(Video, ShortCaptureWithSceneSwitch) {
    auto env = [](const char* name) { return std::string(getenv(name) ? getenv(name) : ""); };
    std::string runDir = env("KESTRUNE_RUN_DIR"), source = env("KESTRUNE_SOURCE_DIR");
    if (!std::ifstream(runDir + "/lvl2.mp3") || !std::ifstream(runDir + "/models/room.3ds"))
        GTEST_SKIP() << "no generated content in " << runDir;
    std::string mp4 = ::testing::TempDir() + "kestrune_short.mp4";
    std::remove(mp4.c_str());
    std::string log = run("KESTRUNE_SCREEN=640x360 '" + source + "/scripts/record-video' '" +
                          runDir + "' '" + mp4 + "' 15 '5:s' 2>&1");
    ASSERT_TRUE(std::ifstream(mp4)) << log;

    // Both streams, of the expected length.
    auto length = [&](const std::string& stream) {
        return atof(run("ffprobe -v error -select_streams " + stream +
                        " -show_entries stream=duration -of csv=p=0 '" + mp4 + "'")
                        .c_str());
    };
    double videoLength = length("v:0"), audioLength = length("a:0");
    EXPECT_GT(videoLength, 13.0) << log;
    EXPECT_LT(videoLength, 25.0);
    EXPECT_NEAR(audioLength, videoLength, 0.5);

    // The sound is the music, not silence.
    std::vector<int16_t> audio = decodeAudio(mp4);
    ASSERT_GT(audio.size(), size_t(kRate) * 10);
    double energy = 0;
    for (size_t i = audio.size() / 2; i < audio.size() / 2 + kRate; i++)
        energy += double(audio[i]) * audio[i];
    EXPECT_GT(std::sqrt(energy / kRate), 300.0);

    // The music's switch: where the start of "lvl2.mp3" lies in the recording.
    std::vector<int16_t> lvl2 = decodeAudio(runDir + "/lvl2.mp3", "-t 1");
    ASSERT_GT(lvl2.size(), size_t(kRate) / 2);
    double score = -2, audioSwitch = 0;
    for (size_t at = 2 * kRate; at < 14 * kRate && at + lvl2.size() <= audio.size(); at++) {
        double c = correlation(audio, lvl2, at);
        if (c > score) {
            score = c;
            audioSwitch = double(at) / kRate;
        }
    }
    // Unrelated music correlates near 0.1; the stretch to the wall clock blurs a true match
    // from about 0.8 down towards 0.5 when the machine is busy.
    EXPECT_GT(score, 0.3) << "the second piece was not found in the recording";

    // The picture's switch: the largest change between consecutive frames, away from the
    // start where the window first appears.
    std::string frames =
        run("ffmpeg -v error -i '" + mp4 + "' -vf scale=64:36,format=gray -f rawvideo -");
    const size_t frameSize = 64 * 36, count = frames.size() / frameSize;
    const double fps = count / videoLength;
    double biggest = -1, videoSwitch = 0;
    size_t distinct = 0;
    for (size_t f = 1; f < count; f++) {
        double diff = 0;
        for (size_t i = f * frameSize; i < (f + 1) * frameSize; i++)
            diff += std::abs(int(uint8_t(frames[i])) - int(uint8_t(frames[i - frameSize])));
        distinct += diff > 0;
        if (diff > biggest && f / fps > 3.0 && f / fps < 12.0) {
            biggest = diff;
            videoSwitch = f / fps;
        }
    }
    // The demo draws fewer frames than are captured: the picture can lag the music by
    // one of its own frames.
    double demoFrame = distinct ? videoLength / distinct : 1.0;
    printf("picture switch %.3f s, music switch %.3f s (match %.2f), demo frame %.3f s\n",
           videoSwitch, audioSwitch, score, demoFrame);
    EXPECT_NEAR(audioSwitch, videoSwitch, 0.1 + demoFrame);
}

} // namespace
