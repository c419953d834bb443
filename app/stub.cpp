// Placeholder until input lands.
#include "app/app.h"
#include <cstdlib>
bool cameraPathMode, bloomEnabled, shaderEnabled, levelTwoActive;
float cameraLift, dd = 0.005f, headingAngle, headingSin, headingCos = -1;
void keyboard(unsigned char key, int, int) {
    if (key == 27)
        shutDown();
}
void specialKeyDown(int, int, int) {}
void specialKeyUp(int, int, int) {}
void passiveMotion(int, int) {}
