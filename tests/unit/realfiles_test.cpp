// Real .3ds files from modelling tools: counts and texture names against the reference
// figures of the folder's README.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>
#include <map>
#include <string>

#include "model/model.h"
#include "model/reader3ds.h"

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

class RealFiles : public testing::Test {
  protected:
    void SetUp() override {
        const char* dir = getenv("KESTRUNE_SHARED_3DS");
        folder = dir ? dir : "";
        if (folder.empty() || access((folder + "/README.md").c_str(), R_OK) != 0)
            GTEST_SKIP() << "KESTRUNE_SHARED_3DS does not name the folder of real .3ds files ("
                         << folder << ")";
    }
    std::string folder;
};

} // namespace

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

TEST_F(RealFiles, EmptyFileIsNotA3dsFile) {
    std::string path = folder + "/empty.3ds";
    Model m;
    EXPECT_FALSE(readModelFile(m, path.c_str()));
    EXPECT_EQ(m.error, "Unable to load PRIMARY chuck from file: " + path + "!");
    EXPECT_TRUE(m.objects.empty());
}
