// audio_match RECORDED.raw REFERENCE.raw SKIP LENGTH [FROM TO]
// Where LENGTH seconds of the reference, from SKIP seconds in, best match the recording,
// looked for from FROM to TO seconds into it (default: anywhere); both raw signed 16-bit
// little-endian stereo at 44100 Hz. Prints "<seconds into the recording> <score>", the
// score being the normalised correlation (1 is a perfect match; decoders differ a little).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

static const int kDecimate = 4; // correlate at about 11 kHz: enough for music, 16x faster
static const double kRate = 44100.0 / kDecimate;

static std::vector<double> readMono(const char* fileName) {
    std::ifstream file(fileName, std::ios::binary | std::ios::ate);
    std::vector<int16_t> s(size_t(std::max<std::streamoff>(file.tellg(), 0)) / 2);
    file.seekg(0);
    file.read(reinterpret_cast<char*>(s.data()), std::streamsize(s.size() * 2));
    std::vector<double> samples(s.size() / (2 * kDecimate));
    for (size_t i = 0; i < samples.size(); i++)
        for (int k = 0; k < 2 * kDecimate; k++)
            samples[i] += s[i * 2 * kDecimate + size_t(k)] / (2.0 * kDecimate);
    return samples;
}

// Seconds as a count of samples, clamped to 0..limit.
static size_t samplesOf(const char* seconds, size_t limit) {
    return std::min(size_t(std::max(0.0, atof(seconds)) * kRate), limit);
}

int main(int argc, char** argv) {
    if (argc != 5 && argc != 7) {
        fprintf(stderr, "usage: audio_match RECORDED.raw REFERENCE.raw SKIP LENGTH [FROM TO]\n");
        return 2;
    }
    std::vector<double> recorded = readMono(argv[1]), piece = readMono(argv[2]);
    size_t skip = samplesOf(argv[3], piece.size()), length = samplesOf(argv[4], piece.size());
    size_t from = argc == 7 ? samplesOf(argv[5], recorded.size()) : 0;
    size_t to = argc == 7 ? samplesOf(argv[6], recorded.size()) : recorded.size();
    piece = std::vector<double>(piece.begin() + skip,
                                piece.begin() + std::min(skip + length, piece.size()));
    double mean = 0, energy = 0;
    for (double v : piece)
        mean += v / double(length);
    for (double& v : piece) {
        v -= mean;
        energy += v * v;
    }
    if (length == 0 || piece.size() < length || energy <= 0 || from + length > recorded.size()) {
        fprintf(stderr, "audio_match: the piece is empty, silent or longer than the recording\n");
        return 2;
    }
    double bestScore = -2;
    size_t best = from;
    for (size_t offset = from; offset <= to && offset + length <= recorded.size(); offset++) {
        // The piece has mean 0, so the window's mean drops out of the product.
        double dot = 0, sum = 0, squares = 0;
        for (size_t i = 0; i < length; i++) {
            double x = recorded[offset + i];
            dot += piece[i] * x, sum += x, squares += x * x;
        }
        double windowEnergy = squares - sum * sum / double(length);
        double score = windowEnergy > 1e-9 * energy ? dot / std::sqrt(energy * windowEnergy) : -2;
        if (score > bestScore)
            bestScore = score, best = offset;
    }
    printf("%.3f %.4f\n", double(best) / kRate, bestScore);
    return 0;
}
