// Rendering: the five shader programs and GPU buffers, the two off-screen targets, the
// frame, the glow passes and the timed show with its scene switch.
#pragma once
#include <cstdint>

// Programs.
extern unsigned int sceneProgram, bloomProgram, normalMappingProgram, neonProgram, flatProgram;

// Item-program locations: one shared set, refilled for each drawn item's program.
extern int sceneProjectionLoc, sceneModelViewLoc, sceneNormalAttr, sceneVertexAttr,
    sceneFirstTextureLoc, sceneTexCoordAttr, sceneTangentAttr, sceneNormalMapLoc, sceneLightDirLoc;
// Glow-program locations, looked up once.
extern int bloomProjectionLoc, bloomModelViewLoc, bloomNormalAttr, bloomVertexAttr,
    bloomFirstTextureLoc, bloomSecondTextureLoc, bloomTexCoordAttr, bloomBrightnessLoc, bloomDdLoc;

// The full-screen quad, sized from the screen at set-up.
extern unsigned int quadVertexBuffer, quadNormalBuffer, quadIndexBuffer, quadTexCoordBuffer;

// Render targets.
extern unsigned int sceneFbo, sceneDepthBuffer, sceneFboTexture;
extern unsigned int glowFbo, glowDepthBuffer, glowFboTexture;

// Timeline.
extern float brightness;     // glow composite scale; 1.0 at load
extern float animationStart; // clock second at which the scene-2 animation begins
extern float spinAngle;
extern float liftHeight;
extern float tiltAngle;
extern float flyOffset;

// The ten shader objects, kept but not used after linking.
extern unsigned int sceneVertexShader, sceneFragmentShader, bloomVertexShader, bloomFragmentShader,
    normalMappingVertexShader, normalMappingFragmentShader, neonVertexShader, neonFragmentShader,
    flatVertexShader, flatFragmentShader;

// Shader set-up and upload.
char* readTextFile(const char* path); // whole file plus NUL, or nullptr; caller frees (free)
void setupShaders();
void uploadRenderItem(int index);
bool shaderCompiled(unsigned int shader);
bool programLinked(unsigned int program);
// Feeds attribute location from the bound array buffer (floats, tightly packed) and
// enables it; a location of -1 (a name the program lacks) is left alone.
void setAttribute(int location, int components);

// Off-screen targets; an incomplete one is fatal.
void setupRenderTargets();

// The frame.
struct CameraPath;
// false: frames run the show's logic (paths, animation, timeline) but draw nothing.
extern bool framesDrawn;
void display();     // showFrame, then endFrame
void showFrame();   // fixed step, renderFrame, the scene's end check: the frame up to its swap
void endFrame();    // swap, per-frame counters
void renderFrame(); // camera movement, timer, the active scene's items, the glow passes
void drawItem(int index);
void drawGlowPasses();
CameraPath& activePath(); // levelTwoPath in the second scene, else levelOnePath
bool viewFollowsPath();   // cameraPathMode, and the active path was loaded whole

// The show.
double demoSeconds(); // elapsed seconds of the demo clock, read afresh
void switchToLevelTwo();
void animationStep();
void sceneOneEndCheck();
void sceneTwoEndCheck();
