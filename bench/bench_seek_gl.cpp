// Author mode's seek latency: from pressing a seek key to the frame on screen, at 1280 x 720
// in a hidden window, to 10 s, 100 s and 170 s of the show, forward from its start and back
// from its end; with the states author mode keeps every 5 s of the show it has run, and
// forward without any (the first time a stretch of the show is reached). Runs on the
// content of a run folder: KESTRUNE_RUN_DIR, else the demo/ folder of this build.
#include <GL/glew.h>
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/startup.h"
#include "camera/camera.h"
#include "platform/platform.h"
#include "render/render.h"
#include "show/author.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/timer.h"
#include "bench/gl_start.h"

namespace {

// Start-up as author mode does it, without sound: the fixed step, the overlay on.
bool startUp() {
    setFixedStep(60);
    showFlags.authorMode = true;
    if (!startBenchShow("bench_seek_gl"))
        return false;
    learnShowLength();
    fflush(stdout);
    return true;
}

// What a seek key does: the show's state before the frame, the frame drawn and shown.
void seekTo(int64_t frame) {
    prepareFrame(frame);
    showFrame();
    endFrame();
    keepCheckpoint();
    glFinish();
}

enum Way { forwardFresh, forwardKept, backKept };

void BM_Seek(benchmark::State& state) {
    const int64_t target = state.range(0) * 60;
    const Way way = Way(state.range(1));
    for (auto _ : state) {
        // Where the seek starts from, untimed.
        if (way == forwardFresh)
            forgetCheckpoints();
        seekTo(way == backKept ? authorTime.lastFrame : 1);
        auto begun = std::chrono::steady_clock::now();
        seekTo(target);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count());
    }
    // Every state kept again for the next case.
    seekTo(authorTime.lastFrame);
}

void seekArgs(benchmark::internal::Benchmark* b) {
    for (int way : {forwardFresh, forwardKept, backKept})
        for (int seconds : {10, 100, 170})
            b->Args({seconds, way});
    b->ArgNames({"seconds", "way"});
}
BENCHMARK(BM_Seek)->Apply(seekArgs)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (!startUp())
        return 1;
    seekTo(authorTime.lastFrame); // every state kept once
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printf("way: 0 forward from the start with no kept states, 1 forward from the start, 2 back "
           "from the last frame (%lld)\n",
           (long long)authorTime.lastFrame);
    return 0;
}
