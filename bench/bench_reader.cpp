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

// Peak memory growth of reading and preparing the file, measured in a child process so the
// other benchmarks' allocations do not count.
static void BM_PeakMemoryReadAndPrepare(benchmark::State& state) {
    std::string path = bigFilePath();
    for (auto _ : state) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            state.SkipWithError("no pipe");
        pid_t child = fork();
        if (child == 0) {
            freopen("/dev/null", "w", stdout); // preparation's messages
            rusage before, after;
            getrusage(RUSAGE_SELF, &before);
            Model model;
            readModelFile(model, path.c_str());
            prepareObjects(model);
            getrusage(RUSAGE_SELF, &after);
            long grown = after.ru_maxrss - before.ru_maxrss;
            if (write(pipeEnds[1], &grown, sizeof grown) != sizeof grown)
                _exit(1);
            _exit(0);
        }
        long grownKb = 0;
        if (read(pipeEnds[0], &grownKb, sizeof grownKb) != sizeof grownKb)
            state.SkipWithError("child failed");
        waitpid(child, nullptr, 0);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        state.counters["peak_MB"] = double(grownKb) / 1000.0;
        state.counters["file_MB"] = fileMegabytes(path);
        state.counters["peak_per_file_byte"] =
            double(grownKb) * 1000.0 / (fileMegabytes(path) * 1e6);
    }
}
BENCHMARK(BM_PeakMemoryReadAndPrepare)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
