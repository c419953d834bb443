// The switches the frame obeys. They are declared here, beside their readers, because the
// keys and start-up that set them are in app/, which nothing in render/ includes; each says
// who writes it.
#pragma once

// The view follows the camera path (and mouse look is off); written by the key c and
// start-up (app/), read by the frame.
extern bool cameraPathMode;
// The scene is drawn off screen and shown through the glow passes; written by the key b
// and start-up (app/), by the frame (on in every scene-1 frame) and by the timeline.
extern bool bloomEnabled;
// The glow's reach, sent to "dd" by the glow passes; written by the keys l and o (app/).
extern float dd;
// false: frames run the show's logic (paths, animation, timeline) but draw nothing;
// written by start-up (KESTRUNE_NO_DRAW=1) and the capture tool, read by the frame.
extern bool framesDrawn;
