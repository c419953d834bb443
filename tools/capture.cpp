// kestrune-capture [--fps N] [--from SECONDS] [--to SECONDS] [--frames LIST] [--checksums FILE]
//                  [--size WxH] [--raw] OUTPUT
// Renders the show offline on the fixed-step clock: every frame is drawn, read back after
// the glow passes and piped to ffmpeg (H.264); the sound is rebuilt from the music files
// and the frames on which the show started, switched and stopped them (AAC), so picture
// and sound agree to the sample. A start time is reached by running the earlier frames'
// logic without drawing them. With --raw, OUTPUT receives the frames as raw RGB (top row
// first) and no sound. --checksums writes one line per drawn frame: its frame number in
// the show and a 64-bit hash of its pixels. --frames writes only the listed frames
// (numbers in the show, as --checksums gives them, comma-separated), raw, reaching each
// one without drawing those between: stills for a contact sheet.
//
// Runs in the run folder (scripts/record-video arranges it). Without --size, in a display
// whose screen has the video's size: the frames are read from the window, which covers it.
// With --size WxH, in any display with GL: the window is hidden and the frames, WxH, are
// drawn into an off-screen target and read from there.
//
// Drawing, the read-back and the writing overlap: each frame is read into one of a ring
// of pixel buffers and collected when its buffer comes round again, while a thread of its
// own hashes and writes the frames, in order. The demo's own diagnostics go to standard
// output; progress and errors to standard error. On any failure it says what, removes
// what it wrote and exits 1; an older OUTPUT stays until the new one is complete.
#include <GL/glew.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/exit.h"
#include "app/startup.h"
#include "audio/music.h"
#include "camera/camera.h"
#include "platform/platform.h"
#include "render/internal.h"
#include "render/render.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/show.h"

namespace {

const int kSampleRate = 44100; // stereo, 16-bit

struct Options {
    int fps = 60;
    double from = 0;
    double to = -1; // until the show ends
    bool raw = false;
    std::vector<int64_t> frames; // --frames, ascending; empty: every frame from --from to --to
    std::string output;
    std::string checksums;
    int width = 0, height = 0; // --size; 0: the screen's
};

Options options;
int width = 0, height = 0;
int64_t skippedFrames = 0; // frames run without drawing before the first one written
int64_t writtenFrames = 0;
int64_t estimatedFrames = 0;
bool drawing = false;

FILE* sink = nullptr; // ffmpeg's standard input, or the raw file
std::string sinkFile; // what the sink writes: the picture, or the raw frames
FILE* checksumFile = nullptr;
std::string partialChecksums;
std::vector<std::string> partialFiles; // removed unless the capture completes
std::map<std::string, std::vector<int16_t>> decodedMusic;
volatile sig_atomic_t interrupted = 0;

// A frame read back, top row first, on its way to the sink.
struct Frame {
    int64_t number = 0; // in the show
    std::vector<unsigned char> pixels;
};

// The thread that hashes the frames and writes them into the sink and the checksums, in
// the order they come, and the short queue it takes them from: a writer that falls behind
// (ffmpeg busy) holds up the drawing after a few frames rather than filling the memory.
struct Writer {
    std::thread thread;
    std::mutex lock;
    std::condition_variable changed;               // the queue, or the flags, or error
    std::deque<Frame> queue;                       // oldest first
    std::vector<std::vector<unsigned char>> spare; // written frames' pixels, to reuse
    bool closing = false;                          // no more frames: write those queued, then end
    bool abandoning = false;                       // end after the frame being written
    const char* error = nullptr;                   // why writing stopped
};
Writer writer;
const size_t kQueuedFrames = 4;

// The pixel buffers the frames are read into, in turn; a frame is collected when its
// buffer comes round again, by which time the read has long finished, so neither the
// drawing nor the read-back waits for the other.
const int kReadBacks = 3;
struct ReadBacks {
    unsigned int buffers[kReadBacks] = {};
    int64_t frameNumbers[kReadBacks] = {}; // of the frame each buffer holds
    int64_t started = 0;                   // reads begun
    int64_t collected = 0;                 // and handed to the writer, oldest first
};
ReadBacks readBacks;

const char* stopWriter(bool abandon);
void collectAllFrames();

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

void removePartialFiles() {
    for (const std::string& file : partialFiles)
        unlink(file.c_str());
    partialFiles.clear();
}

[[noreturn]] void fail(const char* format, ...) {
    stopWriter(true); // it writes into the sink
    if (sink) {
        options.raw ? fclose(sink) : pclose(sink); // ffmpeg finishes before its file goes
        sink = nullptr;
    }
    if (checksumFile)
        fclose(checksumFile);
    removePartialFiles();
    fprintf(stderr, "\nkestrune-capture: ");
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fprintf(stderr, "\n");
    _exit(1);
}

// A file beside the final one (OUTPUT by default), so it can be renamed into place.
std::string partialName(const char* suffix, const std::string& beside = options.output) {
    std::string name = beside + ".partial-" + std::to_string(getpid()) + suffix;
    partialFiles.push_back(name);
    return name;
}

void putInPlace(const std::string& partial, const std::string& file) {
    if (rename(partial.c_str(), file.c_str()) != 0)
        fail("cannot move %s to %s", partial.c_str(), file.c_str());
    partialFiles.erase(std::find(partialFiles.begin(), partialFiles.end(), partial));
}

// A pipe or a device (/dev/null) is written directly; a regular file is replaced whole.
bool isRegularOrMissing(const std::string& file) {
    struct stat info;
    return stat(file.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

void usage() {
    fprintf(stderr, "usage: kestrune-capture [--fps N] [--from SECONDS] [--to SECONDS]"
                    " [--frames LIST] [--checksums FILE] [--size WxH] [--raw] OUTPUT\n");
    exit(2);
}

double number(const char* text, const char* what) {
    char* end = nullptr;
    double value = strtod(text, &end);
    if (*end != '\0' || !std::isfinite(value) || value < 0) {
        fprintf(stderr, "kestrune-capture: %s must be a number of seconds, not '%s'\n", what, text);
        exit(2);
    }
    return value;
}

// "F1,F2,...": frame numbers of the show, 1 or more; sorted, repeats dropped.
std::vector<int64_t> frameList(const char* text) {
    std::vector<int64_t> frames;
    for (const char* at = text;; at++) {
        char* end = nullptr;
        long long frame = strtoll(at, &end, 10);
        if (end == at || frame < 1 || frame > INT32_MAX || (*end != ',' && *end != '\0')) {
            fprintf(stderr,
                    "kestrune-capture: --frames takes frame numbers from 1, comma-separated,"
                    " not '%s'\n",
                    text);
            exit(2);
        }
        frames.push_back(frame);
        if (*(at = end) == '\0')
            break;
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

void parseOptions(int argc, char** argv) {
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--fps" && hasValue) {
            char* end = nullptr;
            long fps = strtol(argv[++i], &end, 10);
            if (*end != '\0' || fps < 1 || fps > 1000) {
                fprintf(stderr, "kestrune-capture: --fps must be a whole number, 1 to 1000\n");
                exit(2);
            }
            options.fps = int(fps);
        } else if (arg == "--from" && hasValue) {
            options.from = number(argv[++i], "--from");
        } else if (arg == "--to" && hasValue) {
            options.to = number(argv[++i], "--to");
        } else if (arg == "--frames" && hasValue) {
            options.frames = frameList(argv[++i]);
        } else if (arg == "--checksums" && hasValue) {
            options.checksums = argv[++i];
        } else if (arg == "--size" && hasValue) {
            const char* size = argv[++i];
            int used = 0;
            if (sscanf(size, "%5dx%5d%n", &options.width, &options.height, &used) != 2 ||
                size[used] != '\0' || options.width < 1 || options.height < 1 ||
                options.width > 16384 || options.height > 16384) {
                fprintf(stderr,
                        "kestrune-capture: --size must be WIDTHxHEIGHT, 1 to 16384 each, not"
                        " '%s'\n",
                        size);
                exit(2);
            }
        } else if (arg == "--raw") {
            options.raw = true;
        } else if (arg.empty() || arg[0] == '-' || !options.output.empty()) {
            usage();
        } else {
            options.output = arg;
        }
    }
    if (options.output.empty())
        usage();
    if (!options.frames.empty() && (!options.raw || options.from > 0 || options.to >= 0)) {
        fprintf(stderr, "kestrune-capture: --frames writes raw frames: it needs --raw, and"
                        " no --from or --to\n");
        exit(2);
    }
    if (options.to >= 0 &&
        llround(options.to * options.fps) <= llround(options.from * options.fps)) {
        fprintf(stderr, "kestrune-capture: --to must come at least one frame after --from\n");
        exit(2);
    }
}

bool commandWorks(const std::string& command) {
    return system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The whole file as 44.1 kHz stereo samples, decoded by ffmpeg.
std::vector<int16_t> decodeMusic(const std::string& file) {
    if (access(file.c_str(), R_OK) != 0)
        fail("the music file %s is missing", file.c_str());
    std::string command = "ffmpeg -v error -nostdin -i " + quoted(file) + " -f s16le -ac 2 -ar " +
                          std::to_string(kSampleRate) + " -";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        fail("cannot run ffmpeg to decode %s", file.c_str());
    std::vector<int16_t> samples;
    int16_t buffer[8192];
    for (size_t n; (n = fread(buffer, sizeof buffer[0], 8192, pipe)) > 0;)
        samples.insert(samples.end(), buffer, buffer + n);
    if (pclose(pipe) != 0 || samples.empty())
        fail("ffmpeg could not decode %s", file.c_str());
    samples.resize(samples.size() & ~size_t(1));
    return samples;
}

int64_t sampleOfCount(int64_t count) {
    return count * kSampleRate / readFrequency();
}

int64_t sampleOfFrame(int64_t frame) {
    return frame * kSampleRate / options.fps;
}

// The sound of the written frames: from each change on, its file plays from the start
// until the next change, or silence.
std::vector<int16_t> assembleSound() {
    const int64_t first = sampleOfFrame(skippedFrames);
    const int64_t total = sampleOfFrame(skippedFrames + writtenFrames) - first;
    std::vector<int16_t> track(size_t(total) * 2, 0);
    for (size_t i = 0; i < music.changes.size(); i++) {
        const MusicChange& change = music.changes[i];
        if (change.file.empty())
            continue;
        const std::vector<int16_t>& samples = decodedMusic.at(change.file);
        int64_t start = sampleOfCount(change.count);
        int64_t end =
            i + 1 < music.changes.size() ? sampleOfCount(music.changes[i + 1].count) : INT64_MAX;
        end = std::min({end, start + int64_t(samples.size() / 2), first + total});
        for (int64_t s = std::max(start, first); s < end; s++) {
            track[size_t(s - first) * 2] = samples[size_t(s - start) * 2];
            track[size_t(s - first) * 2 + 1] = samples[size_t(s - start) * 2 + 1];
        }
    }
    return track;
}

void printSummary() {
    if (!options.frames.empty()) {
        fprintf(stderr, "\nkestrune-capture: wrote %s: %lld chosen frames at %d fps, %dx%d\n",
                options.output.c_str(), (long long)writtenFrames, options.fps, width, height);
        return;
    }
    fprintf(stderr,
            "\nkestrune-capture: wrote %s: frames %lld to %lld of the show, %lld frames"
            " (%.3f s) at %d fps, %dx%d",
            options.output.c_str(), (long long)skippedFrames + 1,
            (long long)(skippedFrames + writtenFrames), (long long)writtenFrames,
            double(writtenFrames) / options.fps, options.fps, width, height);
    for (const MusicChange& change : music.changes) {
        double at = double(change.count) / double(readFrequency());
        if (change.file.empty())
            fprintf(stderr, "; music stops at %.3f s", at);
        else
            fprintf(stderr, "; %s from %.3f s", change.file.c_str(), at);
    }
    fprintf(stderr, "\n");
}

// Closes the picture, adds the sound and puts the files in place; ends the process.
[[noreturn]] void finish() {
    if (writtenFrames == 0)
        fail("the show ended at %.3f s, before the start at %.3f s",
             double(fixedStepFrame()) / options.fps, options.from);
    collectAllFrames();
    if (const char* error = stopWriter(false))
        fail("%s", error);
    FILE* closing = checksumFile;
    checksumFile = nullptr;
    if (closing && fclose(closing) != 0)
        fail("cannot write %s", options.checksums.c_str());
    closing = sink;
    sink = nullptr;
    if (options.raw) {
        if (fclose(closing) != 0)
            fail("cannot write %s", options.output.c_str());
        if (!sinkFile.empty())
            putInPlace(sinkFile, options.output);
    } else {
        if (pclose(closing) != 0)
            fail("ffmpeg failed while encoding the picture");
        std::vector<int16_t> track = assembleSound();
        std::string soundFile = partialName(".s16");
        FILE* sound = fopen(soundFile.c_str(), "wb");
        if (!sound || fwrite(track.data(), 2, track.size(), sound) != track.size() ||
            fclose(sound) != 0)
            fail("cannot write the sound to %s", soundFile.c_str());

        // Cut to the picture's length: the AAC encoder would pad the end.
        char length[32];
        snprintf(length, sizeof length, "%.6f",
                 std::ceil(double(writtenFrames) * 1e6 / options.fps) / 1e6);
        std::string muxed = partialName(".mp4");
        std::string command = "ffmpeg -hide_banner -loglevel error -nostdin -y -i " +
                              quoted(sinkFile) + " -f s16le -ar " + std::to_string(kSampleRate) +
                              " -ac 2 -i " + quoted(soundFile) +
                              " -map 0:v -map 1:a -c:v copy -c:a aac -b:a 192k -t " + length +
                              " -movflags +faststart " + quoted(muxed);
        if (system(command.c_str()) != 0 || interrupted)
            fail("ffmpeg could not add the sound");
        putInPlace(muxed, options.output);
    }
    if (!partialChecksums.empty())
        putInPlace(partialChecksums, options.checksums);
    removePartialFiles();
    printSummary();
    exit(0);
}

// The show ended by itself (its music has stopped).
void showEnded() {
    if (writtenFrames < int64_t(options.frames.size()))
        fail("the show ended on frame %lld, before frame %lld", (long long)fixedStepFrame(),
             (long long)options.frames[size_t(writtenFrames)]);
    if (!drawing)
        fail("the show ended at %.3f s, before the start at %.3f s",
             double(fixedStepFrame()) / options.fps, options.from);
    finish();
}

void openSink() {
    if (options.raw) {
        if (isRegularOrMissing(options.output))
            sinkFile = partialName(".rgb");
        sink = fopen(sinkFile.empty() ? options.output.c_str() : sinkFile.c_str(), "wb");
        if (!sink)
            fail("cannot write %s", options.output.c_str());
        return;
    }
    if (width % 2 || height % 2)
        fail("H.264 needs an even width and height, not %dx%d", width, height);
    sinkFile = partialName(".video.mp4");
    char size[32];
    snprintf(size, sizeof size, "%dx%d", width, height);
    // Raw RGB says nothing about itself; the colours are converted and tagged as BT.709,
    // which players assume for video of this kind.
    std::string command =
        std::string("ffmpeg -hide_banner -loglevel error -nostdin -y -f rawvideo") +
        " -pixel_format rgb24 -video_size " + size + " -framerate " + std::to_string(options.fps) +
        " -i - -vf scale=out_color_matrix=bt709:out_range=tv" +
        " -pix_fmt yuv420p -c:v libx264 -preset veryfast -crf 18 -colorspace bt709" +
        " -color_primaries bt709 -color_trc bt709 -color_range tv " + quoted(sinkFile);
    sink = popen(command.c_str(), "w");
    if (!sink)
        fail("cannot start ffmpeg");
}

std::string clockText(double seconds) {
    char text[32];
    long s = long(seconds + 0.5);
    snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

void reportProgress(std::chrono::steady_clock::time_point started, bool last) {
    static double lastReport = -1;
    double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    bool terminal = isatty(2);
    if (!last && lastReport >= 0 && elapsed - lastReport < (terminal ? 0.5 : 30.0))
        return;
    lastReport = elapsed;
    int64_t total = std::max({estimatedFrames, writtenFrames, int64_t(1)});
    double done = double(writtenFrames) / double(total);
    double left = writtenFrames ? elapsed / done - elapsed : 0;
    fprintf(stderr, "%sframe %lld of %s%lld (%d%%), %s elapsed, %s left%s", terminal ? "\r" : "",
            (long long)writtenFrames, options.to < 0 && options.frames.empty() ? "about " : "",
            (long long)total, int(done * 100), clockText(elapsed).c_str(), clockText(left).c_str(),
            terminal ? "   " : "\n");
}

void writeQueuedFrames() {
    std::unique_lock<std::mutex> hold(writer.lock);
    for (;;) {
        writer.changed.wait(
            hold, [] { return !writer.queue.empty() || writer.closing || writer.abandoning; });
        if (writer.abandoning || writer.queue.empty())
            return;
        Frame frame = std::move(writer.queue.front());
        writer.queue.pop_front();
        writer.changed.notify_all(); // room for the next
        hold.unlock();
        bool written =
            fwrite(frame.pixels.data(), 1, frame.pixels.size(), sink) == frame.pixels.size();
        if (written && checksumFile)
            fprintf(checksumFile, "%lld %016llx\n", (long long)frame.number,
                    (unsigned long long)pictureChecksum(frame.pixels.data(), frame.pixels.size()));
        hold.lock();
        writer.spare.push_back(std::move(frame.pixels));
        if (!written) {
            writer.error = options.raw ? "cannot write the frames" : "ffmpeg stopped taking frames";
            writer.changed.notify_all();
            return;
        }
    }
}

void startWriter() {
    writer.thread = std::thread(writeQueuedFrames);
}

// Ends the writer: once it has written the frames queued, or (abandon) the one it is
// writing. Returns why it stopped early, or null.
const char* stopWriter(bool abandon) {
    if (writer.thread.joinable()) {
        {
            std::lock_guard<std::mutex> hold(writer.lock);
            (abandon ? writer.abandoning : writer.closing) = true;
        }
        writer.changed.notify_all();
        writer.thread.join();
    }
    return writer.error;
}

// Room for a frame, once the queue has room; fails when the writer has stopped.
std::vector<unsigned char> frameRoom() {
    std::unique_lock<std::mutex> hold(writer.lock);
    writer.changed.wait(hold, [] { return writer.queue.size() < kQueuedFrames || writer.error; });
    if (writer.error) {
        hold.unlock();
        fail("%s", writer.error);
    }
    if (writer.spare.empty())
        return std::vector<unsigned char>(size_t(width) * height * 3);
    std::vector<unsigned char> pixels = std::move(writer.spare.back());
    writer.spare.pop_back();
    return pixels;
}

void createReadBacks() {
    glGenBuffers(kReadBacks, readBacks.buffers);
    for (unsigned int buffer : readBacks.buffers) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, GLsizeiptr(width) * height * 3, nullptr, GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

// The oldest frame read back, turned top row first, to the writer.
void collectFrame() {
    const int slot = int(readBacks.collected % kReadBacks);
    Frame frame{readBacks.frameNumbers[slot], frameRoom()};
    glBindBuffer(GL_PIXEL_PACK_BUFFER, readBacks.buffers[slot]);
    const auto* rows =
        static_cast<const unsigned char*>(glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY));
    if (!rows)
        fail("cannot map the pixels read back");
    const size_t stride = size_t(width) * 3;
    for (int y = 0; y < height; y++)
        memcpy(&frame.pixels[size_t(y) * stride], rows + size_t(height - 1 - y) * stride, stride);
    glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    readBacks.collected++;
    {
        std::lock_guard<std::mutex> hold(writer.lock);
        writer.queue.push_back(std::move(frame));
    }
    writer.changed.notify_all();
}

// Every frame read back so far, to the writer.
void collectAllFrames() {
    while (readBacks.collected < readBacks.started)
        collectFrame();
}

// Starts reading the finished frame (from the window, or the off-screen target) into the
// next buffer of the ring, collecting first the frame that buffer still holds.
void readFrame() {
    // The frame's last pass is sent off first: the oldest frame is collected while it is
    // drawn (in software, on the renderer's own threads).
    glFlush();
    if (readBacks.started - readBacks.collected == kReadBacks)
        collectFrame();
    const int slot = int(readBacks.started % kReadBacks);
    readBacks.frameNumbers[slot] = fixedStepFrame();
    glBindFramebuffer(GL_FRAMEBUFFER, renderer.outputFbo); // where the frame ends anyway
    glReadBuffer(renderer.outputFbo ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, readBacks.buffers[slot]);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    readBacks.started++;
}

// Runs the show's logic up to the frame before `next` without drawing it, but draws that
// one, unwritten: a frame leaves GL state (the bound framebuffer, for one) that the next
// one starts from. Leaves drawing on for `next`.
void runUpTo(int64_t next) {
    for (int64_t frame = fixedStepFrame() + 1; frame < next; frame++) {
        showFlags.framesDrawn = frame == next - 1;
        showFrame();
        endFrame();
        if (interrupted)
            fail("interrupted");
    }
    showFlags.framesDrawn = true;
}

void onSignal(int) {
    interrupted = 1;
}

// The demo's ending in a capture run: the demo finishes (its music stops), then the
// capture finishes its files and ends the process.
void captureEnding() {
    finishShow();
    showEnded();
}

// Fails early, before the show runs for minutes, for a missing tool, an unwritable folder
// or unreadable music; decodes the music the sound is rebuilt from.
void checkOutputsAndDecodeMusic() {
    if (!commandWorks("ffmpeg -version"))
        fail("ffmpeg is missing (Debian package ffmpeg)");
    if (options.raw)
        return;
    std::string outputDir = options.output.substr(0, options.output.find_last_of('/') + 1);
    if (access(outputDir.empty() ? "." : outputDir.c_str(), W_OK) != 0)
        fail("cannot write into the folder of %s", options.output.c_str());
    for (const char* file : {show::kLevelOneMusicFile, show::kLevelTwoMusicFile})
        decodedMusic[file] = decodeMusic(file);
}

void ignoreDisplay() {}
void ignoreReshape(int, int) {}

// The size the window system last reshaped the window to: until it reaches the screen's,
// the window's picture is still the small one it opened with, whatever size was asked for.
int reshapedWidth = 0, reshapedHeight = 0;

void captureReshape(int w, int h) {
    reshape(w, h);
    reshapedWidth = w;
    reshapedHeight = h;
}

// Waits until the window covers the screen, whose size the video takes.
void awaitFullScreenWindow() {
    desktopSize(&width, &height);
    // Keys and the pointer change nothing.
    setWindowCallbacks({ignoreDisplay, captureReshape, nullptr, nullptr, nullptr, nullptr, false});
    auto started = std::chrono::steady_clock::now();
    for (;;) {
        int w = 0, h = 0;
        windowSize(&w, &h);
        if (w == width && h == height && reshapedWidth == width && reshapedHeight == height)
            break;
        if (std::chrono::steady_clock::now() - started > std::chrono::seconds(20))
            fail("the window did not cover the %dx%d screen", width, height);
        serveWindowEvents();
        usleep(10000);
    }
    // Mesa takes a window's new size into its buffers at a swap: before one, the first
    // frame would be drawn into, and read from, the buffer the window opened with.
    presentFrame();
}

// Hides the window and sends the frames into an off-screen target of the size asked for.
void drawOffScreen() {
    // Keys, the pointer and the window's size change nothing.
    setWindowCallbacks({ignoreDisplay, ignoreReshape, nullptr, nullptr, nullptr, nullptr, false});
    hideWindow();
    width = options.width;
    height = options.height;
    // The glow's targets and quad were made at the screen's size.
    if (width != camera.width || height != camera.height)
        resizeRenderTargets(width, height);
    reshape(width, height);
    setOutputTarget(true, width, height);
}

// Starts the demo on the fixed step, silent, its frames run from here rather than from the
// event loop. Without --size the frames are the window's, which covers the screen; with it,
// they are drawn off screen. (The two differ slightly where the scene goes straight into
// the picture: Mesa draws into a window upside down, and rounds a few pixels otherwise.)
void startTheShow(char* program) {
    // The capture never plays sound; it rebuilds it from the files.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setFixedStep(options.fps);
    int argc = 1;
    char* argv[] = {program, nullptr};
    setShowEnding(captureEnding);
    startDemo(argc, argv);
    if (options.width == 0)
        awaitFullScreenWindow();
    else
        drawOffScreen();
    createReadBacks();
}

// Which frames are written: skippedFrames run unwritten first, and about estimatedFrames
// follow (for the progress line).
void planFrames() {
    // The show's length on the fixed step, its two fades counted in frames; the frame that
    // ends the show is not shown.
    const int64_t nominal =
        llround((show::kSceneOneEnd + show::kAnimationStart + show::kSceneTwoEnd) * options.fps +
                (2 * show::kFadeEnd - 1) / show::kFadeStep + 1);
    const std::vector<int64_t>& chosen = options.frames;
    skippedFrames = chosen.empty() ? llround(options.from * options.fps) : chosen[0] - 1;
    estimatedFrames =
        !chosen.empty()
            ? int64_t(chosen.size())
            : (options.to < 0 ? nominal : llround(options.to * options.fps)) - skippedFrames;
}

void openOutputs() {
    openSink();
    if (!options.checksums.empty()) {
        partialChecksums = partialName("", options.checksums);
        if (!(checksumFile = fopen(partialChecksums.c_str(), "w")))
            fail("cannot write %s", partialChecksums.c_str());
    }
    startWriter();
}

// Draws and reads back the frames, until the limit or the show's end; the writer writes
// them meanwhile.
void writeFrames() {
    const std::vector<int64_t>& chosen = options.frames;
    auto started = std::chrono::steady_clock::now();
    const int64_t limit = options.to < 0 && chosen.empty() ? -1 : estimatedFrames;
    while (writtenFrames != limit) {
        if (!chosen.empty())
            runUpTo(chosen[size_t(writtenFrames)]);
        showFrame(); // may end the show: then this frame is not shown
        readFrame();
        endFrame();
        writtenFrames++;
        if (!serveWindowEvents()) // closed by the window manager: the demo's loop would end
            fail("the window was closed");
        if (camera.width != width || camera.height != height)
            fail("the window changed size to %dx%d", camera.width, camera.height);
        if (interrupted)
            fail("interrupted");
        reportProgress(started, false);
    }
    reportProgress(started, true);
}

} // namespace

int main(int argc, char** argv) {
    parseOptions(argc, argv);
    checkOutputsAndDecodeMusic();
    startTheShow(argv[0]);
    signal(SIGINT, onSignal);
    signal(SIGTERM, onSignal);
    signal(SIGPIPE, SIG_IGN);
    planFrames();
    runUpTo(skippedFrames + 1);
    openOutputs();
    drawing = true;
    writeFrames();
    finish();
}
