// The two scenes: six models and two camera paths, loaded at start-up. Which model
// belongs to which scene, with which program, and where the idle scene waits, is written
// down here (show/scene.cpp) and nowhere else.
#pragma once
#include "math/vecmath.h"
#include "model/model.h"
#include "model/renderlist.h"

struct CameraPath;
struct PathReading;

// The six models: loaded by loadSceneModels; moved by placeScenes, placeSkybox and the
// timeline's animation (the UFO and the platform).
struct Scenes {
    Model skyboxModel, skybox2Model, portModel, ufoModel, platformModel, roomModel;
};
extern Scenes scenes;

// The six models into scenes, in the order their items take in the RenderList,
// then placeScenes(kSceneOnePass). A model that cannot be read is fatal.
void loadSceneModels();
// Scene 2's path file, then scene 1's, each read once into its path's list of nodes.
void loadScenePaths();
// Scene 2's path back at its start, as loaded: a repeated switch plays it from there.
void rewindSceneTwoPath();
// Both paths and every model back where loading left them (author mode's seek).
void rewindScenes();
// The active scene's models to the origin, except its sky box, which the frame keeps at
// the eye; every model of the other scene to z = show::kParkedZ.
void placeScenes(PassKind active);
// The scene's sky box centred show::kSkyboxDrop below the eye.
void placeSkybox(PassKind scene, Vec3 eye);
// The scene's camera path: read by loadScenePaths, played and advanced by the frame
// through campath/ playback.
CameraPath& scenePath(PassKind scene);
// A path file changed while the show runs, read again into its scene's path
// (reloadCameraPath); scene 2's is also what a repeated switch rewinds to. The file must
// be one of the two path files.
PathReading reloadScenePath(const char* fileName);
// The recording in fileName plays in the scene from its start, from the next frame; when
// it cannot be played nothing changes and the reading's reason says why.
PathReading playRecordingIn(PassKind scene, const char* fileName);
