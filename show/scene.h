// The two scenes: six models and two camera paths, loaded at start-up. Which model
// belongs to which scene, with which program, and where the idle scene waits, is written
// down here (show/scene.cpp) and nowhere else.
#pragma once
#include "math/vecmath.h"
#include "model/renderlist.h"

struct Model;
struct CameraPath;

// Loaded by loadSceneModels; moved by placeScenes, placeSkybox and the timeline's
// animation (the UFO and the platform).
extern Model skyboxModel, skybox2Model, portModel, ufoModel, platformModel, roomModel;
// Read by loadScenePaths; played and advanced by the frame through campath/ playback.
extern CameraPath levelOnePath, levelTwoPath;

// The six models into their globals, in the order their items take in the RenderList,
// then placeScenes(kSceneOnePass). A model that cannot be read is fatal.
void loadSceneModels();
// Scene 2's path file, then scene 1's, each read once into its path's list of nodes.
void loadScenePaths();
// The active scene's models to the origin, except its sky box, which the frame keeps at
// the eye; every model of the other scene to z = show::kParkedZ.
void placeScenes(PassKind active);
// The scene's sky box centred show::kSkyboxDrop below the eye.
void placeSkybox(PassKind scene, Vec3 eye);
CameraPath& scenePath(PassKind scene); // levelOnePath or levelTwoPath
