// audio_match RECORDED.raw REFERENCE.raw SKIP LENGTH
// Finds where a piece of a reference sound occurs in a recording. Both files are raw
// signed 16-bit little-endian stereo at 44100 Hz. The piece is LENGTH seconds of the
// reference starting SKIP seconds in. Prints "<seconds into the recording> <score>", the
// best normalised correlation (1.0 is a perfect match) and where it is.
// Built and run by the integration scripts; decoders differ slightly, so the score of a
// real match is a little below 1.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

static const int kRate = 44100;
static const int kDecimate = 4; // correlate at about 11 kHz: enough for music, 16x faster

static std::vector<float> readMono(const char* fileName) {
    std::vector<float> samples;
    FILE* file = fopen(fileName, "rb");
    if (!file) {
        fprintf(stderr, "audio_match: cannot open %s\n", fileName);
        exit(2);
    }
    int16_t frame[2 * kDecimate];
    while (fread(frame, sizeof frame, 1, file) == 1) {
        float sum = 0;
        for (int16_t s : frame)
            sum += s;
        samples.push_back(sum / (2 * kDecimate));
    }
    fclose(file);
    return samples;
}

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: audio_match RECORDED.raw REFERENCE.raw SKIP LENGTH\n");
        return 2;
    }
    std::vector<float> recorded = readMono(argv[1]);
    std::vector<float> reference = readMono(argv[2]);
    const double rate = double(kRate) / kDecimate;
    size_t skip = size_t(atof(argv[3]) * rate);
    size_t length = size_t(atof(argv[4]) * rate);
    if (length == 0 || skip + length > reference.size() || length > recorded.size()) {
        fprintf(stderr, "audio_match: reference or recording too short\n");
        return 2;
    }
    std::vector<double> piece(reference.begin() + skip, reference.begin() + skip + length);
    double mean = 0;
    for (double v : piece)
        mean += v;
    mean /= double(length);
    double pieceEnergy = 0;
    for (double& v : piece) {
        v -= mean;
        pieceEnergy += v * v;
    }
    if (pieceEnergy <= 0) {
        fprintf(stderr, "audio_match: the reference piece is silent\n");
        return 2;
    }

    // Running sums give each window's mean and energy in constant time.
    double sum = 0, sumSquares = 0;
    for (size_t i = 0; i < length; i++) {
        sum += recorded[i];
        sumSquares += double(recorded[i]) * recorded[i];
    }
    double bestScore = -2;
    size_t bestOffset = 0;
    for (size_t offset = 0;; offset++) {
        double windowEnergy = sumSquares - sum * sum / double(length);
        if (windowEnergy > 1e-9 * pieceEnergy) {
            double dot = 0;
            const float* x = &recorded[offset];
            for (size_t i = 0; i < length; i++)
                dot += piece[i] * x[i];
            double score = dot / std::sqrt(pieceEnergy * windowEnergy);
            if (score > bestScore) {
                bestScore = score;
                bestOffset = offset;
            }
        }
        if (offset + length >= recorded.size())
            break;
        sum += recorded[offset + length] - recorded[offset];
        sumSquares += double(recorded[offset + length]) * recorded[offset + length] -
                      double(recorded[offset]) * recorded[offset];
    }
    printf("%.3f %.4f\n", double(bestOffset) / rate, bestScore);
    return 0;
}
