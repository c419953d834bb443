// The keyboard and pointer callbacks. They never draw: they set the flags and speeds that
// the next frame reads (declared in show/flags.h and camera/camera.h) or call the
// recorder, the scene switch, the scene program toggle or the shut-down.
#pragma once

// Keys in the demo's codes (platform/platform.h): characters to keyboard, the arrows
// (keyLeft...) to the special-key callbacks.
void keyboard(unsigned char key, int x, int y);
void specialKeyDown(int key, int x, int y);
void specialKeyUp(int key, int x, int y);
void passiveMotion(int x, int y);
