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

std::string env(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
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

double rms(const std::vector<int16_t>& s, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count && i < s.size(); i++)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(count));
}

// Where the template starts in the signal, by normalised cross-correlation.
double findTemplate(const std::vector<int16_t>& signal, const std::vector<int16_t>& pattern,
                    size_t from, size_t to, double* score) {
    double patternEnergy = 0;
    for (int16_t p : pattern)
        patternEnergy += double(p) * p;
    double best = -2;
    size_t bestAt = from;
    for (size_t at = from; at + pattern.size() <= signal.size() && at < to; at++) {
        double dot = 0, energy = 0;
        for (size_t i = 0; i < pattern.size(); i++) {
            dot += double(signal[at + i]) * pattern[i];
            energy += double(signal[at + i]) * signal[at + i];
        }
        double c = dot / std::sqrt(patternEnergy * energy + 1e-9);
        if (c > best) {
            best = c;
            bestAt = at;
        }
    }
    *score = best;
    return double(bestAt) / kRate;
}

TEST(Video, ShortCaptureWithSceneSwitch) {
    std::string runDir = env("KESTRUNE_RUN_DIR"), source = env("KESTRUNE_SOURCE_DIR");
    if (!std::ifstream(runDir + "/lvl2.mp3") || !std::ifstream(runDir + "/models/room.3ds"))
        GTEST_SKIP() << "no generated content in " << runDir;
    std::string mp4 = ::testing::TempDir() + "kestrune_short.mp4";
    std::remove(mp4.c_str());
    std::string log = run("KESTRUNE_SCREEN=640x360 '" + source + "/scripts/record-video' '" +
                          runDir + "' '" + mp4 + "' 15 '5:s' 2>&1");
    ASSERT_TRUE(std::ifstream(mp4)) << log;

    // Both streams, of the expected length.
    std::string streams = run("ffprobe -v error -show_entries stream=codec_type,duration "
                              "-of csv=p=0 '" +
                              mp4 + "'");
    double videoLength = 0, audioLength = 0;
    char type[16];
    double length;
    for (size_t at = 0; at < streams.size();) {
        size_t end = streams.find('\n', at);
        std::string line = streams.substr(at, end - at);
        if (sscanf(line.c_str(), "%15[a-z],%lf", type, &length) == 2)
            (std::string(type) == "video" ? videoLength : audioLength) = length;
        at = end == std::string::npos ? streams.size() : end + 1;
    }
    EXPECT_GT(videoLength, 13.0) << streams << log;
    EXPECT_LT(videoLength, 25.0) << streams;
    EXPECT_NEAR(audioLength, videoLength, 0.5) << streams;

    // The sound is the music, not silence.
    std::vector<int16_t> audio = decodeAudio(mp4);
    ASSERT_GT(audio.size(), size_t(kRate) * 10);
    EXPECT_GT(rms(audio, audio.size() / 2, kRate), 300.0);

    // The music's switch: where the start of "lvl2.mp3" lies in the recording.
    std::vector<int16_t> lvl2 = decodeAudio(runDir + "/lvl2.mp3", "-t 1");
    ASSERT_GT(lvl2.size(), size_t(kRate) / 2);
    double score;
    double audioSwitch = findTemplate(audio, lvl2, 2 * kRate, 14 * kRate, &score);
    EXPECT_GT(score, 0.5) << "the second piece was not found in the recording";

    // The picture's switch: the largest change between consecutive frames, away from the
    // start where the window first appears.
    std::string frames =
        run("ffmpeg -v error -i '" + mp4 + "' -vf scale=64:36,format=gray -f rawvideo -");
    const size_t frameSize = 64 * 36;
    size_t count = frames.size() / frameSize;
    double fps = count / videoLength;
    double biggest = -1;
    size_t switchFrame = 0, distinct = 0;
    for (size_t f = 1; f < count; f++) {
        double diff = 0;
        for (size_t i = 0; i < frameSize; i++)
            diff += std::abs(int(uint8_t(frames[f * frameSize + i])) -
                             int(uint8_t(frames[(f - 1) * frameSize + i])));
        if (diff > 0)
            distinct++;
        double at = f / fps;
        if (diff > biggest && at > 3.0 && at < 12.0) {
            biggest = diff;
            switchFrame = f;
        }
    }
    double videoSwitch = switchFrame / fps;
    // The demo draws fewer frames than are captured: the picture can lag the music by
    // one of its own frames.
    double demoFrame = distinct ? videoLength / distinct : 1.0;
    printf("picture switch %.3f s, music switch %.3f s (match %.2f), demo frame %.3f s\n",
           videoSwitch, audioSwitch, score, demoFrame);
    EXPECT_NEAR(audioSwitch, videoSwitch, 0.1 + demoFrame);
}

} // namespace
