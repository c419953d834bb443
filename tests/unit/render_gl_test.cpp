// Start-up of the renderer in a hidden window: the shipped shaders link, the interface is
// found, every item gets its buffers, both targets are complete, and broken shader files
// are reported without stopping start-up.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "render/internal.h"
#include "render/render.h"
#include "render_gl_support.h"

namespace {

std::string setupOutput;
int programAfterSetup = -1;

std::string infoLog(unsigned int name, bool program) {
    char log[4096] = "";
    (program ? glGetProgramInfoLog : glGetShaderInfoLog)(name, sizeof log, nullptr, log);
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
        EXPECT_TRUE(shaderCompiled(shader)) << infoLog(shader, false);
        EXPECT_EQ(infoLog(shader, false), "");
    }
    unsigned int programs[] = {sceneProgram, bloomProgram, normalMappingProgram, neonProgram,
                               flatProgram};
    for (unsigned int program : programs) {
        EXPECT_NE(program, 0u);
        EXPECT_TRUE(programLinked(program)) << infoLog(program, true);
        EXPECT_EQ(infoLog(program, true), "");
    }
    EXPECT_EQ(setupOutput.find("failed"), std::string::npos) << setupOutput;
    EXPECT_EQ(setupOutput.find("missing"), std::string::npos) << setupOutput;
    // Set-up leaves the scene program current.
    EXPECT_EQ(programAfterSetup, int(sceneProgram));
    EXPECT_TRUE(shaderEnabled);
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

TEST_F(RenderSetup, BothTargetsAreCompleteAtTheScreenSize) {
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
    const std::string fboLine = "\n" + std::string(30, '*') + "fbo tex: ";
    std::string expected =
        "\nw: " + std::to_string(windowWidth) + " - h: " + std::to_string(windowHeight) + fboLine +
        std::to_string(sceneFboTexture) + fboLine + std::to_string(glowFboTexture);
    ASSERT_GE(setupOutput.size(), expected.size()) << setupOutput;
    EXPECT_EQ(setupOutput.substr(setupOutput.size() - expected.size()), expected);
}

// Runs last: it rebuilds every program.
TEST(BrokenShaderFiles, AreReportedByNameAndStartUpGoesOn) {
    openGlWindow();
    namespace fs = std::filesystem;
    const fs::path shipped = fs::current_path() / "shader",
                   dir = fs::path(testing::TempDir()) / "render_gl_test_broken";
    fs::create_directories(dir / "shader");
    for (const char* name : {"Vertex.vs", "Fragment.fs", "bloom.vs", "bloom.fs", "normalmapping.vs",
                             "normalmapping.fs", "neon.fs", "flat.vs"})
        fs::copy_file(shipped / name, dir / "shader" / name, fs::copy_options::overwrite_existing);
    std::ofstream(dir / "shader/flat.fs", std::ios::trunc); // empty
    std::ofstream(dir / "shader/Fragment.fs") << "#version 130\nvoid main() { x }\n";
    // neon.vs is missing.
    fs::current_path(dir);
    testing::internal::CaptureStdout();
    setupShaders();
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    fs::current_path(shipped.parent_path());

    for (const char* message : {"\nshader source missing or empty: shader/neon.vs",
                                "\nshader source missing or empty: shader/flat.fs",
                                "\nshader/Fragment.fs failed to compile:\n",
                                "shader/neon.vs and shader/neon.fs failed to link",
                                "shader/flat.vs and shader/flat.fs failed to link"})
        EXPECT_NE(out.find(message), std::string::npos) << message << " in " << out;
    // The intact programs still link; the broken ones are named but do not stop set-up.
    EXPECT_TRUE(programLinked(bloomProgram));
    EXPECT_TRUE(programLinked(normalMappingProgram));
    EXPECT_FALSE(programLinked(sceneProgram));
    EXPECT_FALSE(programLinked(neonProgram));
    EXPECT_GE(bloomDdLoc, 0);
    EXPECT_NE(quadVertexBuffer, 0u);
}

} // namespace
