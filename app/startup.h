// Start-up and the window callbacks it registers that belong to no other module.
#pragma once

int runDemo(int argc, char** argv);    // start-up, then the event loop; does not return
void startDemo(int argc, char** argv); // start-up up to the event loop: loadDemo, beginShow
void loadDemo(int argc, char** argv);  // everything before the clocks and the music
void beginShow();                      // the frame timer, the music and the demo clock
// The image library, the GL state and the extension loader; needs a window.
void setupGraphics();
void reshape(int width, int height);
// Every window callback, for the demo and the capture tool alike. Interactive: frames run
// from the event loop and the keys and the pointer act; otherwise only reshape is served
// and the caller runs the frames itself.
void registerWindowCallbacks(bool interactive);
