// Reloading in author mode. Once a frame, before the frame runs, the files written since
// the last one are taken from the platform's watch (inotify, or files dropped on a page)
// and each is read again by what it feeds. A file that cannot be used changes nothing and
// says why; the show goes on with what it had. Every reload prints one line starting
// "reload:", and once the frame that shows it has been swapped, how long after the file
// was written that was.
#include <sys/stat.h>
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/reload.h"
#include "show/author.h"
#include "campath/campath.h"
#include "model/model.h"
#include "platform/platform.h"
#include "render/reload.h"
#include "render/render.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/timeline.h"

namespace {

struct FileStamp {
    int64_t mtime = 0; // nanoseconds, wall clock
    int64_t size = -1;
    int64_t inode = 0;
    bool operator==(const FileStamp& o) const {
        return mtime == o.mtime && size == o.size && inode == o.inode;
    }
};

struct Reloader {
    bool watching = false;
    // Reloads applied before the frame just drawn: when their files were written, when the
    // reload began and when it was done (wall clock, nanoseconds).
    struct Shown {
        std::string path;
        int64_t written, began, done;
    };
    std::vector<Shown> shown;
    // KESTRUNE_RELOAD_PROBE=1: each drawn frame's checksum and the live GL objects after
    // each reload, for the tests.
    bool probe = false;
    // The recording that the key e already put in play: its file's change is not new.
    std::string playedFile;
    FileStamp playedStamp;
};
Reloader reloader;

FileStamp stampOf(const std::string& path) {
    FileStamp stamp;
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        stamp.mtime = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        stamp.size = info.st_size;
        stamp.inode = int64_t(info.st_ino);
    }
    return stamp;
}

int64_t wallClockNow() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// One line: with the frame in a fixed-step run, for the tests that follow the show.
void say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void say(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (fixedStepRate() > 0)
        printFrameEvent("%s", text);
    else
        printf("\n%s", text);
    fflush(stdout);
}

std::vector<Model*> sceneModels() {
    return {&scenes.skyboxModel, &scenes.skybox2Model,  &scenes.portModel,
            &scenes.ufoModel,    &scenes.platformModel, &scenes.roomModel};
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, strlen(prefix), prefix) == 0;
}

void reportGlObjects() {
    if (!reloader.probe)
        return;
    GlObjectCounts counts = countGlObjects();
    say("gl objects: programs %d shaders %d buffers %d textures %d", counts.programs,
        counts.shaders, counts.buffers, counts.textures);
}

bool reloadShader(const std::string& path) {
    std::vector<std::string> failures = rebuildProgramsOf(path);
    for (const std::string& failure : failures) {
        // The first line says which program and file; the driver's log follows as it is.
        size_t lineEnd = failure.find('\n');
        say("reload: %s", failure.substr(0, lineEnd).c_str());
        if (lineEnd != std::string::npos)
            printf("\n%s", failure.substr(lineEnd + 1).c_str());
    }
    if (!failures.empty())
        return false;
    say("reload: %s: program rebuilt", path.c_str());
    return true;
}

bool reloadPath(const std::string& path) {
    if (path == reloader.playedFile && stampOf(path) == reloader.playedStamp) {
        reloader.playedFile.clear();
        return false; // the key e put this very file in play already
    }
    PathReading reading = reloadScenePath(path.c_str());
    if (!reading.reason.empty()) {
        say("reload: camera path %s not usable: %s; the old path stays", path.c_str(),
            reading.reason.c_str());
        return false;
    }
    say("reload: %s: path read, %d nodes", path.c_str(),
        scenePath(path == kLevelTwoPathFile ? kSceneTwoPass : kSceneOnePass).amount);
    return true;
}

void collectTextures(const RenderItem& item, std::vector<uint32_t>& names) {
    names.push_back(item.colorTexture);
    names.push_back(item.bumpTexture);
}

bool contains(const std::vector<uint32_t>& names, uint32_t name) {
    for (uint32_t n : names)
        if (n == name)
            return true;
    return false;
}

bool reloadModelFile(Model& model) {
    std::vector<uint32_t> candidates; // the old model's textures
    for (const ModelMaterial& material : model.materials) {
        candidates.push_back(material.colorTexture);
        candidates.push_back(material.bumpTexture);
    }
    std::vector<RenderItem> replaced;
    std::string error;
    keepDecodedImages(false);
    bool reloaded = reloadModel(model, sceneModels(), replaced, error);
    keepDecodedImages(true);
    if (!reloaded) {
        say("reload: %s; the old model stays", error.c_str());
        return false;
    }
    for (int i = model.firstItem; i < model.firstItem + model.itemCount; i++)
        uploadRenderItem(i);
    for (RenderItem& item : replaced) {
        deleteItemBuffers(item);
        collectTextures(item, candidates);
    }
    // A texture goes once no item draws with it: materials without a file of their own
    // share the textures loaded before them, also another model's.
    std::vector<uint32_t> inUse, unused;
    for (int i = 0; i < renderListSize(); i++)
        collectTextures(renderItem(i), inUse);
    for (uint32_t name : candidates)
        if (name != 0 && !contains(inUse, name) && !contains(unused, name))
            unused.push_back(name);
    deleteTextures(unused);
    forgetTextures(unused);
    say("reload: %s: %d items uploaded", model.fileName, model.itemCount);
    return true;
}

bool reloadTexture(const std::string& path) {
    std::vector<uint32_t> names = texturesOfFile(path);
    if (names.empty()) {
        // No texture came from it (it was missing at start, say): the models that name it
        // are read again, as a fresh start would.
        bool any = false;
        for (Model* model : sceneModels()) {
            for (const ModelMaterial& material : model->materials) {
                std::string name = material.fileName;
                if (!name.empty() &&
                    (path == "textures/" + name || path == "textures/normal_" + name)) {
                    any = reloadModelFile(*model) || any;
                    break;
                }
            }
        }
        return any;
    }
    DecodedImage image;
    unsigned int imageName = 0;
    if (!decodeImage(path.c_str(), &imageName, image)) {
        say("reload: %s cannot be decoded; the old texture stays", path.c_str());
        return false;
    }
    for (uint32_t name : names)
        refillTexture(name, image);
    releaseImage(image);
    forgetImage(imageName);
    say("reload: %s: %d textures uploaded", path.c_str(), int(names.size()));
    return true;
}

// Whether the file feeds the show and was read again into it.
bool reload(const std::string& path) {
    if (isShaderSource(path))
        return reloadShader(path);
    if (path == kLevelOnePathFile || path == kLevelTwoPathFile)
        return reloadPath(path);
    if (startsWith(path, "models/")) {
        for (Model* model : sceneModels())
            if (model->fileName && path == model->fileName)
                return reloadModelFile(*model);
        return false;
    }
    if (startsWith(path, "textures/"))
        return reloadTexture(path);
    return false; // not one of the show's files
}

void reportShown() {
    int64_t now = wallClockNow();
    auto ms = [](int64_t from, int64_t to) { return double(to - from) / 1e6; };
    for (const Reloader::Shown& r : reloader.shown)
        say("reload: %s on screen %.1f ms after it was written (%.1f ms to the frame's start, "
            "%.1f reloading, %.1f the frame)",
            r.path.c_str(), ms(r.written, now), ms(r.written, r.began), ms(r.began, r.done),
            ms(r.done, now));
    reloader.shown.clear();
}

void reportChecksum() {
    if (!reloader.probe || !showFlags.framesDrawn || fixedStepFrame() == 0)
        return;
    // A window larger than the screen has only the screen's pixels to read.
    int width = 0, height = 0, screenWidth = 0, screenHeight = 0;
    windowSize(&width, &height);
    desktopSize(&screenWidth, &screenHeight);
    width = std::min(width, screenWidth);
    height = std::min(height, screenHeight);
    say("checksum %016llx", (unsigned long long)windowChecksum(width, height));
}

} // namespace

bool pollReloads() {
    if (!reloader.watching) {
        const char* probe = getenv("KESTRUNE_RELOAD_PROBE");
        reloader.probe = probe && strcmp(probe, "1") == 0;
        if (reloader.probe)
            authorTime.overlayShown = false;
        reloader.watching = startWatching(".");
        if (reloader.watching)
            say("reload: watching the run folder for changes");
    }
    std::vector<std::string> changed = pollChangedFiles();
    bool any = false;
    for (const std::string& path : changed) {
        int64_t written = stampOf(path).mtime, began = wallClockNow();
        if (reload(path)) {
            reloader.shown.push_back({path, written, began, wallClockNow()});
            any = true;
        }
    }
    if (!changed.empty())
        reportGlObjects();
    if (any)
        forgetCheckpoints(); // the states saved for seeking hold the old paths and models
    return any;
}

void reloadsShown() {
    reportShown();
    reportChecksum();
}

void playRecording() {
    PassKind scene = timeline.levelTwoActive ? kSceneTwoPass : kSceneOnePass;
    const char* file = pathRecorder.recordFileName;
    PathReading reading = playRecordingIn(scene, file);
    if (!reading.reason.empty()) {
        printf("\nedit: the recording cannot play: %s", reading.reason.c_str());
        return;
    }
    restartSegment();
    showFlags.cameraPathMode = true;
    if (scene == kSceneTwoPass) {
        // The watch will report the file the recorder just wrote: it is in play already.
        reloader.playedFile = file;
        reloader.playedStamp = stampOf(file);
        printf("\nedit: the recording plays from its start (saved as %s)", file);
    } else {
        printf("\nedit: the recording plays in scene 1 from its start; it is saved as %s, "
               "scene 2's path (copy it to %s to keep it for scene 1)",
               file, kLevelOnePathFile);
    }
    fflush(stdout);
}
