// The keyboard and pointer callbacks. They never draw: they set the flags and speeds that
// the next frame reads (declared in show/flags.h and camera/camera.h) or call the
// recorder, the scene switch, the scene program toggle or the shut-down.
#pragma once

void keyboard(unsigned char key, int x, int y);
void specialKeyDown(int key, int x, int y);
void specialKeyUp(int key, int x, int y);
void passiveMotion(int x, int y);

// The pointer's heading, written by passiveMotion and read by nobody: mouse look takes the
// pointer from the platform's cursor instead.
extern float headingAngle, headingSin, headingCos;
