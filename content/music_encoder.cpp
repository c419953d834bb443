// MP3 encoding of the generator's music with LAME.
#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "content/files.h"
#include "content/music.h"
#include "show/show.h"

namespace {

bool encodeMp3(const std::string& path, const std::vector<float>& stereo, int sampleRate) {
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), &lame_close);
    if (!lame)
        return false;
    lame_set_in_samplerate(lame.get(), sampleRate);
    lame_set_out_samplerate(lame.get(), sampleRate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_brate(lame.get(), 160);
    lame_set_quality(lame.get(), 7); // fast; good enough at 160 kbit/s
    if (lame_init_params(lame.get()) < 0) {
        std::printf("kestrune-content: LAME rejected the encoder settings\n");
        return false;
    }
    size_t frames = stereo.size() / 2;
    std::vector<float> left(frames), right(frames);
    for (size_t i = 0; i < frames; ++i)
        left[i] = stereo[2 * i], right[i] = stereo[2 * i + 1];
    std::vector<uint8_t> mp3;
    const size_t chunk = 8192;
    std::vector<unsigned char> buf(chunk * 5 / 4 + 7200);
    for (size_t at = 0; at < frames; at += chunk) {
        int n = int(std::min(chunk, frames - at));
        int got = lame_encode_buffer_ieee_float(lame.get(), &left[at], &right[at], n, buf.data(),
                                                int(buf.size()));
        if (got < 0) {
            std::printf("kestrune-content: LAME error %d\n", got);
            return false;
        }
        mp3.insert(mp3.end(), buf.begin(), buf.begin() + got);
    }
    int got = lame_encode_flush(lame.get(), buf.data(), int(buf.size()));
    if (got > 0)
        mp3.insert(mp3.end(), buf.begin(), buf.begin() + got);
    return writeFile(path, mp3);
}

} // namespace

bool writeMusic(const std::string& outDir, bool level2) {
    const int rate = 44100;
    return encodeMp3(outDir + "/" + (level2 ? show::kLevelTwoMusicFile : show::kLevelOneMusicFile),
                     synthesizeMusic(level2, rate), rate);
}