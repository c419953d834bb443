// Start-up of the renderer in a hidden window: the shipped shaders link, the interface is
// found, every item gets its buffers, both targets are complete, and broken shader files
// are reported without stopping start-up.
#include <sys/stat.h>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "app/app.h"
#include "render/render.h"
#include "render_gl_support.h"

namespace {

std::string setupOutput;
int programAfterSetup = -1;

std::string programInfoLog(unsigned int program) {
    char log[4096] = "";
    glGetProgramInfoLog(program, sizeof log, nullptr, log);
    return log;
}

std::string shaderInfoLog(unsigned int shader) {
    char log[4096] = "";
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    return log;
}

class RenderSetup : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!setupOutput.empty())
            return;
        openGlWindow();
        appendRenderItem(squareItem(1.0f, 1, 1));
        appendRenderItem(squareItem(2.0f, 3, 2));
        RenderItem shortArrays = squareItem(1.0f, 0, 1); // fewer tangents than vertices
        shortArrays.tangents.resize(4);
        appendRenderItem(shortArrays);
        testing::internal::CaptureStdout();
        setupShaders();
        glGetIntegerv(GL_CURRENT_PROGRAM, &programAfterSetup);
        setupRenderTargets();
        fflush(stdout);
        setupOutput = testing::internal::GetCapturedStdout();
    }
};

TEST_F(RenderSetup, ShippedShadersCompileAndLinkWithoutLog) {
    unsigned int shaders[] = {sceneVertexShader,         sceneFragmentShader,
                              bloomVertexShader,         bloomFragmentShader,
                              normalMappingVertexShader, normalMappingFragmentShader,
                              neonVertexShader,          neonFragmentShader,
                              flatVertexShader,          flatFragmentShader};
    for (unsigned int shader : shaders) {
        EXPECT_TRUE(shaderCompiled(shader)) << shaderInfoLog(shader);
        EXPECT_EQ(shaderInfoLog(shader), "");
    }
    unsigned int programs[] = {sceneProgram, bloomProgram, normalMappingProgram, neonProgram,
                               flatProgram};
    for (unsigned int program : programs) {
        EXPECT_NE(program, 0u);
        EXPECT_TRUE(programLinked(program)) << programInfoLog(program);
        EXPECT_EQ(programInfoLog(program), "");
    }
    EXPECT_EQ(setupOutput.find("failed"), std::string::npos) << setupOutput;
    EXPECT_EQ(setupOutput.find("missing"), std::string::npos) << setupOutput;
}

TEST_F(RenderSetup, InterfaceLocationsAreFound) {
    // The glow program, looked up once at set-up.
    for (int loc : {bloomProjectionLoc, bloomModelViewLoc, bloomVertexAttr, bloomFirstTextureLoc,
                    bloomSecondTextureLoc, bloomTexCoordAttr, bloomBrightnessLoc, bloomDdLoc})
        EXPECT_GE(loc, 0);
    EXPECT_GE(glGetUniformLocation(bloomProgram, "renderpass"), 0);

    // Each item program has what it uses; "vertex" is attribute 0 everywhere.
    const char* uniforms[] = {"projectionMatrix", "modelViewMatrix", "firstTexture"};
    unsigned int items[] = {sceneProgram, normalMappingProgram, neonProgram, flatProgram};
    for (unsigned int program : items) {
        for (const char* name : uniforms)
            EXPECT_GE(glGetUniformLocation(program, name), 0) << name;
        EXPECT_EQ(glGetAttribLocation(program, "vertex"), 0);
        EXPECT_GE(glGetAttribLocation(program, "texCoord"), 0);
    }
    for (unsigned int program : {sceneProgram, normalMappingProgram, neonProgram}) {
        EXPECT_GE(glGetUniformLocation(program, "lightDir"), 0);
        EXPECT_GE(glGetAttribLocation(program, "normal"), 0);
    }
    for (unsigned int program : {normalMappingProgram, neonProgram})
        EXPECT_GE(glGetUniformLocation(program, "normalMap"), 0);
    EXPECT_GE(glGetAttribLocation(normalMappingProgram, "tangent"), 0);

    // Set-up leaves the scene program's locations in the shared set.
    EXPECT_EQ(sceneProjectionLoc, glGetUniformLocation(sceneProgram, "projectionMatrix"));
    EXPECT_EQ(sceneLightDirLoc, glGetUniformLocation(sceneProgram, "lightDir"));
    EXPECT_EQ(sceneVertexAttr, 0);
}

TEST_F(RenderSetup, SceneProgramIsCurrentAndShaderFlagSet) {
    EXPECT_EQ(programAfterSetup, int(sceneProgram));
    EXPECT_TRUE(shaderEnabled);
}

int bufferSize(GLenum target, unsigned int buffer) {
    GLint size = -1;
    glBindBuffer(target, buffer);
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    return size;
}

TEST_F(RenderSetup, EveryItemHasFiveFilledBuffers) {
    ASSERT_EQ(renderListSize(), 3);
    for (int i = 0; i < renderListSize(); i++) {
        const RenderItem& item = renderItem(i);
        unsigned int names[] = {item.vertexBuffer, item.normalBuffer, item.indexBuffer,
                                item.texCoordBuffer, item.tangentBuffer};
        for (unsigned int name : names) {
            EXPECT_NE(name, 0u);
            EXPECT_TRUE(glIsBuffer(name));
        }
        EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER, item.vertexBuffer), item.vertexCount * 16);
        EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER, item.normalBuffer), item.vertexCount * 12);
        EXPECT_EQ(bufferSize(GL_ELEMENT_ARRAY_BUFFER, item.indexBuffer), item.faceCount * 12);
        EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER, item.texCoordBuffer), item.vertexCount * 8);
    }
    EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER, renderItem(0).tangentBuffer), 4 * 16);
    // A short array is uploaded as it is, never read past its end.
    EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER, renderItem(2).tangentBuffer), 16);
}

TEST_F(RenderSetup, QuadCoversTheScreenInPixels) {
    float w = float(windowWidth), h = float(windowHeight);
    float vertices[16] = {};
    glBindBuffer(GL_ARRAY_BUFFER, quadVertexBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof vertices, vertices);
    const float expected[16] = {0, 0, 0, 1, 0, h, 0, 1, w, h, 0, 1, w, 0, 0, 1};
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(vertices[i], expected[i]) << i;
    uint32_t indices[6] = {};
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadIndexBuffer);
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof indices, indices);
    const uint32_t expectedIndices[6] = {0, 2, 1, 0, 3, 2};
    EXPECT_EQ(0, memcmp(indices, expectedIndices, sizeof indices));
    EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER, quadNormalBuffer), 48);
    EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER, quadTexCoordBuffer), 32);
}

TEST_F(RenderSetup, BothTargetsAreCompleteAtTheScreenSize) {
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    struct Target {
        unsigned int fbo, texture;
    } targets[] = {{sceneFbo, sceneFboTexture}, {glowFbo, glowFboTexture}};
    for (const Target& t : targets) {
        ASSERT_NE(t.fbo, 0u);
        glBindFramebuffer(GL_FRAMEBUFFER, t.fbo);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
        GLint w = 0, h = 0;
        glBindTexture(GL_TEXTURE_2D, t.texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, windowWidth);
        EXPECT_EQ(h, windowHeight);
    }
    EXPECT_NE(sceneFbo, glowFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(RenderSetup, PrintsTheSizeAndTheTwoTargetTextureNames) {
    char size[64];
    snprintf(size, sizeof size, "\nw: %d - h: %d", windowWidth, windowHeight);
    EXPECT_NE(setupOutput.find(size), std::string::npos) << setupOutput;

    std::string stars(30, '*');
    std::vector<std::string> lines;
    for (size_t at = setupOutput.find("fbo tex: "); at != std::string::npos;
         at = setupOutput.find("fbo tex: ", at + 1)) {
        size_t start = setupOutput.rfind('\n', at);
        size_t end = setupOutput.find('\n', at);
        lines.push_back(setupOutput.substr(start, end == std::string::npos ? end : end - start));
    }
    ASSERT_EQ(lines.size(), 2u) << setupOutput;
    EXPECT_EQ(lines[0], "\n" + stars + "fbo tex: " + std::to_string(sceneFboTexture));
    EXPECT_EQ(lines[1], "\n" + stars + "fbo tex: " + std::to_string(glowFboTexture));
}

// --- readTextFile ---

std::string tempPath(const char* name) {
    return std::string(testing::TempDir()) + "/render_gl_test_" + name;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ReadTextFile, NullMissingEmptyAndDirectoryGiveNull) {
    EXPECT_EQ(readTextFile(nullptr), nullptr);
    EXPECT_EQ(readTextFile(tempPath("does-not-exist").c_str()), nullptr);
    std::string empty = tempPath("empty.vs");
    writeFile(empty, "");
    EXPECT_EQ(readTextFile(empty.c_str()), nullptr);
    std::string dir = tempPath("dir");
    mkdir(dir.c_str(), 0700);
    EXPECT_EQ(readTextFile(dir.c_str()), nullptr);
}

TEST(ReadTextFile, ReadsTheWholeFileAndTerminatesIt) {
    std::string path = tempPath("plain.txt");
    writeFile(path, "a\nbc");
    char* text = readTextFile(path.c_str());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "a\nbc");
    free(text);
}

TEST(ReadTextFile, WindowsLineEndsStillCompile) {
    openGlWindow();
    std::string source = "#version 130\r\nin vec4 vertex;\r\nvoid main() {\r\n"
                         "    gl_Position = vertex;\r\n}\r\n";
    std::string path = tempPath("crlf.vs");
    writeFile(path, source);
    char* text = readTextFile(path.c_str());
    ASSERT_NE(text, nullptr);
    // Text mode may drop the carriage returns; it never adds bytes.
    size_t length = strlen(text);
    EXPECT_LE(length, source.size());
    EXPECT_GE(length, source.size() - 5);
    unsigned int shader = glCreateShader(GL_VERTEX_SHADER);
    const char* src = text;
    glShaderSource(shader, 1, &src, nullptr);
    glCompileShader(shader);
    EXPECT_TRUE(shaderCompiled(shader)) << shaderInfoLog(shader);
    free(text);
}

// --- broken shader files (runs last: it rebuilds every program) ---

TEST(BrokenShaderFiles, AreReportedByNameAndStartUpGoesOn) {
    openGlWindow();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    std::string dir = tempPath("broken");
    mkdir(dir.c_str(), 0700);
    mkdir((dir + "/shader").c_str(), 0700);
    const char* names[] = {"Vertex.vs",        "Fragment.fs",      "bloom.vs", "bloom.fs",
                           "normalmapping.vs", "normalmapping.fs", "neon.fs",  "flat.vs"};
    for (const char* name : names) {
        std::ifstream in(std::string(cwd) + "/shader/" + name, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(text.empty()) << name;
        writeFile(dir + "/shader/" + name, text);
    }
    writeFile(dir + "/shader/flat.fs", "");                                      // empty
    writeFile(dir + "/shader/Fragment.fs", "#version 130\nvoid main() { x }\n"); // broken
    // neon.vs is missing.

    ASSERT_EQ(chdir(dir.c_str()), 0);
    testing::internal::CaptureStdout();
    setupShaders();
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(cwd), 0);

    EXPECT_NE(out.find("\nshader source missing or empty: shader/neon.vs"), std::string::npos)
        << out;
    EXPECT_NE(out.find("\nshader source missing or empty: shader/flat.fs"), std::string::npos)
        << out;
    EXPECT_NE(out.find("\nshader/Fragment.fs failed to compile:\n"), std::string::npos) << out;
    EXPECT_NE(out.find("shader/neon.vs and shader/neon.fs failed to link"), std::string::npos)
        << out;
    EXPECT_NE(out.find("shader/flat.vs and shader/flat.fs failed to link"), std::string::npos)
        << out;
    // The intact programs still link; the broken ones are named but do not stop set-up.
    EXPECT_TRUE(programLinked(bloomProgram));
    EXPECT_TRUE(programLinked(normalMappingProgram));
    EXPECT_FALSE(programLinked(sceneProgram));
    EXPECT_FALSE(programLinked(neonProgram));
    EXPECT_GE(bloomDdLoc, 0);
    EXPECT_NE(quadVertexBuffer, 0u);
}

} // namespace
