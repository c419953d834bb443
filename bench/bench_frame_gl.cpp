// Frame time of both scenes against a floor measured in the same run (the two glow
// passes alone), and the CPU cost of issuing one item. Runs in a hidden 1280 x 720 window
// on the content of a run folder: KESTRUNE_RUN_DIR, else the demo/ folder of the build
// this binary belongs to.
#include <GL/glew.h>
#include <IL/il.h>
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/startup.h"
#include "platform/platform.h"
#include "camera/camera.h"
#include "math/vecmath.h"
#include "model/renderlist.h"
#include "show/flags.h"
#include "show/frame.h"
#include "render/internal.h"
#include "render/render.h"
#include "show/scene.h"
#include "show/timeline.h"
#include "show/timer.h"

namespace {

double floorSeconds = 0; // one pair of glow passes, measured before the benchmarks
int sceneOneItems = 0, sceneTwoItems = 0;

std::string runFolder() {
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

// Start-up as the demo does it, without sound and full screen.
bool startUp() {
    std::string dir = runFolder();
    if (chdir(dir.c_str()) != 0) {
        fprintf(stderr, "bench_frame_gl: no run folder %s\n", dir.c_str());
        return false;
    }
    camera.width = 1280;
    camera.height = 720;
    openHiddenWindow("Kestrune frame bench", camera.width, camera.height);
    setCamera(0, 0, 6, 0, 1.5f, 5, 0, 1, 0);
    setupGraphics();
    startFrameTimer(frameTimer);

    loadSceneModels();
    setupShaders(camera.width, camera.height);
    showFlags.cameraPathMode = true;
    loadScenePaths();
    setupRenderTargets(camera.width, camera.height);
    startClock(demoClock);
    for (int i = 0; i < renderListSize(); i++)
        (renderItem(i).passKind == kSceneOnePass ? sceneOneItems : sceneTwoItems)++;
    fflush(stdout);
    return true;
}

GlowParameters glow() {
    return {showFlags.bloomEnabled, timeline.brightness, showFlags.dd};
}

// The scene positions as the switch leaves them, without its music.
void enterScene(bool two) {
    timeline.levelTwoActive = two;
    placeScenes(two ? kSceneTwoPass : kSceneOnePass);
    timeline.brightness = 1.0f;
}

double measureFloor() {
    // The first draws compile the program for the rasteriser: not part of the floor.
    for (int i = 0; i < 3; i++)
        drawGlowPasses(glow(), camera.width, camera.height);
    glFinish();
    auto start = std::chrono::steady_clock::now();
    const int runs = 20;
    for (int i = 0; i < runs; i++) {
        drawGlowPasses(glow(), camera.width, camera.height);
        glFinish();
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count() / runs;
}

void BM_GlowPassesFloor(benchmark::State& state) {
    enterScene(false);
    for (auto _ : state) {
        drawGlowPasses(glow(), camera.width, camera.height);
        glFinish();
    }
}

void frameBench(benchmark::State& state, bool sceneTwo, bool glow) {
    enterScene(sceneTwo);
    // As for the floor: the first frames compile the rasteriser's shader variants (one per
    // program, target and texture format), which is not what a frame costs.
    showFlags.bloomEnabled = glow;
    for (int i = 0; i < 2; i++) {
        if (!glow)
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        runFrame();
    }
    glFinish();
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        showFlags.bloomEnabled = glow;
        if (!glow)
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        runFrame();
        glFinish();
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    double frame = took.count() / double(state.iterations());
    state.counters["items"] = sceneTwo ? sceneTwoItems : sceneOneItems;
    state.counters["floor_ms"] = floorSeconds * 1e3;
    state.counters["x_floor"] = frame / floorSeconds;
}

void BM_SceneOneFrame(benchmark::State& state) {
    frameBench(state, false, true);
}
void BM_SceneTwoFrame(benchmark::State& state) {
    frameBench(state, true, true);
}
void BM_SceneTwoFrameWithoutGlow(benchmark::State& state) {
    frameBench(state, true, false);
}

// CPU time to issue the drawn items of scene 1 (path step, matrices, program and location
// look-ups, binds, the draw call); the rasterising is finished outside the timing.
void BM_IssueSceneOneItems(benchmark::State& state) {
    enterScene(false);
    Mat4 projection;
    viewProjection(projection, camera.width, camera.height);
    for (auto _ : state) {
        glBindFramebuffer(GL_FRAMEBUFFER, renderer.sceneFbo);
        for (int i = 0; i < renderListSize(); i++) {
            if (renderItem(i).passKind == kSceneOnePass)
                drawItem(describeItem(i), projection);
        }
        state.PauseTiming();
        glFinish();
        state.ResumeTiming();
    }
    state.counters["items"] = sceneOneItems;
    state.counters["per_item"] =
        benchmark::Counter(double(state.iterations()) * sceneOneItems,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_GlowPassesFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneOneFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneTwoFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneTwoFrameWithoutGlow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IssueSceneOneItems)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!startUp())
        return 1;
    enterScene(false);
    floorSeconds = measureFloor();
    printf("floor (two glow passes, no items): %.2f ms; items: scene 1 %d, scene 2 %d\n",
           floorSeconds * 1e3, sceneOneItems, sceneTwoItems);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
