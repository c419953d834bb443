// Author mode's reloading: the files written in the run folder while the show runs are
// read again and take effect from the next frame (shaders, camera paths, models,
// textures), and a finished recording plays at once.
#pragma once

// The frame in author mode: the changes since the last frame, then display. Its first
// call starts the watch on the run folder.
void displayWithReloads();
// After the key e has written the recording: it plays in the current scene from its start.
void playRecording();
