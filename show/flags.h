// The switches the frame obeys (defined in show/frame.cpp).
#pragma once

// Written by the keys and start-up in app/, by the frame (the glow, on in every scene-1
// frame) and the timeline (the glow, at the switch and the end fade); read by the frame.
struct ShowFlags {
    // The view follows the camera path (and mouse look is off): the key c and start-up.
    bool cameraPathMode = false;
    // The scene is drawn off screen and shown through the glow passes: the key b.
    bool bloomEnabled = false;
    // The glow's reach, handed to the glow passes as "dd": the keys l and o.
    float dd = 0.005f;
    // false: frames run the show's logic (paths, animation, timeline) but draw nothing;
    // start-up (KESTRUNE_NO_DRAW=1) and the capture tool.
    bool framesDrawn = true;
    // Author mode (kestrune --edit): a window, and time and content under the author's
    // hand. Set once by start-up; without it the show runs as it always has.
    bool authorMode = false;
};
extern ShowFlags showFlags;
