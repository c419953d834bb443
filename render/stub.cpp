// Placeholder until rendering lands: clears the window each frame.
#include "render/render.h"
#include "app/app.h"
#include <GL/glew.h>
#include <GL/freeglut.h>
unsigned int sceneProgram, bloomProgram, normalMappingProgram, neonProgram, flatProgram;
int sceneProjectionLoc = -1, sceneModelViewLoc, sceneNormalAttr, sceneVertexAttr,
    sceneFirstTextureLoc, sceneTexCoordAttr, sceneTangentAttr, sceneNormalMapLoc,
    sceneLightDirLoc;
int bloomProjectionLoc, bloomModelViewLoc, bloomNormalAttr, bloomVertexAttr,
    bloomFirstTextureLoc, bloomSecondTextureLoc, bloomTexCoordAttr, bloomBrightnessLoc,
    bloomDdLoc;
unsigned int quadVertexBuffer, quadNormalBuffer, quadIndexBuffer, quadTexCoordBuffer;
unsigned int sceneFbo, sceneDepthBuffer, sceneFboTexture;
unsigned int glowFbo, glowDepthBuffer, glowFboTexture;
char* readTextFile(const char*) { return nullptr; }
void setupShaders() {}
void uploadRenderItem(int) {}
void setupRenderTargets() {}
void display() {
    updateFrameTimer(frameTimer);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}
void drawItem(int) {}
void drawGlowPasses() {}
