// Frame time of both scenes against a floor measured in the same run (the two glow
// passes alone), and the CPU cost of issuing one item. Runs in a hidden 1280 x 720 window
// on the content of a run folder: KESTRUNE_RUN_DIR, else the demo/ folder of the build
// this binary belongs to.
#include <GL/glew.h>
#include <IL/il.h>
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/platform.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "math/vecmath.h"
#include "model/renderlist.h"
#include "show/flags.h"
#include "show/frame.h"
#include "render/internal.h"
#include "render/render.h"
#include "show/scene.h"
#include "show/timeline.h"
#include "show/timer.h"
#include "bench/gl_start.h"

namespace {

double floorSeconds = 0;    // one pair of glow passes, measured before the benchmarks
double floorCpuSeconds = 0; // the same in CPU time of the whole process
int sceneOneItems = 0, sceneTwoItems = 0;

// Start-up as the demo does it, without sound and full screen.
bool startUp() {
    if (!startBenchShow("bench_frame_gl"))
        return false;
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

// CPU time of the whole process, the rasteriser's threads included: the work done, which a
// busy machine disturbs far less than the wall time.
double processCpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

double measureFloor() {
    // The first draws compile the program for the rasteriser: not part of the floor.
    for (int i = 0; i < 3; i++)
        drawGlowPasses(glow(), camera.width, camera.height);
    glFinish();
    auto start = std::chrono::steady_clock::now();
    double cpuStart = processCpuSeconds();
    const int runs = 20;
    for (int i = 0; i < runs; i++) {
        drawGlowPasses(glow(), camera.width, camera.height);
        glFinish();
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    floorCpuSeconds = (processCpuSeconds() - cpuStart) / runs;
    return took.count() / runs;
}

// --- where a frame's time goes, and how often its pixels are shaded ---

// The model an item was read from: the parts of the breakdown.
const char* modelOf(int index) {
    const std::pair<const Model*, const char*> models[] = {
        {&scenes.skyboxModel, "sky"}, {&scenes.skybox2Model, "sky"},
        {&scenes.roomModel, "room"},  {&scenes.portModel, "port"},
        {&scenes.ufoModel, "ufo"},    {&scenes.platformModel, "platform"}};
    for (auto [model, name] : models)
        if (index >= model->firstItem && index < model->firstItem + model->itemCount)
            return name;
    return "other";
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One part of a frame: its time (glFinish before and after) and the fragments that passed
// the depth test while it drew, i.e. were shaded and written.
struct Part {
    double seconds = 1e30;    // the fastest of the repeats: the least disturbed by the load
    double cpuSeconds = 1e30; // process CPU time, the rasteriser's threads included
    double samples = 0;
    int draws = 0;
};

struct PartTimer {
    unsigned int query = 0;
    std::map<std::string, Part> parts;
    std::vector<std::string> order;
    std::map<std::string, double> pass, passCpu, passSamples; // this repeat's, per part

    template <typename Draw> void time(const std::string& name, Draw draw) {
        if (std::find(order.begin(), order.end(), name) == order.end())
            order.push_back(name);
        glFinish();
        auto start = std::chrono::steady_clock::now();
        double cpuStart = processCpuSeconds();
        glBeginQuery(GL_SAMPLES_PASSED, query);
        draw();
        glEndQuery(GL_SAMPLES_PASSED);
        glFinish();
        pass[name] += secondsSince(start);
        passCpu[name] += processCpuSeconds() - cpuStart;
        GLuint samples = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
        passSamples[name] += double(samples);
    }
    void endRepeat() {
        for (auto& [name, seconds] : pass)
            parts[name].seconds = std::min(parts[name].seconds, seconds);
        for (auto& [name, seconds] : passCpu)
            parts[name].cpuSeconds = std::min(parts[name].cpuSeconds, seconds);
        for (auto& [name, samples] : passSamples)
            parts[name].samples = samples; // the same in every repeat
        pass.clear();
        passCpu.clear();
        passSamples.clear();
    }
};

// The frame the benchmarks time, drawn part by part: the clear, each model's items (in the
// order the frame draws them), the beam, the glow passes.
void frameBreakdown(bool sceneTwo) {
    enterScene(sceneTwo);
    showFlags.bloomEnabled = true;
    for (int i = 0; i < 2; i++)
        runFrame(); // the rasteriser's shader variants, as in frameBench
    FrameDescription frame;
    describeFrame(frame);
    PartTimer timer;
    glGenQueries(1, &timer.query);
    const int repeats = 5;
    for (int r = 0; r < repeats; r++) {
        timer.time("clear", [&] { beginScene(true, frame.windowWidth, frame.windowHeight); });
        for (const DrawnItem& item : frame.items)
            timer.time(modelOf(item.index), [&] { drawItem(item, frame.projection); });
        if (frame.beam.visible)
            timer.time("beam", [&] { drawBeam(frame.beam.modelView, frame.projection); });
        timer.time("glow",
                   [&] { drawGlowPasses(frame.glow, frame.windowWidth, frame.windowHeight); });
        timer.endRepeat();
    }
    glDeleteQueries(1, &timer.query);
    for (const DrawnItem& item : frame.items)
        timer.parts[modelOf(item.index)].draws++;

    double pixels = double(frame.windowWidth) * frame.windowHeight, total = 0, totalCpu = 0,
           shaded = 0;
    for (const auto& [name, part] : timer.parts) {
        total += part.seconds;
        totalCpu += part.cpuSeconds;
    }
    printf("scene %d at %dx%d, part by part (fastest of %d; cpu: the process's, all threads):\n",
           sceneTwo ? 2 : 1, frame.windowWidth, frame.windowHeight, repeats);
    printf("  %-9s %6s %9s %6s %9s %6s %14s\n", "part", "draws", "ms", "share", "cpu ms", "share",
           "shaded/pixel");
    for (const std::string& name : timer.order) {
        const Part& part = timer.parts[name];
        bool items = name != "clear" && name != "glow";
        if (items)
            shaded += part.samples;
        printf("  %-9s %6d %9.2f %5.0f%% %9.2f %5.0f%% %14.3f\n", name.c_str(), part.draws,
               part.seconds * 1e3, 100 * part.seconds / total, part.cpuSeconds * 1e3,
               100 * part.cpuSeconds / totalCpu, items ? part.samples / pixels : 0.0);
    }
    printf("  %-9s %6zu %9.2f %6s %9.2f        overdraw %.3f shaded fragments per pixel\n", "sum",
           frame.items.size(), total * 1e3, "", totalCpu * 1e3, shaded / pixels);
}

// The overdraw at views spread along a scene's path: the show's frames every `every`
// frames, stepped without drawing, one frame's items counted.
void overdrawAlongPath(bool sceneTwo, int views, int every) {
    // The benchmarks time the view at the path's start: keep it for them.
    CameraPath& path = scenePath(sceneTwo ? kSceneTwoPass : kSceneOnePass);
    const CameraPath pathAtStart = path;
    const PathPlayback playbackAtStart = pathPlayback;
    const TimelineState timelineAtStart = timeline;
    enterScene(sceneTwo);
    showFlags.bloomEnabled = true;
    unsigned int query = 0;
    glGenQueries(1, &query);
    FrameDescription frame;
    double pixels = double(camera.width) * camera.height, sum = 0, most = 0;
    int drawn = 0;
    printf("scene %d overdraw along its path, every %d frames:", sceneTwo ? 2 : 1, every);
    for (int v = 0; v < views; v++) {
        for (int f = 0; f < every; f++) {
            describeFrame(frame); // steps the path and the animation as a frame does
            advancePathParam(1.0f);
        }
        describeFrame(frame);
        beginScene(true, frame.windowWidth, frame.windowHeight);
        glBeginQuery(GL_SAMPLES_PASSED, query);
        for (const DrawnItem& item : frame.items)
            drawItem(item, frame.projection);
        glEndQuery(GL_SAMPLES_PASSED);
        GLuint samples = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
        double overdraw = samples / pixels;
        printf(" %.2f", overdraw);
        sum += overdraw;
        most = std::max(most, overdraw);
        drawn += int(frame.items.size());
    }
    glDeleteQueries(1, &query);
    printf("\n  mean %.3f, most %.3f shaded fragments per pixel; %.1f items drawn per frame\n",
           sum / views, most, double(drawn) / views);
    path = pathAtStart;
    pathPlayback = playbackAtStart;
    timeline = timelineAtStart;
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
    double cpuStart = processCpuSeconds();
    for (auto _ : state) {
        showFlags.bloomEnabled = glow;
        if (!glow)
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        runFrame();
        glFinish();
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    double frame = took.count() / double(state.iterations());
    double frameCpu = (processCpuSeconds() - cpuStart) / double(state.iterations());
    state.counters["items"] = sceneTwo ? sceneTwoItems : sceneOneItems;
    state.counters["floor_ms"] = floorSeconds * 1e3;
    state.counters["x_floor"] = frame / floorSeconds;
    state.counters["cpu_ms"] = frameCpu * 1e3;
    state.counters["cpu_x_floor"] = frameCpu / floorCpuSeconds;
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
    printf("\nfloor (two glow passes, no items): %.2f ms, cpu %.2f ms; items: scene 1 %d, "
           "scene 2 %d\n",
           floorSeconds * 1e3, floorCpuSeconds * 1e3, sceneOneItems, sceneTwoItems);
    if (!getenv("KESTRUNE_BENCH_NO_BREAKDOWN")) {
        frameBreakdown(false);
        frameBreakdown(true);
        overdrawAlongPath(false, 8, 800);
        overdrawAlongPath(true, 8, 450);
        fflush(stdout);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
