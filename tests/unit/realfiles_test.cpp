// Real .3ds files from modelling tools: counts and texture names against the reference
// figures of the folder's README and against lib3ds reading the same file.
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cstdlib>
#include <unistd.h>
#include <map>
#include <string>

#include "model/model.h"

namespace {

struct Mesh {
    int v, f, t;
};

struct Reference {
    const char* file;
    std::map<std::string, std::string> maps; // material name -> texture map 1 file name
    std::map<std::string, Mesh> meshes;
};

const Mesh box = {26, 12, 26}, quader = {32, 12, 32};

const Reference references[] = {
    {"CameraRollAnim.3ds", {}, {{"Box01", box}}},
    {"CameraRollAnimWithChildObject.3ds", {}, {{"Box01", box}, {"Box02", box}}},
    {"RotatingCube.3DS", {}, {{"Box01", box}}},
    {"TargetCameraAnim.3ds", {}, {{"Box01", box}}},
    {"cube_with_diffuse_texture.3DS", {{"01 - Default", "TEST.PNG"}}, {{"Quader01", quader}}},
    {"cube_with_specular_texture.3DS", {{"01 - Default", ""}}, {{"Quader01", quader}}},
    {"cubes_with_alpha.3DS",
     {{"01 - Default", "BERETTA_.JPG"},
      {"03 - Default", ""},
      {"04 - Default", ""},
      {"05 - Default", ""},
      {"Transparent", ""}},
     {{"Quader01", box}, {"Quader02", box}, {"Quader03", box}}},
    {"fels.3ds", {{"Default", ""}}, {{"Default", {386, 768, 0}}}},
    {"test1.3ds",
     {{"1 - Default", "CWALL02.JPG"}, {"2 - Default", "IMAGE1.JPG"}, {"3 - Default", "IMAGE2.JPG"}},
     {{"Box01", quader},
      {"Box02", quader},
      {"Box04", quader},
      {"Box05", quader},
      {"Box06", quader}}},
};

std::string sharedFolder() {
    const char* dir = getenv("KESTRUNE_SHARED_3DS");
    return dir ? dir : "";
}

} // namespace

class RealFiles : public testing::Test {
  protected:
    void SetUp() override {
        folder = sharedFolder();
        if (folder.empty() || access((folder + "/README.md").c_str(), R_OK) != 0)
            GTEST_SKIP() << "KESTRUNE_SHARED_3DS does not name the folder of real .3ds files ("
                         << folder << ")";
    }
    std::string folder;
};

TEST_F(RealFiles, CountsAndTextureNamesMatchTheReferenceFigures) {
    for (const Reference& ref : references) {
        SCOPED_TRACE(ref.file);
        std::string path = folder + "/" + ref.file;
        Model m;
        ASSERT_TRUE(readModelFile(m, path.c_str())) << m.error;
        EXPECT_EQ(m.objectCount, int(m.objects.size()));
        EXPECT_EQ(m.materialCount, int(m.materials.size()));
        for (const auto& [name, mesh] : ref.meshes) {
            int found = 0;
            for (const ModelObject& o : m.objects) {
                if (name != o.name)
                    continue;
                found++;
                EXPECT_EQ(o.vertexCount, mesh.v) << name;
                EXPECT_EQ(o.faceCount, mesh.f) << name;
                EXPECT_EQ(o.texCoordCount, mesh.t) << name;
            }
            EXPECT_EQ(found, 1) << name;
        }
        ASSERT_EQ(m.materials.size(), ref.maps.size());
        for (const ModelMaterial& mat : m.materials) {
            auto it = ref.maps.find(mat.name);
            ASSERT_NE(it, ref.maps.end()) << mat.name;
            EXPECT_EQ(it->second, mat.fileName) << mat.name;
        }
    }
}

// Every mesh lib3ds finds, we find with the same counts, in the same order.
TEST_F(RealFiles, MeshesAgreeWithLib3ds) {
    for (const Reference& ref : references) {
        SCOPED_TRACE(ref.file);
        std::string path = folder + "/" + ref.file;
        Model m;
        ASSERT_TRUE(readModelFile(m, path.c_str())) << m.error;
        Lib3dsFile* other = lib3ds_file_load(path.c_str());
        ASSERT_NE(other, nullptr);
        size_t i = 0;
        for (Lib3dsMesh* mesh = other->meshes; mesh; mesh = mesh->next) {
            while (i < m.objects.size() && m.objects[i].name != std::string(mesh->name))
                i++; // cameras and lights are objects here, not meshes
            ASSERT_LT(i, m.objects.size()) << mesh->name;
            const ModelObject& o = m.objects[i];
            EXPECT_EQ(o.vertexCount, int(mesh->points)) << mesh->name;
            EXPECT_EQ(o.faceCount, int(mesh->faces)) << mesh->name;
            EXPECT_EQ(o.texCoordCount, int(mesh->texels)) << mesh->name;
            for (unsigned p = 0; p < mesh->points; p++) {
                EXPECT_EQ(o.vertices[p].x, mesh->pointL[p].pos[0]);
                EXPECT_EQ(o.vertices[p].y, mesh->pointL[p].pos[2]);
                EXPECT_EQ(o.vertices[p].z, -mesh->pointL[p].pos[1]);
            }
            for (unsigned f = 0; f < mesh->faces; f++) {
                EXPECT_EQ(o.faces[f].a, mesh->faceL[f].points[0]);
                EXPECT_EQ(o.faces[f].c, mesh->faceL[f].points[2]);
            }
            i++;
        }
        for (Lib3dsMaterial* mat = other->materials; mat; mat = mat->next) {
            bool found = false;
            for (const ModelMaterial& ours : m.materials)
                if (ours.name == std::string(mat->name)) {
                    found = true;
                    EXPECT_STREQ(ours.fileName, mat->texture1_map.name);
                }
            EXPECT_TRUE(found) << mat->name;
        }
        lib3ds_file_free(other);
    }
}

TEST_F(RealFiles, EmptyFileIsNotA3dsFile) {
    std::string path = folder + "/empty.3ds";
    Model m;
    EXPECT_FALSE(readModelFile(m, path.c_str()));
    EXPECT_EQ(m.error, "Unable to load PRIMARY chuck from file: " + path + "!");
    EXPECT_TRUE(m.objects.empty());
}
