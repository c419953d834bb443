// Author mode: pause, step, seek, scene starts and a loop on the fixed-step clock, the music
// kept at the show's time, the window title, and a line on standard output per action.
// The keys only note what is asked; the next display does it, as frames are drawn there.
#include <GL/glew.h>

#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <utility>
#include <vector>

#include "app/author.h"
#include "app/reload.h"
#include "audio/music.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "platform/platform.h"
#include "render/render.h"
#include "show/author.h"
#include "show/flags.h"
#include "show/frame.h"

namespace {

const int kAuthorFps = 60;
// Behind the wall clock by more than this, the show stops catching up and starts again
// from where it is, the music with it (a machine too slow for the show).
const int64_t kMostCatchUp = 120;

using WallClock = std::chrono::steady_clock;

enum class Request { none, pause, step, stepBack, seek, sceneOne, sceneTwo, mark, checksum };

struct AuthorDesk {
    bool started = false;
    bool paced = false; // frames follow the wall clock (no KESTRUNE_FPS)
    // Asked for by the keys, served in order by the next displays: one a display.
    std::deque<std::pair<Request, int>> requests; // with a seek's seconds
    bool redraw = false;                          // the paused frame's overlay changed
    bool rerun = false; // a reload while paused: the frame runs again with it
    // Pacing: the frame shown at the wall clock's anchor.
    WallClock::time_point anchorTime;
    int64_t anchorFrame = 0;
    std::string title;
};
AuthorDesk desk;

// "frame F (T s, scene N)": where the show is.
std::string whereText() {
    char text[80];
    int64_t frame = showFrameNow();
    snprintf(text, sizeof text, "frame %lld (%.3f s, scene %d)", (long long)frame,
             frameSeconds(frame), sceneNow());
    return text;
}

void updateTitle() {
    int64_t frame = showFrameNow();
    double seconds = frameSeconds(frame);
    char title[120];
    snprintf(title, sizeof title, "Kestrune [edit] %d:%05.2f scene %d frame %lld%s",
             int(seconds) / 60, seconds - int(seconds) / 60 * 60, sceneNow(), (long long)frame,
             authorTime.paused ? " (paused)" : "");
    if (desk.title != title) {
        desk.title = title;
        setWindowTitle(title);
    }
}

void anchorPacing() {
    desk.anchorTime = WallClock::now();
    desk.anchorFrame = showFrameNow();
}

// The frame after the one shown, drawn and shown.
void runShownFrame() {
    showFrame();
    endFrame();
    keepCheckpoint();
    reloadsShown();
}

// Draws the frame shown again (its overlay may have changed) and shows it.
void redrawFrame() {
    if (!showFlags.framesDrawn || showFrameNow() == 0)
        return;
    renderFrame(lastFrameDescription());
    if (authorTime.overlayShown)
        drawAuthorOverlay();
    presentFrame();
    reloadsShown();
}

// Goes to the frame, draws and shows it; the music follows. Returns the milliseconds taken.
double goTo(int64_t frame) {
    auto begun = WallClock::now();
    if (frame < 1)
        frame = 1;
    if (frame > authorTime.lastFrame)
        frame = authorTime.lastFrame;
    prepareFrame(frame);
    runShownFrame();
    followShowTime(!authorTime.paused);
    anchorPacing();
    return std::chrono::duration<double, std::milli>(WallClock::now() - begun).count();
}

void serveRequest() {
    Request request = desk.requests.front().first;
    int seekSeconds = desk.requests.front().second;
    desk.requests.pop_front();
    int64_t now = showFrameNow();
    switch (request) {
    case Request::none:
        return;
    case Request::pause:
        authorTime.paused = !authorTime.paused;
        followShowTime(!authorTime.paused);
        anchorPacing();
        printEdit("%s at %s", authorTime.paused ? "paused" : "playing", whereText().c_str());
        desk.redraw = true;
        return;
    case Request::step:
    case Request::stepBack: {
        if (!authorTime.paused) {
            printEdit("a step needs the show paused (p)");
            return;
        }
        bool back = request == Request::stepBack;
        if (!back && now < authorTime.lastFrame) {
            runShownFrame();
            followShowTime(false);
        } else if (back && now > 1) {
            goTo(now - 1);
        }
        printEdit("step %s to %s", back ? "back" : "forward", whereText().c_str());
        return;
    }
    case Request::seek: {
        double ms = goTo(now + int64_t(seekSeconds) * kAuthorFps);
        printEdit("seek %+d s to %s in %.0f ms", seekSeconds, whereText().c_str(), ms);
        return;
    }
    case Request::sceneOne:
    case Request::sceneTwo: {
        bool two = request == Request::sceneTwo;
        double ms = goTo(two ? authorTime.sceneTwoStart : 1);
        printEdit("start of scene %d: %s in %.0f ms", two ? 2 : 1, whereText().c_str(), ms);
        return;
    }
    case Request::mark:
        if (authorTime.loopFrom < 0) {
            authorTime.loopFrom = now;
            printEdit("loop from %s", whereText().c_str());
        } else if (authorTime.loopTo < 0 && now != authorTime.loopFrom) {
            authorTime.loopTo = now;
            if (authorTime.loopTo < authorTime.loopFrom)
                std::swap(authorTime.loopFrom, authorTime.loopTo);
            printEdit("loop frames %lld to %lld (%.3f s to %.3f s)", (long long)authorTime.loopFrom,
                      (long long)authorTime.loopTo, frameSeconds(authorTime.loopFrom),
                      frameSeconds(authorTime.loopTo));
        } else {
            authorTime.loopFrom = authorTime.loopTo = -1;
            printEdit("loop off at %s", whereText().c_str());
        }
        desk.redraw = true;
        return;
    case Request::checksum:
        if (!showFlags.framesDrawn || now == 0) {
            printEdit("no picture to check at %s", whereText().c_str());
            return;
        }
        // The picture without the overlay, as a capture has it; then shown with it again.
        renderFrame(lastFrameDescription());
        printEdit("frame %lld checksum %016llx", (long long)now,
                  (unsigned long long)windowChecksum(camera.width, camera.height));
        desk.redraw = true;
        return;
    }
}

void start() {
    desk.started = true;
    learnShowLength();
    printEdit("author mode: %dx%d window, %d frames a second%s; scene 2 from frame %lld, the "
              "last frame %lld (%.3f s)",
              camera.width, camera.height, fixedStepRate(),
              desk.paced ? "" : ", unpaced (KESTRUNE_FPS)", (long long)authorTime.sceneTwoStart,
              (long long)authorTime.lastFrame, frameSeconds(authorTime.lastFrame));
    followShowTime(true);
    anchorPacing();
}

// Playing: the frames the wall clock is due (in a paced run), the last of them shown; at
// the loop's end back to its start, at the show's last frame a pause.
void play() {
    int64_t now = showFrameNow();
    int64_t due = now + 1;
    if (desk.paced) {
        double elapsed = std::chrono::duration<double>(WallClock::now() - desk.anchorTime).count();
        due = desk.anchorFrame + int64_t(std::floor(elapsed * kAuthorFps));
        if (due <= now) {
            restBriefly();
            return;
        }
        if (due - now > kMostCatchUp) {
            due = now + 1;
            anchorPacing();
            desk.anchorFrame = now;
            followShowTime(true);
        }
    }
    if (authorTime.loopTo >= 0 && due > authorTime.loopTo) {
        double ms = goTo(authorTime.loopFrom);
        printEdit("loop back to %s in %.0f ms", whereText().c_str(), ms);
        return;
    }
    if (due > authorTime.lastFrame) {
        due = authorTime.lastFrame;
        if (now >= due) {
            authorTime.paused = true;
            followShowTime(false);
            printEdit("the show's end: paused at %s", whereText().c_str());
            return;
        }
    }
    if (due - 1 > now) {
        prepareFrame(due);
        // The frames run meanwhile may have switched the music, which they only noted.
        if (music.streamFile != music.currentFile)
            followShowTime(true);
    }
    runShownFrame();
}

} // namespace

void printEdit(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    printf("\nedit: %s", text); // one write: a reader never sees half a line
    showOutputNow();
}

void prepareAuthorMode() {
    desk.paced = fixedStepRate() == 0;
    if (desk.paced)
        setFixedStep(kAuthorFps);
}

void authorDisplay() {
    checkStopSignal();
    if (!desk.started)
        start();
    // A change read while paused is shown at once: the frame runs again with it.
    if (pollReloads() && authorTime.paused && desk.requests.empty())
        desk.rerun = true;
    if (desk.rerun) {
        desk.rerun = false;
        goTo(showFrameNow());
    } else if (!desk.requests.empty())
        serveRequest();
    else if (!authorTime.paused)
        play();
    else if (!desk.redraw)
        restBriefly();
    if (desk.redraw && authorTime.paused) {
        desk.redraw = false;
        redrawFrame();
    }
    desk.redraw = false;
    updateTitle();
}

bool authorKey(unsigned char key) {
    Request request = Request::none;
    int seconds = 0;
    switch (key) {
    case 'p':
        request = Request::pause;
        break;
    case '.':
        request = Request::step;
        break;
    case ',':
        request = Request::stepBack;
        break;
    case ']':
    case '[':
    case '}':
    case '{':
        request = Request::seek;
        seconds = (key == ']' || key == '[' ? 1 : 10) * (key == ']' || key == '}' ? 1 : -1);
        break;
    case '1':
        request = Request::sceneOne;
        break;
    case '2':
        request = Request::sceneTwo;
        break;
    case 'm':
        request = Request::mark;
        break;
    case 'k':
        request = Request::checksum;
        break;
    default:
        return false;
    }
    desk.requests.emplace_back(request, seconds);
    return true;
}

void flyFromPathCamera() {
    // Where the path's camera stands and looks; the view point at the user camera's usual
    // distance, so that the arrow keys move it at their usual speed.
    Vec3 eye = pathPlayback.pathEye, at = pathPlayback.pathLookAt;
    Vec3 d = {at.x - eye.x, at.y - eye.y, at.z - eye.z};
    float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (!(length > 1e-6f)) {
        printEdit("free flight from the user camera: the path camera has no direction");
        return;
    }
    const float kViewDistance = std::sqrt(1.5f * 1.5f + 1.0f); // start-up's camera
    float k = kViewDistance / length;
    setCamera(eye.x, eye.y, eye.z, eye.x + d.x * k, eye.y + d.y * k, eye.z + d.z * k, 0, 1, 0);
    // Mouse look counts its pitch from here; the pointer rests at the centre.
    cameraControl.pitchTotal = cameraControl.pitchPrevious =
        std::atan2(d.y, std::sqrt(d.x * d.x + d.z * d.z));
    setCursorPos(camera.width / 2, camera.height / 2);
    printEdit("free flight from the path camera at (%.3f, %.3f, %.3f) looking at (%.3f, %.3f, "
              "%.3f)",
              eye.x, eye.y, eye.z, at.x, at.y, at.z);
}
