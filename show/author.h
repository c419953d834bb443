// Author mode's hold on the show's time (kestrune --edit): the show runs on the fixed-step
// clock, so a time is a frame number and any frame can be reached again by rerunning the
// show's logic from its start without drawing, as the capture tool reaches its start.
// The keys that move the time are app/'s (app/author.cpp); what the time is and how the
// show gets there is here.
#pragma once
#include <cstdint>

struct AuthorTime {
    bool paused = false;
    // The marked range, in frames: loopFrom below 0 none; loopTo below 0 while only its
    // start is marked. Played to loopTo, the show goes back to loopFrom.
    int64_t loopFrom = -1, loopTo = -1;
    // Learnt once from the show's own logic (learnShowLength): the first frame that draws
    // scene 2 and the last frame the show draws before it ends.
    int64_t sceneTwoStart = 0, lastFrame = 0;
    // The author changed the show itself (the keys s and b): it has left the straight run,
    // keeps no states and goes back to its start or a kept state for any seek.
    bool offTimeline = false;
    // The overlay is drawn over each frame; off where a test hashes the show's own picture
    // frame after frame (KESTRUNE_RELOAD_PROBE), whose clock would change every hash.
    bool overlayShown = true;
};
extern AuthorTime authorTime;

// The show's frame now (frames run so far) and a frame's time in seconds.
int64_t showFrameNow();
double frameSeconds(int64_t frame);
int sceneNow(); // 1 or 2

// Runs the show's logic once to the scene switch, without drawing or sound, and back.
void learnShowLength();
// The show as it stood before its first frame: clocks, timeline, paths, models, the glow,
// and the music's record (the streams are left alone).
void rewindShow();
// The show's state just before `frame` (1 to lastFrame), which the caller then runs and
// draws: ahead of now the frames between run without drawing; otherwise the show goes back
// to the nearest kept state before it (or its start) and runs from there. The user camera,
// its speeds and the path mode are as they were; the music is held meanwhile and not moved
// (followShowTime does that).
void prepareFrame(int64_t frame);
// After a frame has run: every few seconds of the show its state is kept, so that going
// back reruns only the frames since the nearest one.
void keepCheckpoint();
// The kept states are of the show as loaded: a path or a model read again makes them
// stale (a seek also notices a path's nodes changed).
void forgetCheckpoints();
// The overlay over the frame just drawn: time, scene, frame, the path's segment, the bar.
void drawAuthorOverlay();
