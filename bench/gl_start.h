// The GL benchmarks' start-up: the content they draw is in KESTRUNE_RUN_DIR, else the
// demo/ folder of the build the benchmark was built in; the show is set up there as the
// demo sets it up, without sound and full screen, in a hidden 1280x720 window.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "app/startup.h"
#include "camera/camera.h"
#include "platform/platform.h"
#include "render/render.h"
#include "show/flags.h"
#include "show/scene.h"
#include "show/timer.h"

inline std::string runFolder() {
    if (const char* dir = getenv("KESTRUNE_RUN_DIR"))
        return dir;
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return ".";
    exe[n] = '\0';
    std::string path(exe);
    path = path.substr(0, path.rfind('/')); // <build>/bench
    path = path.substr(0, path.rfind('/')); // <build>
    return path + "/demo";
}

// False, with a line saying why, where the run folder is missing.
inline bool startBenchShow(const char* name) {
    std::string dir = runFolder();
    if (chdir(dir.c_str()) != 0) {
        fprintf(stderr, "%s: no run folder %s\n", name, dir.c_str());
        return false;
    }
    camera.width = 1280;
    camera.height = 720;
    openHiddenWindow(name, camera.width, camera.height);
    setCamera(0, 0, 6, 0, 1.5f, 5, 0, 1, 0);
    setupGraphics();
    startFrameTimer(frameTimer);
    loadSceneModels();
    setupShaders(camera.width, camera.height);
    showFlags.cameraPathMode = true;
    loadScenePaths();
    setupRenderTargets(camera.width, camera.height);
    startClock(demoClock);
    return true;
}
