// Author mode's reloading: the files written in the run folder while the show runs are
// read again and take effect from the next frame (shaders, camera paths, models,
// textures), and a finished recording plays at once.
#pragma once

// Once a frame in author mode, before it runs: reads again what changed since the last
// one; true when anything was read. Its first call starts the watch on the run folder.
bool pollReloads();
// After each frame author mode shows: when the reloads it shows reached the screen (and,
// with KESTRUNE_RELOAD_PROBE=1, the frame's checksum).
void reloadsShown();
// After the key e has written the recording: it plays in the current scene from its start.
void playRecording();
