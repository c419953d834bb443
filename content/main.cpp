// kestrune-content OUTDIR: writes the demo's models, textures, camera paths and music
// into OUTDIR, plus "content-manifest.txt" describing what the models hold. The parts
// are independent and run on a few threads; each writes only its own files.
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <iterator>
#include <set>
#include <thread>

#include "campath/format.h"
#include "content/files.h"
#include "content/mesh.h"
#include "content/music.h"
#include "content/paths.h"
#include "content/scenes.h"
#include "content/sky.h"
#include "content/textures.h"
#include "content/writer3ds.h"
#include "show/show.h"

namespace {

// Every model the demo loads, by its path in the run folder, in manifest order.
struct ModelSource {
    const char* path;
    Scene (*build)();
};
constexpr ModelSource kModelSources[] = {
    {"models/skybox.3ds", [] { return buildSkybox(false); }},
    {"models/skybox2.3ds", [] { return buildSkybox(true); }},
    {"models/port.3ds", buildPort},
    {"models/ufo.3ds", buildUfo},
    {"models/platform.3ds", buildPlatform},
    {"models/room.3ds", buildRoom},
};

constexpr bool sameText(const char* a, const char* b) {
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}
template <size_t N> constexpr bool listed(const char* const (&paths)[N], const char* path) {
    for (const char* p : paths)
        if (sameText(p, path))
            return true;
    return false;
}
constexpr bool inSceneTwo(const char* path) {
    return listed(show::kSceneTwoModels, path);
}
// The generator writes exactly the models the demo loads.
constexpr bool writesTheDemosModels() {
    for (const ModelSource& m : kModelSources)
        if (!listed(show::kSceneOneModels, m.path) && !inSceneTwo(m.path))
            return false;
    return std::size(kModelSources) ==
           std::size(show::kSceneOneModels) + std::size(show::kSceneTwoModels);
}
static_assert(writesTheDemosModels(), "the generated models differ from those the demo loads");

struct ModelFile {
    const char* path;
    Scene scene;
    // The file name under models/, as the manifest names it.
    const char* file() const { return std::strrchr(path, '/') + 1; }
};

std::string manifestText(const std::vector<ModelFile>& models) {
    std::string out;
    char line[512];
    for (const ModelFile& m : models) {
        std::snprintf(line, sizeof line, "model %s %zu %zu\n", m.file(), m.scene.objects.size(),
                      m.scene.materials.size());
        out += line;
        for (const MeshMaterial& mat : m.scene.materials) {
            std::snprintf(line, sizeof line, "material %s %s\n", mat.name.c_str(),
                          mat.texture.c_str());
            out += line;
        }
        for (const MeshObject& o : m.scene.objects) {
            std::snprintf(line, sizeof line, "object %s %s %zu %zu\n", o.name.c_str(),
                          o.material.c_str(), o.vertices.size(), o.indices.size() / 3);
            out += line;
        }
    }
    return out;
}

bool makeDir(const std::string& path) {
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST)
        return true;
    std::printf("kestrune-content: cannot create %s\n", path.c_str());
    return false;
}

// The camera paths are the one output a user makes too: the demo's recorder writes
// campath.xml, and a recording may be copied to campath2.xml. The generator writes them
// into kGeneratedPaths, which thus keeps what it wrote last, and from there into the run
// folder; a path there that is neither what it wrote last nor what it writes now is
// someone's work, and is moved aside under a name that says so before the new one goes in.
const char* const kPathFiles[] = {kLevelOnePathFile, kLevelTwoPathFile};
const char* const kGeneratedPaths = ".generated";

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bytes.clear();
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    bool read = !std::ferror(f);
    std::fclose(f);
    return read;
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// "campath.xml" recorded at 02:30:07 on 8 December 2026 becomes
// "campath.recorded-20261208-023007.xml", or "...-023007-2.xml" if that is taken.
std::string recordedName(const std::string& dir, const std::string& file) {
    struct stat st;
    char when[32] = "unknown";
    if (stat((dir + "/" + file).c_str(), &st) == 0) {
        std::tm local;
        localtime_r(&st.st_mtime, &local);
        std::strftime(when, sizeof when, "%Y%m%d-%H%M%S", &local);
    }
    std::string stem = file.substr(0, file.rfind('.'));
    std::string name = stem + ".recorded-" + when + ".xml";
    for (int k = 2; exists(dir + "/" + name); k++)
        name = stem + ".recorded-" + when + "-" + std::to_string(k) + ".xml";
    return name;
}

// The generated paths written last, by file, read before this run replaces them.
std::vector<std::vector<uint8_t>> lastGeneratedPaths(const std::string& out) {
    std::vector<std::vector<uint8_t>> last(std::size(kPathFiles));
    for (size_t k = 0; k < last.size(); k++)
        readFile(out + "/" + kGeneratedPaths + "/" + kPathFiles[k], last[k]);
    return last;
}

bool installPaths(const std::string& out, const std::vector<std::vector<uint8_t>>& last) {
    bool ok = true;
    for (size_t k = 0; k < std::size(kPathFiles); k++) {
        const std::string file = kPathFiles[k], target = out + "/" + file;
        std::vector<uint8_t> generated, present;
        if (!readFile(out + "/" + kGeneratedPaths + "/" + file, generated)) {
            std::printf("kestrune-content: cannot read the generated %s\n", file.c_str());
            ok = false;
            continue;
        }
        if (readFile(target, present)) {
            if (present == generated)
                continue;
            if (present != last[k]) {
                std::string aside = recordedName(out, file);
                if (std::rename(target.c_str(), (out + "/" + aside).c_str()) != 0) {
                    std::printf("kestrune-content: %s is not the generated path, and cannot be "
                                "moved aside: left as it is\n",
                                target.c_str());
                    ok = false;
                    continue;
                }
                std::printf("kestrune-content: %s was not the generated path (a recording?): "
                            "kept as %s/%s\n",
                            target.c_str(), out.c_str(), aside.c_str());
            }
        }
        ok = writeFile(target, generated) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: kestrune-content OUTDIR\n");
        return 2;
    }
    std::string out = argv[1];
    if (!makeDir(out) || !makeDir(out + "/models") || !makeDir(out + "/textures") ||
        !makeDir(out + "/" + kGeneratedPaths))
        return 1;
    const std::vector<std::vector<uint8_t>> lastPaths = lastGeneratedPaths(out);
    auto start = std::chrono::steady_clock::now();

    std::vector<ModelFile> models;
    for (const ModelSource& m : kModelSources)
        models.push_back({m.path, m.build()});
    bool ok = true;
    std::set<std::string> textures;
    size_t sceneTwoObjects = 0;
    for (const ModelFile& m : models) {
        ok = validateScene(m.scene, m.file()) && ok;
        ok = writeFile(out + "/" + m.path, encode3ds(m.scene)) && ok;
        for (const MeshMaterial& mat : m.scene.materials)
            if (mat.texture.rfind("sky", 0) != 0)
                textures.insert(mat.texture);
        if (inSceneTwo(m.path))
            sceneTwoObjects += m.scene.objects.size();
    }
    // The scene-2 animation steps once per drawn object: its reach is tuned for this count.
    if (sceneTwoObjects != size_t(show::kSceneTwoObjectCount)) {
        std::printf("kestrune-content: scene 2 has %zu objects, the animation is tuned for %d\n",
                    sceneTwoObjects, show::kSceneTwoObjectCount);
        ok = false;
    }
    std::string manifest = manifestText(models);
    ok = writeFile(out + "/content-manifest.txt",
                   std::vector<uint8_t>(manifest.begin(), manifest.end())) &&
         ok;

    // The slow parts first, so the threads finish together.
    struct Job {
        std::string name;
        std::function<bool()> run;
    };
    std::vector<Job> jobs = {
        {"bgmusic.mp3", [&] { return writeMusic(out, false); }},
        {"lvl2.mp3", [&] { return writeMusic(out, true); }},
        {"sky1", [&] { return writeSkyTextures(out, false); }},
        {"sky2", [&] { return writeSkyTextures(out, true); }},
        {"camera paths", [&] { return writeCameraPaths(out + "/" + kGeneratedPaths); }},
        {"base and glow", [&] { return writeFixedTextures(out); }},
    };
    for (const std::string& t : textures)
        jobs.push_back({t, [&out, t] { return writeMaterialTexture(out, t); }});

    std::atomic<size_t> nextJob{0};
    std::atomic<bool> allOk{true};
    unsigned threads = std::max(2u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned k = 0; k < threads; ++k)
        pool.emplace_back([&] {
            for (size_t j = nextJob++; j < jobs.size(); j = nextJob++) {
                auto begin = std::chrono::steady_clock::now();
                if (!jobs[j].run())
                    allOk = false;
                double took =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
                if (took > 1.0) // the slow parts, for the bench notes
                    std::printf("kestrune-content: %s took %.1f s\n", jobs[j].name.c_str(), took);
            }
        });
    for (std::thread& t : pool)
        t.join();
    ok = ok && allOk && installPaths(out, lastPaths);

    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("kestrune-content: %s in %.1f s (%zu textures, %zu models)\n",
                ok ? "done" : "FAILED", seconds, textures.size(), models.size());
    return ok ? 0 : 1;
}
