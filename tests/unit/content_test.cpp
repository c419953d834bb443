// The generated models and textures, checked with independent readers (lib3ds, assimp,
// DevIL) against the manifest the generator writes beside them.
#include <IL/il.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ObjectIntent {
    std::string name, material;
    size_t vertices = 0, faces = 0;
};
struct ModelIntent {
    std::string file;
    size_t objectCount = 0, materialCount = 0;
    std::map<std::string, std::string> textures; // material name -> texture file
    std::vector<ObjectIntent> objects;
};

std::string runDir() {
    const char* dir = std::getenv("KESTRUNE_RUN_DIR");
    return dir ? dir : "";
}

std::vector<ModelIntent> readManifest(const std::string& path) {
    std::vector<ModelIntent> models;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "model") {
            models.emplace_back();
            words >> models.back().file >> models.back().objectCount >> models.back().materialCount;
        } else if (kind == "material" && !models.empty()) {
            std::string name, texture;
            words >> name >> texture;
            models.back().textures[name] = texture;
        } else if (kind == "object" && !models.empty()) {
            ObjectIntent o;
            words >> o.name >> o.material >> o.vertices >> o.faces;
            models.back().objects.push_back(o);
        }
    }
    return models;
}

class Content : public ::testing::Test {
  protected:
    void SetUp() override {
        if (runDir().empty())
            GTEST_SKIP() << "KESTRUNE_RUN_DIR is not set; run through ctest";
        models = readManifest(runDir() + "/content-manifest.txt");
        ASSERT_EQ(models.size(), 6u) << "content-manifest.txt missing or incomplete in " << runDir()
                                     << " (build the content target)";
    }
    const ModelIntent& model(const std::string& file) {
        for (const ModelIntent& m : models)
            if (m.file == file)
                return m;
        ADD_FAILURE() << "no model " << file;
        return models.front();
    }
    std::vector<ModelIntent> models;
};

struct Vec {
    double x, y, z;
};
Vec sub(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The demo's view of a mesh: file (x, y, z) becomes world (x, z, -y), and a face's
// contribution to its vertex normals points along -((p0 - p2) x (p2 - p1)).
Vec world(const Lib3dsPoint& p) {
    return {p.pos[0], p.pos[2], -p.pos[1]};
}
Vec readerFaceNormal(const Lib3dsMesh* m, const Lib3dsFace& f) {
    Vec p0 = world(m->pointL[f.points[0]]), p1 = world(m->pointL[f.points[1]]),
        p2 = world(m->pointL[f.points[2]]);
    Vec n = cross(sub(p0, p2), sub(p2, p1));
    return {-n.x, -n.y, -n.z};
}

const Lib3dsMesh* findMesh(Lib3dsFile* f, const char* name) {
    for (Lib3dsMesh* m = f->meshes; m; m = m->next)
        if (std::string(m->name) == name)
            return m;
    return nullptr;
}

TEST_F(Content, Lib3dsReadsWhatTheGeneratorMeant) {
    for (const ModelIntent& intent : models) {
        SCOPED_TRACE(intent.file);
        Lib3dsFile* f = lib3ds_file_load((runDir() + "/models/" + intent.file).c_str());
        ASSERT_NE(f, nullptr);
        size_t meshCount = 0;
        for (Lib3dsMesh* m = f->meshes; m; m = m->next)
            ++meshCount;
        EXPECT_EQ(meshCount, intent.objectCount);
        EXPECT_EQ(intent.objects.size(), intent.objectCount);
        for (const ObjectIntent& o : intent.objects) {
            const Lib3dsMesh* m = findMesh(f, o.name.c_str());
            ASSERT_NE(m, nullptr) << o.name;
            EXPECT_EQ(m->points, o.vertices) << o.name;
            EXPECT_EQ(m->texels, o.vertices) << o.name;
            EXPECT_EQ(m->faces, o.faces) << o.name;
            EXPECT_LE(m->points, 65535u);
            for (Lib3dsDword k = 0; k < m->faces; ++k)
                ASSERT_EQ(std::string(m->faceL[k].material), o.material) << o.name;
        }
        std::map<std::string, std::string> textures;
        for (Lib3dsMaterial* mat = f->materials; mat; mat = mat->next)
            textures[mat->name] = mat->texture1_map.name;
        EXPECT_EQ(textures, intent.textures);
        lib3ds_file_free(f);
    }
}

TEST_F(Content, AssimpReadsWhatTheGeneratorMeant) {
    for (const ModelIntent& intent : models) {
        SCOPED_TRACE(intent.file);
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(runDir() + "/models/" + intent.file, 0);
        ASSERT_NE(scene, nullptr) << importer.GetErrorString();
        EXPECT_EQ(scene->mNumMeshes, intent.objectCount);
        size_t faces = 0, expectedFaces = 0;
        for (unsigned k = 0; k < scene->mNumMeshes; ++k)
            faces += scene->mMeshes[k]->mNumFaces;
        for (const ObjectIntent& o : intent.objects)
            expectedFaces += o.faces;
        EXPECT_EQ(faces, expectedFaces);
        std::set<std::string> seen, expected;
        for (unsigned k = 0; k < scene->mNumMaterials; ++k) {
            aiString path;
            if (scene->mMaterials[k]->GetTexture(aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS)
                seen.insert(path.C_Str());
        }
        for (auto& t : intent.textures)
            expected.insert(t.second);
        EXPECT_EQ(seen, expected);
    }
}

// Every face must give the demo finite normals and tangents: no zero area, no texture
// mapping that collapses (the tangent solve divides by it).
TEST_F(Content, NoDegenerateFacesOrMappings) {
    for (const ModelIntent& intent : models) {
        Lib3dsFile* f = lib3ds_file_load((runDir() + "/models/" + intent.file).c_str());
        ASSERT_NE(f, nullptr);
        for (Lib3dsMesh* m = f->meshes; m; m = m->next)
            for (Lib3dsDword k = 0; k < m->faces; ++k) {
                const Lib3dsFace& face = m->faceL[k];
                Vec n = readerFaceNormal(m, face);
                ASSERT_GT(std::sqrt(dot(n, n)), 1e-6) << intent.file << " " << m->name;
                const float* a = m->texelL[face.points[0]];
                const float* b = m->texelL[face.points[1]];
                const float* c = m->texelL[face.points[2]];
                double det = (b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1]);
                ASSERT_GT(std::fabs(det), 1e-9) << intent.file << " " << m->name;
            }
        lib3ds_file_free(f);
    }
}

// Winding as the reader sees it: sky faces point at the viewer inside, the floor and
// the water up, the ceiling down, the landing pad up.
TEST_F(Content, NormalsPointWhereIntended) {
    auto check = [&](const char* file, const char* mesh, Vec towards, bool fromCentre) {
        Lib3dsFile* f = lib3ds_file_load((runDir() + "/models/" + file).c_str());
        ASSERT_NE(f, nullptr);
        int checked = 0;
        for (Lib3dsMesh* m = f->meshes; m; m = m->next) {
            if (mesh && std::string(m->name) != mesh)
                continue;
            for (Lib3dsDword k = 0; k < m->faces; ++k) {
                Vec n = readerFaceNormal(m, m->faceL[k]);
                Vec dir = towards;
                if (fromCentre) // inward: towards the box centre from the face
                    dir = sub({0, 0, 0}, world(m->pointL[m->faceL[k].points[0]]));
                EXPECT_GT(dot(n, dir), 0.0) << file << " " << m->name << " face " << k;
                ++checked;
            }
        }
        EXPECT_GT(checked, 0) << file << " " << (mesh ? mesh : "");
        lib3ds_file_free(f);
    };
    check("skybox.3ds", nullptr, {}, true);
    check("skybox2.3ds", nullptr, {}, true);
    check("room.3ds", "Floor", {0, 1, 0}, false);
    check("room.3ds", "Ceiling", {0, -1, 0}, false);
    check("port.3ds", "Water", {0, 1, 0}, false);
    check("platform.3ds", "PadTop", {0, 1, 0}, false);
}

// A closed body's faces enclose positive volume when their normals point outward.
TEST_F(Content, ClosedBodiesFaceOutward) {
    auto volume = [&](const char* file, const char* mesh) {
        Lib3dsFile* f = lib3ds_file_load((runDir() + "/models/" + file).c_str());
        double v = 0;
        const Lib3dsMesh* m = f ? findMesh(f, mesh) : nullptr;
        for (Lib3dsDword k = 0; m && k < m->faces; ++k) {
            const Lib3dsFace& face = m->faceL[k];
            // Reader normal n = (p1 - p0) x (p2 - p0) up to a positive factor.
            Vec p0 = world(m->pointL[face.points[0]]), p1 = world(m->pointL[face.points[1]]),
                p2 = world(m->pointL[face.points[2]]);
            Vec n = readerFaceNormal(m, face);
            EXPECT_GT(dot(n, cross(sub(p1, p0), sub(p2, p0))), 0.0);
            v += dot(p0, cross(p1, p2)) / 6.0;
        }
        if (f)
            lib3ds_file_free(f);
        return v;
    };
    EXPECT_GT(volume("port.3ds", "Quay"), 1000.0);  // a box
    EXPECT_GT(volume("room.3ds", "Knot"), 0.5);     // a swept tube
    EXPECT_GT(volume("port.3ds", "ContRed"), 10.0); // many boxes
    EXPECT_GT(volume("ufo.3ds", "UfoRim"), 0.5);    // a torus
}

struct Bounds {
    Vec lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
};
Bounds boundsOf(const std::string& file, const char* mesh) {
    Bounds b;
    Lib3dsFile* f = lib3ds_file_load(file.c_str());
    for (Lib3dsMesh* m = f ? f->meshes : nullptr; m; m = m->next) {
        if (mesh && std::string(m->name) != mesh)
            continue;
        for (Lib3dsDword k = 0; k < m->points; ++k) {
            Vec p = world(m->pointL[k]);
            b.lo = {std::min(b.lo.x, p.x), std::min(b.lo.y, p.y), std::min(b.lo.z, p.z)};
            b.hi = {std::max(b.hi.x, p.x), std::max(b.hi.y, p.y), std::max(b.hi.z, p.z)};
        }
    }
    if (f)
        lib3ds_file_free(f);
    return b;
}

TEST_F(Content, SceneLayoutFitsTheCameraAndTheFarPlane) {
    // The user camera starts at (0, 0, 6) looking at (0, 1.5, 5): inside, above the floor.
    Bounds floor = boundsOf(runDir() + "/models/room.3ds", "Floor");
    Bounds walls = boundsOf(runDir() + "/models/room.3ds", "Walls");
    Bounds ceiling = boundsOf(runDir() + "/models/room.3ds", "Ceiling");
    EXPECT_LT(floor.hi.y, -1.0);
    EXPECT_GT(ceiling.lo.y, 1.5 + 2.0);
    EXPECT_LT(walls.lo.x, -7.0);
    EXPECT_GT(walls.hi.x, 7.0);
    EXPECT_LT(walls.lo.z, 3.0);
    EXPECT_GT(walls.hi.z, 8.0);
    // Sky boxes: centred on their origin; placed 80 below the eye, every corner must lie
    // well inside the far plane of 3000.
    for (const char* sky : {"skybox.3ds", "skybox2.3ds"}) {
        Bounds b = boundsOf(runDir() + "/models/" + sky, nullptr);
        EXPECT_NEAR(b.lo.x + b.hi.x, 0.0, 1e-3);
        EXPECT_NEAR(b.lo.y + b.hi.y, 0.0, 1e-3);
        double corner =
            std::sqrt(b.hi.x * b.hi.x + (b.hi.y + 80) * (b.hi.y + 80) + b.hi.z * b.hi.z);
        EXPECT_LT(corner, 2500.0) << sky;
        EXPECT_GT(b.hi.x, 200.0) << sky << " should be far beyond the scene";
    }
    // The UFO stands on the platform's pad, both centred on the origin.
    Bounds pad = boundsOf(runDir() + "/models/platform.3ds", "PadTop");
    Bounds ufo = boundsOf(runDir() + "/models/ufo.3ds", nullptr);
    EXPECT_NEAR(ufo.lo.y, pad.hi.y, 1e-3);
    EXPECT_NEAR(ufo.lo.x + ufo.hi.x, 0.0, 0.5);
    EXPECT_LT(ufo.hi.x, pad.hi.x);
}

// The scene-2 animation steps once per drawn scene-2 item; its size was chosen for 48.
TEST_F(Content, SceneTwoObjectCountSetsTheAnimation) {
    size_t n = model("skybox2.3ds").objectCount + model("port.3ds").objectCount +
               model("ufo.3ds").objectCount + model("platform.3ds").objectCount;
    EXPECT_EQ(n, 48u);
}

class Textures : public Content {
  protected:
    void SetUp() override {
        Content::SetUp();
        if (IsSkipped())
            return;
        ilInit();
    }
    // Loads as the demo does and returns width, height and the delivered rows.
    bool load(const std::string& path, int* w, int* h, std::vector<uint8_t>* pixels = nullptr,
              int* format = nullptr) {
        ILuint name;
        ilGenImages(1, &name);
        ilBindImage(name);
        bool ok = ilLoadImage(path.c_str());
        if (ok) {
            *w = ilGetInteger(IL_IMAGE_WIDTH);
            *h = ilGetInteger(IL_IMAGE_HEIGHT);
            if (format)
                *format = ilGetInteger(IL_IMAGE_FORMAT);
            if (pixels) {
                const uint8_t* d = ilGetData();
                pixels->assign(d, d + size_t(*w) * *h * ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL));
            }
        }
        ilDeleteImages(1, &name);
        return ok;
    }
};

TEST_F(Textures, EveryMaterialHasAColourAndANormalMapThatLoads) {
    std::set<std::string> files = {"base.bmp", "glow.bmp"};
    for (const ModelIntent& m : models)
        for (auto& t : m.textures) {
            ASSERT_FALSE(t.second.empty()) << m.file << " material " << t.first;
            files.insert(t.second);
            files.insert("normal_" + t.second);
        }
    size_t texels = 0;
    for (const std::string& f : files) {
        int w = 0, h = 0;
        ASSERT_TRUE(load(runDir() + "/textures/" + f, &w, &h)) << f << " image not found";
        EXPECT_EQ(w, h) << f;
        EXPECT_EQ(w & (w - 1), 0) << f << " is not a power of two";
        texels += size_t(w) * h;
    }
    // Start-up mipmaps every texture in software: keep the total sensible.
    EXPECT_LT(texels, 30u * 1024 * 1024);
    EXPECT_LT(files.size(), 100u);
}

// Texture coordinate v = 0 is the first row DevIL delivers. The sky's side faces are
// painted upright (v = 1 at the top), so that row is ground and the last is sky.
TEST_F(Textures, RowsArriveBottomFirst) {
    int w = 0, h = 0, format = 0;
    std::vector<uint8_t> px;
    ASSERT_TRUE(load(runDir() + "/textures/sky1_pz.bmp", &w, &h, &px, &format));
    auto rowMean = [&](int row, int channel) {
        int r = format == IL_BGR ? 2 - channel : channel;
        double sum = 0;
        for (int i = 0; i < w; ++i)
            sum += px[(size_t(row) * w + i) * 3 + r];
        return sum / w;
    };
    // Top of the sky: blue above red. Bottom: hills, greenish and darker than the zenith.
    EXPECT_GT(rowMean(h - 1, 2), rowMean(h - 1, 0));
    EXPECT_LT(rowMean(0, 2), rowMean(h - 1, 2));
    EXPECT_GT(rowMean(0, 1), rowMean(0, 2));
}

// A normal map of a tangent-space height field points mostly along +z (blue).
TEST_F(Textures, NormalMapsAreTangentSpace) {
    for (const char* f : {"normal_brick.bmp", "normal_water.bmp", "normal_ufo.bmp"}) {
        int w = 0, h = 0, format = 0;
        std::vector<uint8_t> px;
        ASSERT_TRUE(load(runDir() + "/textures/" + f, &w, &h, &px, &format)) << f;
        int blue = format == IL_BGR ? 0 : 2;
        double z = 0;
        for (size_t k = 0; k < size_t(w) * h; ++k)
            z += px[k * 3 + blue];
        EXPECT_GT(z / (double(w) * h), 200.0) << f;
    }
}

} // namespace
