// What only render/ uses, and the tests and benchmarks that look inside it: the GL names
// of the programs, shaders, buffers and targets, the location variables, and the pieces of
// the frame. Written at set-up unless a line says otherwise.
#pragma once
#include <cstddef>

// --- programs and shaders (render/shaders.cpp) ---
extern unsigned int sceneProgram, bloomProgram, normalMappingProgram, neonProgram, flatProgram;
// The ten shader objects, kept but not used after linking.
extern unsigned int sceneVertexShader, sceneFragmentShader, bloomVertexShader, bloomFragmentShader,
    normalMappingVertexShader, normalMappingFragmentShader, neonVertexShader, neonFragmentShader,
    flatVertexShader, flatFragmentShader;
// Which program the key x bound last; written by setupShaders and toggleSceneProgram.
extern bool shaderEnabled;

// Item-program locations: one shared set, refilled by lookUpItemLocations for each drawn
// item's program (render/draw.cpp).
extern int sceneProjectionLoc, sceneModelViewLoc, sceneNormalAttr, sceneVertexAttr,
    sceneFirstTextureLoc, sceneTexCoordAttr, sceneTangentAttr, sceneNormalMapLoc, sceneLightDirLoc;
// Glow-program locations, looked up once.
extern int bloomProjectionLoc, bloomModelViewLoc, bloomNormalAttr, bloomVertexAttr,
    bloomFirstTextureLoc, bloomSecondTextureLoc, bloomTexCoordAttr, bloomBrightnessLoc, bloomDdLoc;

bool shaderCompiled(unsigned int shader);
bool programLinked(unsigned int program);
// The nine item locations of the program, into the scene* variables above.
void lookUpItemLocations(unsigned int program);
// A new buffer, bound to target and filled once.
unsigned int makeBuffer(unsigned int target, size_t bytes, const void* data);
// The same for an array buffer that feeds the attribute at location.
unsigned int makeAttributeBuffer(size_t bytes, const void* data, int location, int components);
// Binds buffer as the array buffer and feeds the attribute at location from it (floats,
// tightly packed), enabled; a location of -1 (a name the program lacks) is left alone.
void bindAttribute(unsigned int buffer, int location, int components);
// Disables every array enabled earlier that was not fed since the last call: each draw
// calls it once its attributes are bound.
void disableUnfedAttributes();

// --- the glow's full-screen quad (render/glow.cpp) ---
extern unsigned int quadVertexBuffer, quadNormalBuffer, quadIndexBuffer, quadTexCoordBuffer;
void buildGlowQuad();  // windowWidth x windowHeight pixels; called by setupShaders
void resizeGlowQuad(); // the same size again, into the existing buffer

// --- render targets (render/targets.cpp) ---
extern unsigned int sceneFbo, sceneDepthBuffer, sceneFboTexture;
extern unsigned int glowFbo, glowDepthBuffer, glowFboTexture;
