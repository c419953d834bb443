// Reader throughput on a large file against lib3ds and assimp reading the same file, and
// the peak memory of reading and preparing it.
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "bench/bigfile.h"
#include "model/model.h"
#include "model/reader3ds.h"

static void BM_KestruneRead(benchmark::State& state) {
    std::string path = bigFilePath();
    for (auto _ : state) {
        Model model;
        if (!readModelFile(model, path.c_str()))
            state.SkipWithError(model.error.c_str());
        benchmark::DoNotOptimize(model.objects.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations() * fileMegabytes(path) * 1e6));
}
BENCHMARK(BM_KestruneRead)->Unit(benchmark::kMillisecond)->MinTime(2);

static void BM_Lib3dsRead(benchmark::State& state) {
    std::string path = bigFilePath();
    for (auto _ : state) {
        Lib3dsFile* file = lib3ds_file_load(path.c_str());
        if (!file)
            state.SkipWithError("lib3ds could not read the file");
        benchmark::DoNotOptimize(file);
        lib3ds_file_free(file);
    }
    state.SetBytesProcessed(int64_t(state.iterations() * fileMegabytes(path) * 1e6));
}
BENCHMARK(BM_Lib3dsRead)->Unit(benchmark::kMillisecond)->MinTime(2);

static void BM_AssimpRead(benchmark::State& state) {
    std::string path = bigFilePath();
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, 0);
        if (!scene)
            state.SkipWithError("assimp could not read the file");
        benchmark::DoNotOptimize(scene);
    }
    state.SetBytesProcessed(int64_t(state.iterations() * fileMegabytes(path) * 1e6));
}
BENCHMARK(BM_AssimpRead)->Unit(benchmark::kMillisecond)->MinTime(2);

// Peak memory of reading and preparing the file, measured in a fresh process (this
// program run again with --peak-child) so the other benchmarks' allocations do not count;
// a run that does nothing but start gives the baseline. The child reports the peak of its
// own address space (VmHWM): the rusage of a child carries the parent's peak over the exec
// (also with posix_spawn, whose child borrows the parent's pages until it execs).
static long ownPeakKb() {
    FILE* status = fopen("/proc/self/status", "r");
    long kb = -1;
    char line[256];
    while (status && fgets(line, sizeof line, status))
        if (sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            break;
    if (status)
        fclose(status);
    return kb;
}

static long childPeakKb(const std::string& path, bool work) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1); // the copy survives the exec
    std::string mode = work ? "1" : "0";
    char* argv[] = {const_cast<char*>("bench_reader"), const_cast<char*>("--peak-child"),
                    const_cast<char*>(path.c_str()), const_cast<char*>(mode.c_str()), nullptr};
    pid_t child = 0;
    int spawned = posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char text[64] = {};
    size_t used = 0;
    for (ssize_t n; spawned == 0 && used < sizeof text - 1 &&
                    (n = read(out[0], text + used, sizeof text - 1 - used)) > 0;)
        used += size_t(n);
    close(out[0]);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    long kb = -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || sscanf(text, "%ld", &kb) != 1)
        return -1;
    return kb;
}

static void BM_PeakMemoryReadAndPrepare(benchmark::State& state) {
    std::string path = bigFilePath();
    for (auto _ : state) {
        long baseline = childPeakKb(path, false), peak = childPeakKb(path, true);
        if (baseline < 0 || peak < 0)
            state.SkipWithError("the measuring process failed");
        double grownMb = double(peak - baseline) / 1000.0;
        state.counters["file_MB"] = fileMegabytes(path);
        state.counters["peak_MB"] = grownMb;
        state.counters["peak_per_file_MB"] = grownMb / fileMegabytes(path);
    }
}
BENCHMARK(BM_PeakMemoryReadAndPrepare)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--peak-child") {
        // The figure goes to the parent on the original stdout; preparation's messages
        // go nowhere.
        FILE* report = fdopen(dup(1), "w");
        if (!report || !freopen("/dev/null", "w", stdout))
            return 1;
        if (argv[3][0] == '1') {
            Model model;
            if (!readModelFile(model, argv[2]))
                return 1;
            prepareObjects(model);
        }
        fprintf(report, "%ld\n", ownPeakKb());
        return fclose(report) == 0 ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
