// The show's frame in one hidden window, drawn through render/: which items each scene
// draws and into which target, the view from the path or the user camera, the sky at the
// eye, an item's edge cases, reshape.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/startup.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "gl_items.h"
#include "platform/platform.h"
#include "render/internal.h"
#include "render/render.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/timeline.h"
#include "show/timer.h"

namespace {

class GlWindow : public testing::Environment {
    void SetUp() override {
        openItemWindow("Kestrune frame test");
        scenes.skyboxModel.firstItem = Sky;
        scenes.skyboxModel.itemCount = 1;
    }
};
testing::Environment* const window = testing::AddGlobalTestEnvironment(new GlWindow);

class Frame : public ::testing::Test {
  protected:
    void SetUp() override {
        // The user camera at z = 6 looks at the squares; no path is loaded.
        cursorMoved(windowWidth / 2, windowHeight / 2);
        setCamera(0, 0, 6, 0, 0, 0, 0, 1, 0);
        showFlags.cameraPathMode = true;
        scenePath(kSceneOnePass).usable = scenePath(kSceneTwoPass).usable = false;
        timeline.levelTwoActive = showFlags.bloomEnabled = false;
        timeline.brightness = 1.0f;
        showFlags.dd = 0.005f;
    }
    // The window pixel of the point (x, 0, 0) seen from the start camera.
    static int column(float x) {
        return int((1 + x / 6 / (std::tan(20 * M_PI / 180) * windowWidth / windowHeight)) / 2 *
                   windowWidth);
    }
    // A frame; the window's pixel of (x, 0, 0).
    static Image frameAt(float x) {
        runFrame();
        glFinish();
        return pixel(0, column(x), windowHeight / 2);
    }
    // One item of the active scene described (path, animation, view) and drawn.
    static void showItem(int index) {
        Mat4 projection;
        viewProjection(projection, camera.width, camera.height);
        drawItem(describeItem(index), projection);
    }
};

} // namespace

// Scene 1 draws through the glow whatever the toggle; scene 2 without it straight into
// the window.
TEST_F(Frame, EachSceneDrawsItsOwnItemsThroughItsOwnTarget) {
    Image centre = frameAt(0);
    EXPECT_TRUE(showFlags.bloomEnabled);
    EXPECT_TRUE(centre[0] > 240 && centre[1] < 10); // the scene-2 square there is not drawn
    // The scene went into the scene target, cleared to white around the square.
    EXPECT_EQ(pixel(renderer.sceneFbo, 5, 5), Image(3, 255));

    timeline.levelTwoActive = true, showFlags.bloomEnabled = false;
    // Mark the scene target: a frame without the glow must leave it alone.
    glBindFramebuffer(GL_FRAMEBUFFER, renderer.sceneFbo);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0); // where the previous frame's glow pass left it
    centre = frameAt(0);
    EXPECT_FALSE(showFlags.bloomEnabled);
    EXPECT_TRUE(centre[1] > 240 && centre[0] < 10);
    EXPECT_EQ(pixel(0, 5, 5), Image(3, 255)); // the clear colour, no glow composite
    EXPECT_EQ(pixel(renderer.sceneFbo, column(0), windowHeight / 2), Image(3, 0));
}

TEST_F(Frame, NormalMapTurnsTheSurfaceTowardsTheLight) {
    timeline.levelTwoActive = true;
    int facing = frameAt(-2.5f)[0], leaning = frameAt(2.5f)[0];
    // Lit, but not blown out, when facing the viewer; brighter when leaning to the light.
    EXPECT_TRUE(facing > 120 && facing < 230) << facing;
    EXPECT_GT(leaning, facing + 40);
}

TEST_F(Frame, AnUnusablePathLeavesTheViewWithTheUserCameraAndTheSkyFollowsTheEye) {
    setCamera(0, 0, 6, 0, 0, 12, 0, 1, 0); // looking away from the squares
    CameraPath& levelOnePath = scenePath(kSceneOnePass);
    levelOnePath = {{{0, 0, 6}, {0, 0, 6}, {0, 0, 6}, {0, 0, 6}}, {}, 10, 0, {}, 0, true};
    pathPlayback.pathParam = 0.0f;
    Image onPath = frameAt(0); // the path looks at the red square
    EXPECT_TRUE(onPath[0] > 240 && onPath[1] < 10);
    levelOnePath.usable = false;
    EXPECT_EQ(frameAt(0), Image(3, 255)); // the user camera looks away

    setCamera(3, 4, 5, 3, 4, 0, 0, 1, 0);
    frameAt(0);
    const float* sky = renderItem(Sky).translation;
    EXPECT_EQ(std::vector<float>(sky, sky + 3), std::vector<float>({3, 4 - 80, 5}));
}

// An unknown shader kind draws with the program of the item drawn before it; the index
// count is the faces' but never more than the indices held.
TEST_F(Frame, DrawItemKeepsTheProgramForAnUnknownKindAndStaysInTheIndices) {
    GLuint query, count = 0;
    glGenQueries(1, &query);
    auto primitives = [&](int index) {
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        showItem(index);
        glEndQuery(GL_PRIMITIVES_GENERATED);
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        return int(count);
    };
    for (auto [before, program] :
         {std::pair{Red, renderer.flatProgram}, {FacingLit, renderer.normalMappingProgram}}) {
        EXPECT_EQ(primitives(before), 2);
        EXPECT_EQ(primitives(UnknownKind), 2);
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        EXPECT_EQ(GLuint(current), program);
    }
    EXPECT_EQ(primitives(ShortIndices), 2);
    renderItem(ShortIndices).faceCount = 1;
    EXPECT_EQ(primitives(ShortIndices), 1);
    renderItem(ShortIndices).faceCount = 5;
    glDeleteQueries(1, &query);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Frame, ReshapeToNoWidthOrHeightKeepsTheProjectionFinite) {
    int width = windowWidth, height = windowHeight;
    for (auto [w, h] : {std::pair{0, 480}, {640, 0}, {0, 0}}) {
        reshape(w, h);
        EXPECT_TRUE(camera.width > 0 && camera.height > 0) << w << "x" << h;
        FrameDescription frame;
        describeFrame(frame);
        for (float value : frame.projection)
            EXPECT_TRUE(std::isfinite(value)) << w << "x" << h;
    }
    reshape(width, height);
    EXPECT_EQ(std::pair(camera.width, camera.height), std::pair(width, height));
}

// After each draw exactly the arrays of the names its program uses are enabled.
TEST_F(Frame, EachDrawLeavesOnlyItsOwnArraysEnabled) {
    auto expectOnlyArraysOf = [](unsigned int program, const char* what) {
        std::vector<bool> used(16);
        for (const char* name : {"vertex", "normal", "texCoord", "tangent"})
            if (int location = glGetAttribLocation(program, name); location >= 0)
                used.at(size_t(location)) = true;
        for (GLuint location = 0; location < used.size(); location++) {
            GLint enabled = 0;
            glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
            EXPECT_EQ(enabled != 0, used[location]) << what << ", location " << location;
        }
    };
    timeline.levelTwoActive = true;
    showItem(FacingLit); // normal mapping: all four arrays
    expectOnlyArraysOf(renderer.normalMappingProgram, "normal mapping");
    showItem(Green); // flat: no normal, no tangent
    expectOnlyArraysOf(renderer.flatProgram, "flat after normal mapping");
    drawGlowPasses({true, timeline.brightness, showFlags.dd}, windowWidth, windowHeight);
    expectOnlyArraysOf(renderer.bloomProgram, "glow");
    showItem(FacingLit);
    expectOnlyArraysOf(renderer.normalMappingProgram, "normal mapping after the glow");
}

// Drawn last, the sky still wins an exact tie with an item, as it did drawn first: here
// the two squares, both turned to face up, lie on each other (the sky moved under the eye).
TEST_F(Frame, TheSkyDrawnLastStillWinsATieAsWhenDrawnFirst) {
    for (int item : {Sky, Red})
        renderItem(item).rotation[0] = -90;
    setCamera(0, 80, 0, 0, 0, 0, 0, 0, -1); // the sky 80 below the eye: on the red square
    runFrame(); // the sky is placed after it is copied: the second frame has it there
    runFrame();
    glFinish();
    for (int item : {Sky, Red})
        renderItem(item).rotation[0] = 0;
    EXPECT_EQ(pixel(renderer.sceneFbo, windowWidth / 2, windowHeight / 2), (Image{0, 0, 255}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A program is rebuilt from its files and swapped in only once it compiles and links;
// which programs a file feeds is listed.
TEST_F(Frame, ARebuiltProgramIsSwappedInOnlyWhenItLinks) {
    EXPECT_EQ(programsUsingFile("shader/normalmapping.fs"),
              (std::vector<int>{kNormalMappingProgram, kDaylightProgram, kHarbourProgram,
                                kWaterProgram, kVisitorProgram}));
    EXPECT_EQ(programsUsingFile("shader/flat.vs"), (std::vector<int>{kFlatProgram}));
    EXPECT_TRUE(programsUsingFile("shader/none.fs").empty());
    EXPECT_FALSE(rebuildProgram(-1));
    EXPECT_FALSE(rebuildProgram(kProgramCount));

    auto redSquare = [] {
        runFrame(); // the sky away from where the last test left it, under the eye
        runFrame();
        glFinish();
        return pixel(renderer.sceneFbo, column(0), windowHeight / 2);
    };
    const Image red = {255, 0, 0};
    ASSERT_EQ(redSquare(), red);

    // The same files, the flat program's fragment shader changed, in a folder of our own.
    TempFolder folder;
    const std::filesystem::path runFolder = std::filesystem::current_path();
    std::filesystem::create_directory(folder.file("shader"));
    std::filesystem::copy_file(runFolder / "shader/flat.vs", folder.file("shader/flat.vs"));
    std::filesystem::current_path(folder.path);
    unsigned int flat = programName(kFlatProgram);
    writeText("shader/flat.fs", "#version 130\nout vec4 fragColor;\nvoid main() { oops }\n");
    EXPECT_FALSE(rebuildProgram(kFlatProgram)) << "does not compile";
    EXPECT_EQ(programName(kFlatProgram), flat);
    EXPECT_EQ(renderer.flatProgram, flat);
    EXPECT_EQ(redSquare(), red) << "the old program still draws";

    writeText("shader/flat.fs",
              "#version 130\nout vec4 fragColor;\nvoid main() { fragColor = vec4(0, 1, 0, 1); }\n");
    EXPECT_TRUE(rebuildProgram(kFlatProgram));
    EXPECT_NE(programName(kFlatProgram), flat);
    EXPECT_EQ(redSquare(), (Image{0, 255, 0})) << "the new one draws";

    std::filesystem::current_path(runFolder);
    EXPECT_TRUE(rebuildProgram(kFlatProgram));
    EXPECT_EQ(redSquare(), red);
    // The glow's program, rebuilt, looks its locations up again.
    renderer.bloomFirstTextureLoc = -7;
    EXPECT_TRUE(rebuildProgram(kBloomProgram));
    EXPECT_EQ(renderer.bloomFirstTextureLoc,
              glGetUniformLocation(renderer.bloomProgram, "firstTexture"));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
