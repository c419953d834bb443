// The two scenes: which model files make them, with which program, in which order, and
// where the idle scene waits while the other plays.
#include <string>
#include <utility>

#include "campath/campath.h"
#include "model/model.h"
#include "platform/platform.h"
#include "show/scene.h"
#include "show/show.h"

Scenes scenes;
static CameraPath levelOnePath, levelTwoPath;
static CameraPath levelTwoPathAsLoaded; // what rewindSceneTwoPath brings back
static CameraPath levelOnePathAsLoaded; // and rewindScenes

namespace {

struct SceneModel {
    Model& model;
    const char* fileName;
    ShaderKind shaderKind;
    PassKind pass;
    bool skybox; // kept at the eye by the frame while its scene plays
};

// In load order, which is the items' order in the RenderList: the order that steps the
// path and the animation, and whose pixels the frame keeps (show/frame.cpp draws each sky
// box last, winning the ties it won listed first).
const SceneModel sceneModels[] = {
    {scenes.skyboxModel, show::kSceneOneModels[0], kFlatShader, kSceneOnePass, true},
    {scenes.skybox2Model, show::kSceneTwoModels[0], kFlatShader, kSceneTwoPass, true},
    {scenes.portModel, show::kSceneTwoModels[1], kNormalMappingShader, kSceneTwoPass, false},
    {scenes.ufoModel, show::kSceneTwoModels[2], kNormalMappingShader, kSceneTwoPass, false},
    {scenes.platformModel, show::kSceneTwoModels[3], kNormalMappingShader, kSceneTwoPass, false},
    {scenes.roomModel, show::kSceneOneModels[1], kNormalMappingShader, kSceneOnePass, false},
};

} // namespace

void loadSceneModels() {
    for (const SceneModel& m : sceneModels) {
        Model loaded(m.fileName, m.shaderKind, m.pass);
        if (!loaded.loaded)
            fatalError(loaded.error.c_str());
        m.model = std::move(loaded);
    }
    placeScenes(kSceneOnePass);
}

static void loadScenePath(const char* fileName, CameraPath& path) {
    printPathReading(fileName, path, readCameraPath(fileName, path));
}

void loadScenePaths() {
    loadScenePath(kLevelTwoPathFile, levelTwoPath);
    loadScenePath(kLevelOnePathFile, levelOnePath);
    levelTwoPathAsLoaded = levelTwoPath;
    levelOnePathAsLoaded = levelOnePath;
}

void rewindScenes() {
    levelOnePath = levelOnePathAsLoaded;
    levelTwoPath = levelTwoPathAsLoaded;
    for (const SceneModel& m : sceneModels) {
        setTranslation(m.model, 0, 0, 0);
        setRotation(m.model, 0, 0, 0);
    }
    placeScenes(kSceneOnePass);
}

void rewindSceneTwoPath() {
    levelTwoPath = levelTwoPathAsLoaded;
}

void placeScenes(PassKind active) {
    for (const SceneModel& m : sceneModels) {
        if (m.pass != active)
            setTranslation(m.model, 0, 0, show::kParkedZ);
        else if (!m.skybox)
            setTranslation(m.model, 0, 0, 0);
    }
}

void placeSkybox(PassKind scene, Vec3 eye) {
    for (const SceneModel& m : sceneModels) {
        if (m.skybox && m.pass == scene)
            setTranslation(m.model, eye.x, eye.y - show::kSkyboxDrop, eye.z);
    }
}

CameraPath& scenePath(PassKind scene) {
    return scene == kSceneTwoPass ? levelTwoPath : levelOnePath;
}

PathReading reloadScenePath(const char* fileName) {
    if (std::string(fileName) == kLevelTwoPathFile)
        return reloadCameraPath(fileName, levelTwoPath, &levelTwoPathAsLoaded);
    return reloadCameraPath(fileName, levelOnePath, &levelOnePathAsLoaded);
}

PathReading playRecordingIn(PassKind scene, const char* fileName) {
    CameraPath recorded = {};
    PathReading reading = readCameraPath(fileName, recorded);
    if (!recorded.usable)
        return reading;
    scenePath(scene) = recorded;
    // A seek back starts the scene from what it now plays.
    (scene == kSceneTwoPass ? levelTwoPathAsLoaded : levelOnePathAsLoaded) = recorded;
    return reading;
}
