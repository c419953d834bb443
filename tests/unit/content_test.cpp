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
#include <functional>
#include <map>
#include <memory>
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
    std::string line, kind;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        words >> kind;
        if (kind == "model") {
            models.emplace_back();
            words >> models.back().file >> models.back().objectCount >> models.back().materialCount;
        } else if (kind == "material" && !models.empty()) {
            std::string name;
            words >> name >> models.back().textures[name];
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
        ilInit();
    }
    std::vector<ModelIntent> models;
};

using File3ds = std::unique_ptr<Lib3dsFile, void (*)(Lib3dsFile*)>;
File3ds load3ds(const std::string& model) {
    return {lib3ds_file_load((runDir() + "/models/" + model).c_str()), lib3ds_file_free};
}

struct Vec {
    double x, y, z;
    Vec operator-(Vec b) const { return {x - b.x, y - b.y, z - b.z}; }
    double dot(Vec b) const { return x * b.x + y * b.y + z * b.z; }
    Vec cross(Vec b) const { return {y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x}; }
};

// The demo's view of a mesh: file (x, y, z) becomes world (x, z, -y), and a face's
// contribution to its vertex normals points along -((p0 - p2) x (p2 - p1)).
Vec world(const Lib3dsMesh* m, int point) {
    const float* p = m->pointL[point].pos;
    return {p[0], p[2], -p[1]};
}
Vec readerFaceNormal(const Lib3dsMesh* m, const Lib3dsFace& f) {
    Vec p0 = world(m, f.points[0]), p1 = world(m, f.points[1]), p2 = world(m, f.points[2]);
    return (p2 - p1).cross(p0 - p2);
}

// Calls visit for every face of the named mesh; returns how many there were.
int forEachFace(const std::string& model, const char* mesh,
                const std::function<void(const Lib3dsMesh*, const Lib3dsFace&)>& visit) {
    File3ds f = load3ds(model);
    EXPECT_NE(f, nullptr) << model;
    int faces = 0;
    for (Lib3dsMesh* m = f ? f->meshes : nullptr; m; m = m->next)
        for (Lib3dsDword k = 0; std::string(m->name) == mesh && k < m->faces; ++k, ++faces)
            visit(m, m->faceL[k]);
    return faces;
}

TEST_F(Content, Lib3dsReadsWhatTheGeneratorMeant) {
    for (const ModelIntent& intent : models) {
        SCOPED_TRACE(intent.file);
        File3ds f = load3ds(intent.file);
        ASSERT_NE(f, nullptr);
        std::map<std::string, const Lib3dsMesh*> meshes;
        for (Lib3dsMesh* m = f->meshes; m; m = m->next)
            meshes[m->name] = m;
        EXPECT_EQ(meshes.size(), intent.objectCount);
        EXPECT_EQ(intent.objects.size(), intent.objectCount);
        for (const ObjectIntent& o : intent.objects) {
            const Lib3dsMesh* m = meshes[o.name];
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

// Winding as the reader sees it, for lighting: the floor, the water and the landing pad
// face up, the ceiling down; closed bodies enclose positive volume.
TEST_F(Content, FacesPointWhereIntended) {
    auto facing = [](const char* model, const char* mesh, Vec towards) {
        int faces = forEachFace(model, mesh, [&](const Lib3dsMesh* m, const Lib3dsFace& face) {
            EXPECT_GT(readerFaceNormal(m, face).dot(towards), 0.0) << model << " " << m->name;
        });
        EXPECT_GT(faces, 0) << model << " " << mesh;
    };
    facing("room.3ds", "Floor", {0, 1, 0});
    facing("room.3ds", "Ceiling", {0, -1, 0});
    facing("port.3ds", "Water", {0, 1, 0});
    facing("platform.3ds", "PadTop", {0, 1, 0});

    auto volume = [](const char* model, const char* mesh) {
        double v = 0;
        forEachFace(model, mesh, [&](const Lib3dsMesh* m, const Lib3dsFace& face) {
            Vec p0 = world(m, face.points[0]), p1 = world(m, face.points[1]),
                p2 = world(m, face.points[2]);
            v += p0.dot(p1.cross(p2)) / 6.0;
        });
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
Bounds boundsOf(const std::string& model, const char* mesh) {
    Bounds b;
    File3ds f = load3ds(model);
    for (Lib3dsMesh* m = f ? f->meshes : nullptr; m; m = m->next)
        for (Lib3dsDword k = 0; k < m->points && (!mesh || std::string(m->name) == mesh); ++k) {
            Vec p = world(m, int(k));
            b.lo = {std::min(b.lo.x, p.x), std::min(b.lo.y, p.y), std::min(b.lo.z, p.z)};
            b.hi = {std::max(b.hi.x, p.x), std::max(b.hi.y, p.y), std::max(b.hi.z, p.z)};
        }
    return b;
}

TEST_F(Content, SceneLayoutFitsTheCameraAndTheFarPlane) {
    // The user camera starts at (0, 0, 6) looking at (0, 1.5, 5): inside, above the floor.
    Bounds floor = boundsOf("room.3ds", "Floor"), walls = boundsOf("room.3ds", "Walls"),
           ceiling = boundsOf("room.3ds", "Ceiling");
    EXPECT_LT(floor.hi.y, -1.0);
    EXPECT_GT(ceiling.lo.y, 1.5 + 2.0);
    EXPECT_LT(walls.lo.x, -7.0);
    EXPECT_GT(walls.hi.x, 7.0);
    EXPECT_LT(walls.lo.z, 3.0);
    EXPECT_GT(walls.hi.z, 8.0);
    // Sky boxes: centred on their origin; placed 80 below the eye, every corner must lie
    // well inside the far plane of 3000.
    for (const char* sky : {"skybox.3ds", "skybox2.3ds"}) {
        Bounds b = boundsOf(sky, nullptr);
        EXPECT_NEAR(b.lo.x + b.hi.x, 0.0, 1e-3);
        EXPECT_NEAR(b.lo.y + b.hi.y, 0.0, 1e-3);
        Vec corner = {b.hi.x, b.hi.y + 80, b.hi.z};
        EXPECT_LT(std::sqrt(corner.dot(corner)), 2500.0) << sky;
        EXPECT_GT(b.hi.x, 200.0) << sky << " should be far beyond the scene";
    }
    // The UFO stands on the platform's pad, both centred on the origin.
    Bounds pad = boundsOf("platform.3ds", "PadTop"), ufo = boundsOf("ufo.3ds", nullptr);
    EXPECT_NEAR(ufo.lo.y, pad.hi.y, 1e-3);
    EXPECT_NEAR(ufo.lo.x + ufo.hi.x, 0.0, 0.5);
    EXPECT_LT(ufo.hi.x, pad.hi.x);
}

struct Image {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb; // rows as DevIL delivers them
};
// Loads as the demo does; false when DevIL cannot.
bool loadImage(const std::string& name, Image& image) {
    ILuint id;
    ilGenImages(1, &id);
    ilBindImage(id);
    bool ok = ilLoadImage((runDir() + "/textures/" + name).c_str()) &&
              ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE);
    image.w = ilGetInteger(IL_IMAGE_WIDTH);
    image.h = ilGetInteger(IL_IMAGE_HEIGHT);
    image.rgb.assign(ilGetData(), ilGetData() + (ok ? size_t(image.w) * image.h * 3 : 0));
    ilDeleteImages(1, &id);
    return ok;
}
// Mean of one channel (0 red, 1 green, 2 blue) over a row.
double rowMean(const Image& im, int row, int channel) {
    double sum = 0;
    for (int i = 0; i < im.w; ++i)
        sum += im.rgb[(size_t(row) * im.w + i) * 3 + size_t(channel)];
    return sum / im.w;
}

TEST_F(Content, EveryMaterialHasAColourAndANormalMapThatLoads) {
    std::set<std::string> files = {"base.bmp", "glow.bmp"};
    for (const ModelIntent& m : models)
        for (auto& t : m.textures) {
            ASSERT_FALSE(t.second.empty()) << m.file << " material " << t.first;
            files.insert(t.second);
            files.insert("normal_" + t.second);
        }
    size_t texels = 0;
    for (const std::string& f : files) {
        Image im;
        ASSERT_TRUE(loadImage(f, im)) << f << " image not found";
        EXPECT_EQ(im.w, im.h) << f;
        EXPECT_EQ(im.w & (im.w - 1), 0) << f << " is not a power of two";
        texels += size_t(im.w) * im.h;
    }
    // Start-up mipmaps every texture in software: keep the total sensible.
    EXPECT_LT(texels, 30u * 1024 * 1024);
    EXPECT_LT(files.size(), 100u);
}

// Texture coordinate v = 0 is the first row DevIL delivers. The sky's side faces are
// painted upright (v = 1 at the top), so that row is ground and the last is sky.
TEST_F(Content, TextureRowsArriveBottomFirst) {
    Image sky;
    ASSERT_TRUE(loadImage("sky1_pz.bmp", sky));
    int top = sky.h - 1;
    // Top of the sky: blue above red. Bottom: hills, greenish and darker than the zenith.
    EXPECT_GT(rowMean(sky, top, 2), rowMean(sky, top, 0));
    EXPECT_LT(rowMean(sky, 0, 2), rowMean(sky, top, 2));
    EXPECT_GT(rowMean(sky, 0, 1), rowMean(sky, 0, 2));
}

// A normal map of a tangent-space height field points mostly along +z (blue).
TEST_F(Content, NormalMapsAreTangentSpace) {
    for (const char* f : {"normal_brick.bmp", "normal_water.bmp", "normal_ufo.bmp"}) {
        Image im;
        ASSERT_TRUE(loadImage(f, im)) << f;
        double z = 0;
        for (int row = 0; row < im.h; row++)
            z += rowMean(im, row, 2);
        EXPECT_GT(z / im.h, 200.0) << f;
    }
}

} // namespace
