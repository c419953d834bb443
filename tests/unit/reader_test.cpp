// The 3DS reader: chunk trees built here byte by byte, files written by lib3ds and by
// modelling tools compared with lib3ds's reading, every cut of those, and kestrune-inspect.
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <sys/stat.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "files.h"
#include "model/model.h"
#include "model/reader3ds.h"

namespace {

// Per object: the material index and whether it has a texture.
std::vector<std::pair<int, int>> materialsOf(const Model& m) {
    std::vector<std::pair<int, int>> out;
    for (const ModelObject& o : m.objects)
        out.push_back({o.materialIndex, o.hasTexture});
    return out;
}

// Reads damaged bytes; returns "" for a sound model, else the reason of a clean failure,
// or a text starting "UNSOUND" for anything else.
std::string readDamaged(const Bytes& bytes, Model& m) {
    if (readModelData(m, bytes.data(), bytes.size(), "bad.3ds")) {
        for (ModelObject& o : m.objects) {
            for (const ModelFace& f : o.faces)
                if (std::max({f.a, f.b, f.c}) >= o.vertexCount || std::min({f.a, f.b, f.c}) < 0)
                    return "UNSOUND face index";
            computeNormals(o);
            for (const Vec3& n : o.normals)
                if (!std::isfinite(n.x + n.y + n.z))
                    return "UNSOUND normal";
        }
        return "";
    }
    if (!m.objects.empty() || !m.materials.empty() || m.objectCount || m.materialCount)
        return "UNSOUND: a failed read kept data";
    if (m.error == "Unable to load PRIMARY chuck from file: bad.3ds!")
        return "not a 3DS file";
    const std::string head = "Corrupt 3DS file: bad.3ds! (";
    return m.error.rfind(head, 0) == 0
               ? m.error.substr(head.size(), m.error.size() - head.size() - 1)
               : "UNSOUND message " + m.error;
}

// The folder of real .3ds files from modelling tools, or "" when it is not there.
std::string realFolder() {
    const char* dir = getenv("KESTRUNE_SHARED_3DS");
    return dir && access((std::string(dir) + "/README.md").c_str(), R_OK) == 0 ? dir : "";
}

} // namespace

TEST(Reader, MaterialGroupsMatchMaterialsReadSoFar) {
    Bytes data = file({
        material("first", "a.png"),
        material("second"),
        object("named second", {triangle, oneFace({group("second")})}),
        object("unknown", {triangle, oneFace({group("nothing")})}),
        object("two groups", {triangle, oneFace({group("first")}), group("second")}),
        object("textured", {triangle, oneFace({group("first")})}),
        object("later", {triangle, oneFace({group("third")})}),
        material("third", "c.png"),
    });
    Model m;
    ASSERT_EQ(readDamaged(data, m), "");
    ASSERT_EQ(m.materialCount, 3);
    // The last group decides; a later material is not found.
    EXPECT_EQ(materialsOf(m),
              (std::vector<std::pair<int, int>>{{1, 0}, {-1, 0}, {1, 0}, {0, 1}, {-1, 0}}));
    EXPECT_STREQ(m.materials[2].fileName, "c.png");
}

// The editor's first sub-chunk is skipped whatever it is; without materials a group
// changes nothing.
TEST(Reader, VersionOverThreeWarnsAndReadingGoesOn) {
    Bytes data = chunk(0x4D4D, {chunk(0x0002, {{4, 0, 0, 0}}),
                                chunk(0x3D3D, {chunk(0x4000, {str("hidden")}),
                                               object("obj", {triangle, oneFace({group("x")})})})});
    for (uint8_t version : {4, 3}) {
        data[12] = version;
        Model m;
        testing::internal::CaptureStdout();
        std::string fault = readDamaged(data, m);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  version > 3 ? "This 3DS file is over version 3 so it may load incorrectly\n"
                              : "");
        ASSERT_EQ(fault, "");
        ASSERT_EQ(m.objectCount, 1);
        EXPECT_STREQ(m.objects[0].name, "obj");
        EXPECT_EQ(materialsOf(m), (std::vector<std::pair<int, int>>{{0, 0}}));
    }
}

// Names over 254 bytes are cut but consumed whole, a vertex list longer than its count is
// skipped to its end, a colour keeps its first three bytes, only map 1 names the texture;
// counts use all 16 bits.
TEST(Reader, OverlongDataIsCutAndConsumed) {
    std::string longName(400, 'n');
    Bytes floats;
    for (int i = 0; i < 3; i++)
        put(floats, 0.5f);
    auto full = [](size_t size) { // 65535 zero vertices, faces (0, 0, 0) or (u, v) pairs
        Bytes b(2 + 65535 * size, 0);
        b[0] = b[1] = 0xFF;
        return b;
    };
    Bytes data = file(
        {material(longName, longName),
         chunk(0xAFFF, {chunk(0xA020, {chunk(0x0011, {{10, 20, 30}}), chunk(0x0012, {{4, 5, 6}})}),
                        chunk(0xA210, {chunk(0xA300, {str("spec.png")})})}),
         chunk(0xAFFF, {chunk(0xA020, {chunk(0x0010, {floats})})}),
         object(longName, {vertices({{0, 0, 0}}, 13), chunk(0x4160, {floats}), group(longName)}),
         chunk(0x4000, {str("light"), chunk(0x4600, {floats})}), object("next", {triangle}),
         object("full",
                {chunk(0x4110, {full(12)}), chunk(0x4120, {full(8)}), chunk(0x4140, {full(8)})})});
    Model m;
    ASSERT_EQ(readDamaged(data, m), "");
    ASSERT_EQ(m.materialCount, 3);
    EXPECT_EQ(m.materials[0].name + std::string("|") + m.materials[0].fileName,
              longName.substr(0, 254) + "|" + longName.substr(0, 254));
    EXPECT_EQ(Bytes(m.materials[1].color, m.materials[1].color + 3), Bytes({10, 20, 30}));
    EXPECT_STREQ(m.materials[1].fileName, "");
    EXPECT_EQ(Bytes(m.materials[2].color, m.materials[2].color + 3), Bytes(&floats[0], &floats[3]));
    ASSERT_EQ(m.objectCount, 4);
    EXPECT_EQ(m.objects[0].name + std::string("|") + m.objects[2].name,
              longName.substr(0, 254) + "|next");
    // One vertex and the textured material its cut group name matches, a light without
    // vertices, then the next object's three.
    EXPECT_EQ(std::vector<int>({m.objects[0].vertexCount, m.objects[0].hasTexture,
                                m.objects[1].vertexCount + m.objects[1].faceCount,
                                m.objects[2].vertexCount}),
              std::vector<int>({1, 1, 0, 3}));
    EXPECT_EQ(std::vector<int>(
                  {m.objects[3].vertexCount, m.objects[3].faceCount, m.objects[3].texCoordCount}),
              std::vector<int>(3, 65535));
}

// Each case is bad in one way: a clean failure that keeps nothing.
TEST(Reader, BadFilesAreRejectedAndNothingIsKept) {
    Model m;
    EXPECT_FALSE(readModelFile(m, "/nonexistent/folder/x.3ds"));
    EXPECT_EQ(m.error, "Unable to find the file: /nonexistent/folder/x.3ds!");
    Bytes tooShort = file({}), nested = triangle;
    tooShort[2] = 3; // main length below its header
    for (int i = 0; i < 100; i++)
        nested = chunk(0x4100, {nested});
    std::pair<Bytes, std::string> cases[] = {
        {{}, "not a 3DS file"},
        {chunk(0x3D3D, {}), "not a 3DS file"},
        {tooShort, "chunk length smaller than its header"},
        {file({object("o", {triangle, faces({{0, 1, 3, 0}})})}),
         "face index beyond the vertex list"},
        {file({object("o", {oneFace(), vertices({{0, 0, 0}})})}),
         "face index beyond the vertex list"},
        {file({object("o", {{0x10, 0x41, 16, 0, 0, 0}}), material("m")}),
         "chunk longer than its parent"},
        {file({chunk(0x4000, {str("o"), nested})}), "chunks nested too deeply"},
    };
    for (auto& [bytes, reason] : cases)
        EXPECT_EQ(readDamaged(bytes, m), reason);

    // Only a regular file is read: a directory, a FIFO without a writer (which would
    // block, then never end) and a device are refused at once.
    TempFolder temp;
    std::string folder = temp.path, fifo = temp.file("fifo.3ds");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::pair<std::string, const char*> others[] = {
        {folder, "a directory"}, {fifo, "a FIFO"}, {"/dev/zero", "a device"}};
    for (auto& [path, kind] : others) {
        EXPECT_FALSE(readModelFile(m, path.c_str())) << path;
        EXPECT_EQ(m.error, "Unable to read the file: " + path + "! (" + kind + ")");
        EXPECT_TRUE(m.objects.empty() && m.materials.empty());
    }
}

namespace {

// Reads the file with lib3ds, an independent reader, and with ours: the same meshes
// (counts, positions turned y-up, faces, texture coordinates, materials) and maps.
void expectAsLib3dsReadsIt(const std::string& path) {
    std::unique_ptr<Lib3dsFile, void (*)(Lib3dsFile*)> theirs(lib3ds_file_load(path.c_str()),
                                                              lib3ds_file_free);
    ASSERT_NE(theirs, nullptr);
    Model m;
    ASSERT_TRUE(readModelFile(m, path.c_str())) << m.error;
    std::map<std::string, std::string> maps, ourMaps;
    for (Lib3dsMaterial* mat = theirs->materials; mat; mat = mat->next)
        maps[mat->name] = mat->texture1_map.name;
    for (const ModelMaterial& mat : m.materials)
        ourMaps[mat.name] = mat.fileName;
    EXPECT_EQ(ourMaps, maps);
    EXPECT_EQ(m.materialCount, int(m.materials.size()));
    EXPECT_EQ(m.objectCount, int(m.objects.size()));
    for (Lib3dsMesh* mesh = theirs->meshes; mesh; mesh = mesh->next) {
        SCOPED_TRACE(mesh->name);
        auto o = std::find_if(m.objects.begin(), m.objects.end(), [&](const ModelObject& o) {
            return mesh->name == std::string(o.name);
        });
        ASSERT_NE(o, m.objects.end());
        ASSERT_EQ(std::vector<int>({o->vertexCount, o->faceCount, o->texCoordCount}),
                  std::vector<int>({int(mesh->points), int(mesh->faces), int(mesh->texels)}));
        for (size_t i = 0; i < mesh->points; i++) {
            const float* p = mesh->pointL[i].pos;
            const Vec3& v = o->vertices[i];
            ASSERT_EQ(std::vector<float>({v.x, v.y, v.z}), std::vector<float>({p[0], p[2], -p[1]}));
        }
        for (size_t i = 0; i < mesh->faces; i++) {
            const Lib3dsWord* p = mesh->faceL[i].points;
            ASSERT_EQ(std::vector<int>({o->faces[i].a, o->faces[i].b, o->faces[i].c}),
                      std::vector<int>(p, p + 3));
        }
        for (size_t i = 0; i < mesh->texels; i++)
            ASSERT_EQ(std::vector<float>({o->texCoords[i].u, o->texCoords[i].v}),
                      std::vector<float>(mesh->texelL[i], mesh->texelL[i] + 2));
        // One material per object: the last group's, which here names every face's.
        std::string material = mesh->faces ? mesh->faceL[mesh->faces - 1].material : "";
        if (!material.empty() && o->materialIndex >= 0) {
            EXPECT_EQ(m.materials[size_t(o->materialIndex)].name, material);
            EXPECT_EQ(o->hasTexture, !maps[material].empty());
        }
    }
}

} // namespace

// The generated models read as lib3ds reads them, and as the generator's manifest says:
// "model FILE OBJECTS MATERIALS", "material NAME TEXTURE", "object NAME MATERIAL VERTICES
// FACES", with a texture coordinate per vertex.
TEST(GeneratedModels, ReadAsLib3dsReadsThemAndAsTheGeneratorMeant) {
    std::string run = envFolder("KESTRUNE_RUN_DIR");
    std::ifstream manifest(run + "/content-manifest.txt");
    if (!manifest)
        GTEST_SKIP() << "no content-manifest.txt in " << run << " (build the content target)";
    std::map<std::string, std::string> expected, found; // "FILE [KIND NAME]": its facts
    std::string line, file, kind, name, a, b, c;
    int models = 0;
    while (std::getline(manifest, line)) {
        std::istringstream(line) >> kind >> name >> a >> b >> c;
        if (kind == "model")
            file = name, expected[file] = a + " " + b, models++;
        else
            expected[file + " " + kind + " " + name] =
                kind == "material" ? a : a + " " + b + " " + b + " " + c;
    }
    for (const auto& [key, facts] : expected) {
        if (key.find(' ') != std::string::npos)
            continue;
        SCOPED_TRACE(key);
        std::string path = run + "/models/" + key;
        expectAsLib3dsReadsIt(path);
        Model m;
        ASSERT_TRUE(readModelFile(m, path.c_str())) << m.error;
        found[key] = std::to_string(m.objectCount) + " " + std::to_string(m.materialCount);
        for (const ModelMaterial& mat : m.materials)
            found[key + " material " + mat.name] = mat.fileName;
        for (const ModelObject& o : m.objects)
            found[key + " object " + o.name] =
                std::string(o.materialIndex >= 0 ? m.materials[size_t(o.materialIndex)].name
                                                 : "?") +
                " " + std::to_string(o.vertexCount) + " " + std::to_string(o.texCoordCount) + " " +
                std::to_string(o.faceCount);
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(models, 6);
}

namespace {

// A chunk whose header the reader reads: where it starts and ends.
struct Span {
    size_t start, end;
};

// Every chunk header the reader meets, found the way it descends: into the chunks it
// knows to hold others, after an object's name and after a face list's faces.
void findSpans(const Bytes& b, size_t from, size_t to, std::vector<Span>& out) {
    static const std::set<int> parents = {0x4D4D, 0x3D3D, 0x4000, 0x4100,
                                          0x4120, 0xAFFF, 0xA200, 0xA020};
    while (from + 6 <= to) {
        uint32_t length;
        memcpy(&length, &b[from + 2], 4);
        int id = b[from] | b[from + 1] << 8;
        size_t end = from + length, child = from + 6;
        if (length < 6 || end > to)
            return;
        out.push_back({from, end});
        if (id == 0x4000)
            child += strnlen(reinterpret_cast<const char*>(&b[child]), end - child) + 1;
        if (id == 0x4120 && child + 2 <= end)
            child += 2 + 8 * size_t(b[child] | b[child + 1] << 8);
        if (parents.count(id) && child <= end)
            findSpans(b, child, end, out);
        from = end;
    }
}

// The first n bytes, with every chunk of `patched` that the cut crosses ending at the cut,
// so the cut reaches the checks inside that chunk. An exact heap copy: ASan sees overreads.
Bytes cutAt(const Bytes& b, size_t n, const std::vector<Span>& patched) {
    Bytes out(b.begin(), b.begin() + long(n));
    for (const Span& s : patched) {
        uint32_t length = uint32_t(n - s.start);
        if (s.start + 6 <= n && n < s.end)
            memcpy(&out[s.start + 2], &length, 4);
    }
    return out;
}

class RealFiles : public testing::Test {
  protected:
    void SetUp() override {
        if (realFolder().empty())
            GTEST_SKIP() << "KESTRUNE_SHARED_3DS does not name the folder of real .3ds files";
        for (const auto& entry : std::filesystem::directory_iterator(realFolder()))
            if (strcasecmp(entry.path().extension().c_str(), ".3ds") == 0 && entry.file_size())
                files[entry.path().filename()] =
                    Bytes{std::istreambuf_iterator<char>(
                              std::ifstream(entry.path(), std::ios::binary).rdbuf()),
                          {}};
        modelWarningStream = fopen("/dev/null", "w"); // cut versions warn a lot
    }
    void TearDown() override {
        if (modelWarningStream)
            fclose(std::exchange(modelWarningStream, nullptr));
    }
    std::map<std::string, Bytes> files;
};

} // namespace

TEST_F(RealFiles, ReadAsLib3dsReadsThem) {
    for (const auto& entry : files) {
        SCOPED_TRACE(entry.first);
        expectAsLib3dsReadsIt(realFolder() + "/" + entry.first);
    }
}

// Every cut three ways: as it is (the main chunk's length gives it away), with the main
// chunk ending at the cut, and with every chunk it crosses ending there, which reaches
// the checks of counts, names and headers inside.
TEST_F(RealFiles, EveryCutFailsCleanlyOrReadsAPrefix) {
    std::map<std::string, int> reasons;
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        Model whole;
        ASSERT_EQ(readDamaged(bytes, whole), "");
        std::vector<Span> spans;
        findSpans(bytes, 0, bytes.size(), spans);
        std::set<size_t> mainChildEdges, edges;
        for (const Span& s : spans) {
            edges.insert({s.start, s.end});
            if (s.start == 6 || mainChildEdges.count(s.start))
                mainChildEdges.insert({s.start, s.end});
        }
        for (size_t n = 0; n < bytes.size(); n++) {
            Model m;
            std::string plain = readDamaged(cutAt(bytes, n, {}), m);
            std::string mainCut = readDamaged(cutAt(bytes, n, {spans[0]}), m);
            std::string everyCut = readDamaged(cutAt(bytes, n, spans), m);
            ASSERT_NE(plain, "") << "cut at " << n;
            ASSERT_EQ(mainCut == "", n >= 6 && mainChildEdges.count(n)) << mainCut << " at " << n;
            if (n >= 6 && edges.count(n)) {
                ASSERT_EQ(everyCut, "") << "cut at " << n;
            }
            for (const std::string& r : {plain, mainCut, everyCut}) {
                ASSERT_EQ(r.rfind("UNSOUND", 0), std::string::npos) << r << " at " << n;
                reasons[r]++;
            }
            // What a sound cut holds is what the whole file holds up to there.
            for (size_t i = 0; everyCut == "" && i < m.objects.size(); i++) {
                const ModelObject &o = m.objects[i], &w = whole.objects.at(i);
                ASSERT_STREQ(o.name, w.name) << n;
                bool last = i + 1 == m.objects.size();
                ASSERT_TRUE(last ? o.vertexCount <= w.vertexCount && o.faceCount <= w.faceCount
                                 : o.vertexCount == w.vertexCount && o.faceCount == w.faceCount)
                    << o.name << " cut at " << n;
            }
        }
    }
    for (const char* inner :
         {"file cut short", "chunk header cut short", "vertex list without its count",
          "vertex count larger than its chunk", "face list without its count",
          "face count larger than its chunk", "texture coordinate list without its count",
          "texture coordinate count larger than its chunk", "string without its end",
          "version chunk cut short"})
        EXPECT_GT(reasons[inner], 0) << inner;
}

// kestrune-inspect: JSON for a good file (names escaped), the reader's message and status 1
// for a bad one.
TEST(Inspect, PrintsObjectsAndMaterialsAsJson) {
    std::string tool = envFolder("KESTRUNE_BIN_DIR") + "/kestrune-inspect";
    if (access(tool.c_str(), X_OK) != 0)
        GTEST_SKIP() << tool << " is not built";
    Bytes bytes = file({object("say \"hi\"\\\t", {triangle})});
    TempFolder temp;
    std::string path = temp.file("x.3ds");
    std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), long(bytes.size()));

    int status = -1;
    const std::string command = tool + " '" + path + "' 2>/dev/null";
    EXPECT_EQ(commandOutput(command, &status),
              "{\"objects\": [\n  {\"name\": \"say \\\"hi\\\"\\\\\\t\", \"vertexCount\": 3, "
              "\"faceCount\": 0, \"texCoordCount\": 0, \"materialIndex\": 0, "
              "\"hasTexture\": false}\n], \"materials\": []}\n");
    EXPECT_EQ(status, 0);
    ASSERT_EQ(truncate(path.c_str(), 20), 0);
    EXPECT_EQ(commandOutput(command, &status),
              "Corrupt 3DS file: " + path + "! (file cut short)\n");
    EXPECT_EQ(status, 1);
}
