// Texture loading in a hidden window: DevIL decodes, GLU builds the mipmaps; and the
// texture names that material preparation hands out.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "model/model.h"

namespace {

// Little-endian fields of the given width.
void put(std::vector<uint8_t>& b, int bytes, std::initializer_list<uint32_t> values) {
    for (uint32_t v : values)
        for (int i = 0; i < bytes; i++)
            b.push_back(uint8_t(v >> (8 * i)));
}
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// An uncompressed bottom-up BMP of one colour; rows padded to 4 bytes.
void writeBmp(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    uint32_t row = uint32_t(w * 3 + 3) & ~3u, size = row * uint32_t(h);
    std::vector<uint8_t> out = {'B', 'M'};
    put(out, 4, {54 + size, 0, 54, 40, uint32_t(w), uint32_t(h)});
    put(out, 2, {1, 24});
    put(out, 4, {0, size, 2835, 2835, 0, 0});
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++)
            out.insert(out.end(), {b, g, r});
        out.resize(out.size() + row - size_t(w) * 3, 0);
    }
    writeFile(path, out);
}

// An uncompressed 32-bit true-colour TGA of one colour.
void writeTga(const std::string& path, int w, int h) {
    std::vector<uint8_t> out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put(out, 2, {uint32_t(w), uint32_t(h)});
    out.insert(out.end(), {32, 8});
    for (int i = 0; i < w * h; i++)
        out.insert(out.end(), {10, 20, 30, 255});
    writeFile(path, out);
}

class Textures : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        int argc = 1;
        char name[] = "texture_gl_test";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowSize(64, 64);
        glutCreateWindow("texture test");
        glutHideWindow();
        glewExperimental = GL_TRUE;
        glewInit();
        ilInit();
        char dir[] = "/tmp/kestrune-textures-XXXXXX";
        folder = mkdtemp(dir);
    }
    static std::string folder;
};
std::string Textures::folder;

// A model whose materials name these texture files ("" for none).
Model withMaterials(int shaderKind, std::vector<const char*> files) {
    Model m;
    m.itemTemplate.shaderKind = shaderKind;
    m.materials.resize(files.size());
    m.materialCount = int32_t(files.size());
    for (size_t i = 0; i < files.size(); i++)
        strcpy(m.materials[i].fileName, files[i]);
    return m;
}

GLint level0(GLenum what) {
    GLint v = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &v);
    return v;
}

} // namespace

TEST_F(Textures, MissingFileIsReportedAndKeepsTheName) {
    Model m;
    uint32_t name = 4242;
    std::string path = folder + "/absent.png";
    testing::internal::CaptureStdout();
    loadTexture(path.c_str(), m, &name);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n" + path + " image not found\n");
    EXPECT_EQ(name, 4242u);
}

TEST_F(Textures, TwentyFourBitBmpGivesThreeComponentsAndAFullMipmapChain) {
    std::string path = folder + "/red.bmp";
    writeBmp(path, 8, 4, 255, 0, 0);
    Model m;
    uint32_t first = 0, second = 0;
    loadTexture(path.c_str(), m, &first);
    EXPECT_NE(first, 0u);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL), 3);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), first); // stays bound
    GLint internal = level0(GL_TEXTURE_INTERNAL_FORMAT);
    EXPECT_TRUE(internal == 3 || internal == GL_RGB || internal == GL_RGB8) << internal;
    EXPECT_EQ(level0(GL_TEXTURE_WIDTH), 8);
    EXPECT_EQ(level0(GL_TEXTURE_HEIGHT), 4);
    GLint last = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &last);
    EXPECT_EQ(last, 1); // 8, 4, 2, 1
    GLint minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    // The channels arrive in their places: red stays red.
    std::vector<uint8_t> pixels(8 * 4 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    EXPECT_EQ(std::vector<uint8_t>(pixels.begin(), pixels.begin() + 3),
              (std::vector<uint8_t>{255, 0, 0}));
    loadTexture(path.c_str(), m, &second);
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first); // every load makes a new texture
}

TEST_F(Textures, ThirtyTwoBitImageGivesFourComponents) {
    std::string path = folder + "/alpha.tga";
    writeTga(path, 4, 4);
    Model m;
    uint32_t name = 0;
    loadTexture(path.c_str(), m, &name);
    ASSERT_NE(name, 0u);
    GLint internal = level0(GL_TEXTURE_INTERNAL_FORMAT);
    EXPECT_TRUE(internal == 4 || internal == GL_RGBA || internal == GL_RGBA8) << internal;
}

TEST_F(Textures, MaterialsLoadTheirMapsAndFallBackToTheLastNames) {
    ASSERT_EQ(mkdir((folder + "/textures").c_str(), 0755), 0);
    writeBmp(folder + "/textures/wall.bmp", 4, 4, 0, 255, 0);
    writeBmp(folder + "/textures/normal_wall.bmp", 4, 4, 128, 128, 255);
    writeBmp(folder + "/textures/base.bmp", 4, 4, 1, 2, 3);
    writeBmp(folder + "/textures/glow.bmp", 4, 4, 4, 5, 6);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);

    Model normalMapped = withMaterials(1, {"wall.bmp", "", "gone.bmp"});
    testing::internal::CaptureStdout();
    prepareMaterials(normalMapped);
    testing::internal::GetCapturedStdout();
    const ModelMaterial* mat = normalMapped.materials.data();
    EXPECT_NE(mat[0].colorTexture, 0u);
    EXPECT_NE(mat[0].bumpTexture, 0u);
    EXPECT_NE(mat[0].colorTexture, mat[0].bumpTexture);
    // Without a file of its own, or when its files are missing: the names loaded last.
    EXPECT_EQ(mat[1].colorTexture, mat[0].colorTexture);
    EXPECT_EQ(mat[2].colorTexture, mat[0].colorTexture);
    EXPECT_EQ(mat[2].bumpTexture, mat[0].bumpTexture);

    // The neon program loads only the fixed files, quietly.
    Model neon = withMaterials(2, {"missing-but-unused.bmp", "wall.bmp"});
    testing::internal::CaptureStdout();
    prepareMaterials(neon);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(neon.materials[0].colorTexture, mat[0].colorTexture);
    EXPECT_NE(neon.materials[1].colorTexture, neon.materials[0].colorTexture);
    EXPECT_EQ(colorTextureId, neon.materials[1].colorTexture);
    EXPECT_EQ(bumpTextureId, neon.materials[1].bumpTexture);
    ASSERT_EQ(chdir(previous), 0);
}
