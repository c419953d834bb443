// Preparation (vertex normals and tangents) of the large file's 524,280 triangles against
// assimp's smooth-normal and tangent-space steps on the same file in the same run.
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "bench/bigfile.h"
#include "model/model.h"
#include "model/reader3ds.h"

// Times prepareObjects on the model; its messages go to /dev/null while it runs, so the
// report keeps stdout.
static void timePreparation(benchmark::State& state, Model& model) {
    fflush(stdout);
    int savedStdout = dup(1), devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    for (auto _ : state) {
        prepareObjects(model);
        state.PauseTiming();
        resetRenderList();
        state.ResumeTiming();
    }
    fflush(stdout);
    dup2(savedStdout, 1);
    close(savedStdout);
    close(devNull);
}

static void BM_KestrunePrepare(benchmark::State& state) {
    Model model;
    readModelFile(model, bigFilePath().c_str());
    int64_t triangles = 0;
    for (const ModelObject& o : model.objects)
        triangles += o.faceCount;
    timePreparation(state, model);
    state.counters["triangles"] = double(triangles);
    state.counters["s_per_Mtri"] =
        benchmark::Counter(double(state.iterations()) * 1e6 / double(triangles),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KestrunePrepare)->Unit(benchmark::kMillisecond)->MinTime(2);

// One object at the format's limits: 65,535 vertices and twice as many faces.
static void BM_KestrunePrepareLargestObject(benchmark::State& state) {
    Model model;
    model.objects.emplace_back();
    model.objectCount = 1;
    ModelObject& o = model.objects.back();
    uint32_t seed = 1;
    auto next = [&seed]() { return seed = seed * 1664525u + 1013904223u; };
    o.vertexCount = 65535;
    for (int i = 0; i < o.vertexCount; i++) {
        o.vertices.push_back({float(next() % 1000), float(next() % 1000), float(next() % 1000)});
        o.texCoords.push_back({float(next() % 100) / 100.0f, float(next() % 100) / 100.0f});
    }
    o.texCoordCount = o.vertexCount;
    o.faceCount = 131070;
    for (int f = 0; f < o.faceCount; f++)
        o.faces.push_back(
            {int32_t(next() % 65535), int32_t(next() % 65535), int32_t(next() % 65535)});
    timePreparation(state, model);
}
BENCHMARK(BM_KestrunePrepareLargestObject)->Unit(benchmark::kMillisecond)->MinTime(1);

static void BM_AssimpNormalsAndTangents(benchmark::State& state) {
    std::string path = bigFilePath();
    int64_t triangles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Assimp::Importer importer;
        aiScene* scene = const_cast<aiScene*>(importer.ReadFile(path, 0));
        if (!scene) {
            state.SkipWithError("assimp could not read the file");
            break;
        }
        triangles = 0;
        for (unsigned i = 0; i < scene->mNumMeshes; i++) {
            aiMesh* mesh = scene->mMeshes[i];
            delete[] mesh->mNormals; // the importer's own normals: make assimp compute them
            mesh->mNormals = nullptr;
            triangles += mesh->mNumFaces;
        }
        state.ResumeTiming();
        importer.ApplyPostProcessing(aiProcess_GenSmoothNormals | aiProcess_CalcTangentSpace);
    }
    state.counters["triangles"] = double(triangles);
    state.counters["s_per_Mtri"] =
        benchmark::Counter(double(state.iterations()) * 1e6 / double(triangles),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AssimpNormalsAndTangents)->Unit(benchmark::kMillisecond)->MinTime(2);

BENCHMARK_MAIN();
