// The switches the frame obeys (defined in show/frame.cpp). The keys and start-up in app/
// set them; each says who writes it.
#pragma once

// The view follows the camera path (and mouse look is off); written by the key c and
// start-up, read by the frame.
extern bool cameraPathMode;
// The scene is drawn off screen and shown through the glow passes; written by the key b
// and start-up, by the frame (on in every scene-1 frame) and by the timeline.
extern bool bloomEnabled;
// The glow's reach, handed to the glow passes as "dd"; written by the keys l and o.
extern float dd;
// false: frames run the show's logic (paths, animation, timeline) but draw nothing;
// written by start-up (KESTRUNE_NO_DRAW=1) and the capture tool, read by the frame.
extern bool framesDrawn;
