// Reader throughput on a large file against lib3ds and assimp reading the same file, and
// the peak memory of reading and preparing it.
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
// a run that does nothing but start gives the baseline.
static long childPeakKb(const std::string& path, bool work) {
    pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", "bench_reader", "--peak-child", path.c_str(), work ? "1" : "0",
              (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage;
    wait4(child, &status, 0, &usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
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
        if (argv[3][0] == '1') {
            if (!freopen("/dev/null", "w", stdout)) // preparation's messages
                return 1;
            Model model;
            if (!readModelFile(model, argv[2]))
                return 1;
            prepareObjects(model);
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
