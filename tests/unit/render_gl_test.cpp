// Rendering in one hidden window with one set-up: buffers and targets, textures, the glow
// passes. The show's frame drawn through it is tested in show_frame_gl_test.cpp.
#include <GL/glew.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/startup.h"
#include "files.h"
#include "gl_items.h"
#include "math/vecmath.h"
#include "model/model.h"
#include "platform/platform.h"
#include "render/internal.h"
#include "render/render.h"
#include "show/timer.h"

namespace fs = std::filesystem;

namespace {

TempFolder temp;
const std::string& folder = temp.path;
class GlWindow : public testing::Environment {
    void SetUp() override { openItemWindow("Kestrune render test"); }
};
testing::Environment* const window = testing::AddGlobalTestEnvironment(new GlWindow);

int bufferSize(GLenum target, unsigned int buffer) {
    GLint size = -1;
    glBindBuffer(target, buffer);
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    return size;
}

// A level's parameter of the bound texture.
GLint level(int level, GLenum what) {
    GLint v = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &v);
    return v;
}

} // namespace

TEST(RenderSetup, LeavesTheSceneProgramCurrentFiveFilledBuffersPerItemAndBothTargets) {
    EXPECT_EQ(programAfterSetup, int(renderer.sceneProgram));
    EXPECT_TRUE(renderer.shaderEnabled);
    for (int i = 0; i < renderListSize(); i++) {
        const RenderItem& item = renderItem(i);
        // Made and sized by the arrays: a short one is never read past its end.
        EXPECT_EQ(std::vector<int>({bufferSize(GL_ARRAY_BUFFER, item.vertexBuffer),
                                    bufferSize(GL_ARRAY_BUFFER, item.normalBuffer),
                                    bufferSize(GL_ELEMENT_ARRAY_BUFFER, item.indexBuffer),
                                    bufferSize(GL_ARRAY_BUFFER, item.texCoordBuffer),
                                    bufferSize(GL_ARRAY_BUFFER, item.tangentBuffer)}),
                  std::vector<int>({64, 48, 24, 32, i == ShortTangents ? 16 : 64}));
    }
    EXPECT_NE(renderer.sceneFbo, renderer.glowFbo);
    const Renderer& r = renderer;
    for (auto [fbo, texture] :
         {std::pair{r.sceneFbo, r.sceneFboTexture}, {r.glowFbo, r.glowFboTexture}}) {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
        glBindTexture(GL_TEXTURE_2D, texture);
        EXPECT_EQ(std::pair(level(0, GL_TEXTURE_WIDTH), level(0, GL_TEXTURE_HEIGHT)),
                  std::pair(windowWidth, windowHeight));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

namespace {

// An image file written by DevIL from samples (rows from the bottom), in the format its
// extension names, with a palette of RGB triples for colour-index samples.
void writeImage(const std::string& path, int w, int h, ILenum format, ILenum type,
                const void* samples, const void* palette = nullptr) {
    ILuint image;
    ilGenImages(1, &image);
    ilBindImage(image);
    int channels = format == IL_RGBA ? 4 : format == IL_RGB ? 3 : 1;
    ilTexImage(w, h, 1, ILubyte(channels), format, type, const_cast<void*>(samples));
    if (palette)
        ilRegisterPal(const_cast<void*>(palette), 12, IL_PAL_RGB24);
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSaveImage(path.c_str())) << path;
    ilDeleteImages(1, &image);
}

// A model whose materials name these files, prepared; what it printed.
std::pair<Model, std::string> withMaterials(int shaderKind, std::vector<const char*> files) {
    Model m;
    m.itemTemplate.shaderKind = shaderKind;
    m.materials.resize(files.size());
    m.materialCount = int32_t(files.size());
    for (size_t i = 0; i < files.size(); i++)
        strcpy(m.materials[i].fileName, files[i]);
    testing::internal::CaptureStdout();
    prepareMaterials(m);
    return {m, testing::internal::GetCapturedStdout()};
}

} // namespace

// A missing file keeps the name and says so. Odd sizes and sample formats reach GL as
// 8-bit colour, each row in its place (a row of 37 RGB pixels is 111 bytes, not a multiple
// of 4), as a new mipmapped texture left bound, with alpha only from a file that has it.
// Four quadrants of these colours (grey levels for the grey file), first rows left and
// right, then last rows left and right.
TEST(Textures, FilesOfAnySizeAndFormatArriveAsEightBitMipmappedColour) {
    Model m;
    testing::internal::CaptureStdout();
    uint32_t kept = loadTexture((folder + "/absent.png").c_str(), m, 4242);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\n" + folder + "/absent.png image not found\n");
    EXPECT_EQ(kept, 4242u);

    const int w = 37, h = 19;
    const uint8_t colours[4][3] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {220, 220, 220}};
    const uint8_t greys[4] = {200, 30, 110, 240};
    auto quadrant = [](int x, int y, int width, int height) {
        return (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
    };
    const struct {
        const char* file;
        ILenum format, type;
    } pictures[] = {{"rgb.bmp", IL_RGB, IL_UNSIGNED_BYTE},
                    {"rgba.tga", IL_RGBA, IL_UNSIGNED_BYTE},
                    {"rgb16.png", IL_RGB, IL_UNSIGNED_SHORT},
                    {"grey.png", IL_LUMINANCE, IL_UNSIGNED_BYTE},
                    {"palette.png", IL_COLOUR_INDEX, IL_UNSIGNED_BYTE}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.file);
        // Each level also in 16 bits (x 257); the 8-bit files take the high byte.
        std::vector<uint16_t> samples;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                int q = quadrant(x, y, w, h);
                if (p.format == IL_COLOUR_INDEX)
                    samples.push_back(uint16_t(q * 257));
                else if (p.format == IL_LUMINANCE)
                    samples.push_back(uint16_t(greys[q] * 257));
                else
                    for (int c = 0; c < (p.format == IL_RGBA ? 4 : 3); c++)
                        samples.push_back(uint16_t((c < 3 ? colours[q][c] : 255) * 257));
            }
        std::vector<uint8_t> bytes;
        for (uint16_t v : samples)
            bytes.push_back(uint8_t(v >> 8));
        std::string path = folder + "/" + p.file;
        writeImage(path, w, h, p.format, p.type,
                   p.type == IL_UNSIGNED_SHORT ? (void*)samples.data() : (void*)bytes.data(),
                   p.format == IL_COLOUR_INDEX ? colours : nullptr);

        uint32_t name = loadTexture(path.c_str(), m, 0);
        GLint bound = 0, minFilter = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_TRUE(name != 0 && GLuint(bound) == name);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(level(0, GL_TEXTURE_ALPHA_SIZE) > 0, p.format == IL_RGBA);
        // GLU scales the image to powers of two, down to one texel; the middle of each
        // quadrant keeps its colour.
        int tw = level(0, GL_TEXTURE_WIDTH), th = level(0, GL_TEXTURE_HEIGHT);
        if (tw < 4 || th < 4) {
            ADD_FAILURE() << "no level 0: " << tw << " x " << th;
            continue;
        }
        EXPECT_EQ(level(int(std::log2(std::max(tw, th))), GL_TEXTURE_WIDTH), 1);
        // Written from the bottom row up; a file that keeps its rows from the top comes
        // back upside down, as DevIL says.
        bool upsideDown = ilGetInteger(IL_IMAGE_ORIGIN) != IL_ORIGIN_LOWER_LEFT;
        std::vector<uint8_t> texels(size_t(tw) * size_t(th) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        for (int row = th / 8; row < th; row += th / 4)
            for (int col = tw / 8; col < tw; col += tw / 4) {
                int q = quadrant(col, upsideDown ? th - 1 - row : row, tw, th);
                const uint8_t* got = &texels[(size_t(row) * size_t(tw) + size_t(col)) * 3];
                for (int c = 0; c < 3; c++)
                    EXPECT_NEAR(got[c], p.format == IL_LUMINANCE ? greys[q] : colours[q][c], 2)
                        << "texel " << col << ", " << row << " channel " << c;
            }
        uint32_t again = loadTexture(path.c_str(), m, 0);
        EXPECT_TRUE(again != 0 && again != name); // every load makes a new texture
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4); // left as GL's default for other uploads
}

TEST(Textures, MaterialsLoadTheirMapsAndFallBackToTheLastNames) {
    fs::create_directory(folder + "/textures");
    const uint8_t green[3] = {0, 255, 0};
    for (const char* file : {"wall.bmp", "normal_wall.bmp", "base.bmp", "glow.bmp"})
        writeImage(folder + "/textures/" + file, 1, 1, IL_RGB, IL_UNSIGNED_BYTE, green);
    fs::path previous = fs::current_path();
    fs::current_path(folder);
    auto [normalMapped, out] = withMaterials(1, {"wall.bmp", "", "gone.bmp"});
    const ModelMaterial* mat = normalMapped.materials.data();
    auto [neon, neonOut] = withMaterials(2, {"missing-but-unused.bmp", "wall.bmp"});
    fs::current_path(previous);
    EXPECT_TRUE(mat[0].colorTexture != 0 && mat[0].bumpTexture != 0);
    EXPECT_NE(mat[0].colorTexture, mat[0].bumpTexture);
    // Without a file of its own, or when its files are missing: the names loaded last.
    EXPECT_EQ(mat[1].colorTexture, mat[0].colorTexture);
    EXPECT_EQ(std::pair(mat[2].colorTexture, mat[2].bumpTexture),
              std::pair(mat[0].colorTexture, mat[0].bumpTexture));
    // The neon program loads only the fixed files, quietly.
    EXPECT_EQ(neonOut, "");
    EXPECT_NE(neon.materials[0].colorTexture, mat[0].colorTexture);
    EXPECT_NE(neon.materials[1].colorTexture, neon.materials[0].colorTexture);
}

// The sum of all channel differences.
long difference(const Image& a, const Image& b) {
    long sum = 0;
    for (size_t i = 0; i < a.size(); i++)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum;
}

// The glow over a painted scene: dark grey, a white square (bright: glows) and a mid-grey
// one (not bright), placed from the screen size. The second scene runs at brightness 0:
// its glow shows there too; more brightness raises it to white, a larger dd reaches further.
// The lighthouse beam adds its light where it runs, behind the depth test, writing no
// depth and leaving blending off for the items after it.
TEST(Beam, AddsLightAlongItsAxisBehindTheDepthTest) {
    const int alongX = windowWidth / 2 + windowWidth / 8, aboveY = windowHeight * 9 / 10;
    const int grey = 51; // 0.2
    Mat4 projection, view;
    perspective(projection, 40.0f, float(windowWidth) / float(windowHeight), 1.0f, farPlane);
    lookAt(view, 0, 0, 300, 0, 0, 0, 0, 1, 0); // from the side: the beam runs across the middle
    auto beamOver = [&](float depth) {
        glBindFramebuffer(GL_FRAMEBUFFER, renderer.sceneFbo);
        glViewport(0, 0, windowWidth, windowHeight);
        glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
        glClearDepth(depth);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
        drawBeam(view, projection);
        glFinish();
    };

    beamOver(1.0f);
    EXPECT_GT(pixel(renderer.sceneFbo, alongX, windowHeight / 2)[0], grey + 20);
    EXPECT_EQ(pixel(renderer.sceneFbo, alongX, aboveY), Image(3, grey));
    float depth = 0;
    glReadPixels(alongX, windowHeight / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites && !glIsEnabled(GL_BLEND));

    beamOver(0.0f); // everything nearer than the beam
    EXPECT_EQ(pixel(renderer.sceneFbo, alongX, windowHeight / 2), Image(3, grey));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(GlowPasses, OnlyBrightPartsGlowFromBrightnessZeroToWhiteAsFarAsDdSays) {
    const int size = windowHeight / 10, squareX = windowWidth / 6, squareY = windowHeight / 2;
    const int greyX = windowWidth * 2 / 3, greyY = windowHeight / 5, dark = 51; // 0.2
    const int nearX = squareX + size + 8, nearY = squareY + size / 2;           // just right of it
    const int farX = windowWidth / 2, farY = windowHeight * 5 / 6;
    // One frame's glow passes over the painted scene; the window's picture.
    auto glowImage = [&](float withBrightness, float withDd = 0.005f) {
        glBindFramebuffer(GL_FRAMEBUFFER, renderer.sceneFbo);
        glViewport(0, 0, windowWidth, windowHeight);
        glEnable(GL_SCISSOR_TEST);
        for (auto [x, y, w, h, level] : {std::tuple{0, 0, windowWidth, windowHeight, 0.2f},
                                         {squareX, squareY, size, size, 1.0f},
                                         {greyX, greyY, size, size, 0.5f}}) {
            glScissor(x, y, w, h);
            glClearColor(level, level, level, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glDisable(GL_SCISSOR_TEST);
        drawGlowPasses({true, withBrightness, withDd}, windowWidth, windowHeight);
        glFinish();
        return readImage(0, 0, 0, windowWidth, windowHeight);
    };
    auto at = [](const Image& image, int x, int y) {
        return image[(size_t(y) * size_t(windowWidth) + size_t(x)) * 3]; // red channel
    };
    // How many pixels right of the white square the glow lifts above the background.
    auto glowReach = [&](const Image& picture) {
        int count = 0;
        for (int x = squareX + size; x < windowWidth; x++)
            count += at(picture, x, nearY) > dark + 1;
        return count;
    };

    Image picture = glowImage(0.0f);
    EXPECT_GT(at(picture, nearX, nearY), dark + 20);
    // Not flipped or shifted: the square lands where it was drawn.
    EXPECT_EQ(at(picture, squareX + 1, squareY + 1), 255);
    EXPECT_EQ(at(picture, squareX + size - 2, squareY + size - 2), 255);
    EXPECT_EQ(at(picture, squareX - 40, squareY - 40), dark); // beyond the glow's reach

    int nearValue[5], farValue[5];
    for (int i = 0; i < 5; i++) {
        picture = glowImage(0.5f * i);
        nearValue[i] = at(picture, nearX, nearY);
        farValue[i] = at(picture, farX, farY);
        EXPECT_TRUE(i == 0 || (nearValue[i] > nearValue[i - 1] && farValue[i] >= farValue[i - 1]))
            << "brightness " << 0.5f * i;
    }
    // Up to 1 only the bright parts glow; the washing out starts past 1; a fade ends white.
    EXPECT_LE(std::max(std::abs(farValue[0] - dark), std::abs(farValue[2] - dark)), 1);
    EXPECT_GT(farValue[3], dark + 50);
    EXPECT_EQ(std::pair(nearValue[4], farValue[4]), std::pair(255, 255));

    Image normal = glowImage(1.0f), wider = glowImage(1.0f, 0.0055f),
          narrower = glowImage(1.0f, 0.0045f);
    EXPECT_GT(at(normal, squareX + size / 2, squareY - 8), dark + 20);
    EXPECT_LE(std::abs(at(normal, greyX + size + 8, greyY + size / 2) - dark), 1);
    // One key press changes a visible amount of the picture; a larger step reaches further.
    EXPECT_GT(std::min(difference(normal, wider), difference(normal, narrower)), 20000);
    EXPECT_GT(glowReach(wider), glowReach(normal));
    EXPECT_GT(glowReach(normal), glowReach(narrower));
    // The next frame starts from the window, without a GL error.
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
