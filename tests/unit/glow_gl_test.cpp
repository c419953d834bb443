// The glow against the one it replaced: frames of the real show, drawn on the fixed step
// in a hidden 1280 x 720 window, composited by drawGlowPasses and by the former two
// full-size passes (their shader kept as bloom_reference.fs beside this file) from the
// same scene image. The pictures may differ by rounding and by how the blur is sampled,
// never by more than an RMSE of 0.005 on 0..1 channels.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/startup.h"
#include "camera/camera.h"
#include "files.h"
#include "gl_items.h"
#include "math/vecmath.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/internal.h"
#include "render/render.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/timeline.h"
#include "show/timer.h"

namespace {

const int kWidth = 1280, kHeight = 720;

struct Reference {
    unsigned int program = 0, vertexShader = 0, fragmentShader = 0;
    int renderpass = -1, firstTexture = -1, secondTexture = -1, brightness = -1, dd = -1,
        projection = -1, modelView = -1, normal = -1, texCoord = -1;
} reference;

// The show as the demo starts it, on the fixed step, without full screen.
class ShowWindow : public testing::Environment {
    void SetUp() override {
        setFixedStep(60);
        camera.width = kWidth;
        camera.height = kHeight;
        openHiddenWindow("Kestrune glow test", kWidth, kHeight);
        setCamera(0, 0, 6, 0, 1.5f, 5, 0, 1, 0);
        cursorMoved(kWidth / 2, kHeight / 2);
        setupGraphics();
        std::string run = envFolder("KESTRUNE_RUN_DIR");
        ASSERT_EQ(chdir(run.c_str()), 0) << run;
        loadSceneModels();
        setupShaders(kWidth, kHeight);
        showFlags.cameraPathMode = true;
        loadScenePaths();
        setupRenderTargets(kWidth, kHeight);
        showFlags.bloomEnabled = false;
        beginShow();

        Reference& f = reference;
        std::string fs = envFolder("KESTRUNE_SOURCE_DIR") + "/tests/unit/bloom_reference.fs";
        f.program =
            buildProgram(f.vertexShader, f.fragmentShader, "shader/bloom.vs", fs.c_str(), "", true);
        ASSERT_TRUE(programLinked(f.program)) << fs;
        f.renderpass = glGetUniformLocation(f.program, "renderpass");
        f.firstTexture = glGetUniformLocation(f.program, "firstTexture");
        f.secondTexture = glGetUniformLocation(f.program, "secondTexture");
        f.brightness = glGetUniformLocation(f.program, "brightness");
        f.dd = glGetUniformLocation(f.program, "dd");
        f.projection = glGetUniformLocation(f.program, "projectionMatrix");
        f.modelView = glGetUniformLocation(f.program, "modelViewMatrix");
        f.normal = glGetAttribLocation(f.program, "normal");
        f.texCoord = glGetAttribLocation(f.program, "texCoord");
    }
};
testing::Environment* const window = testing::AddGlobalTestEnvironment(new ShowWindow);

// The former glow: two full-size passes of the reference shader, from the scene target
// through glowFbo into the window, as they were drawn.
Image referenceGlow(const GlowParameters& glow) {
    const Renderer& r = renderer;
    const Reference& f = reference;
    Mat4 orthoProjection, quadView;
    ortho(orthoProjection, float(kWidth), float(kHeight), -10000.0f, 40000.0f);
    lookAt(quadView, 0, 0, 0, 0, 0, -1, 0, 1, 0);
    for (int pass = 1; pass <= 2; pass++) {
        glBindFramebuffer(GL_FRAMEBUFFER, pass == 1 ? r.glowFbo : 0);
        glViewport(0, 0, kWidth, kHeight);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, pass == 1 ? r.sceneFboTexture : r.glowFboTexture);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, r.sceneFboTexture);
        glUseProgram(f.program);
        glUniform1i(f.renderpass, pass);
        bindAttribute(r.quadVertexBuffer, 0, 4);
        bindAttribute(r.quadNormalBuffer, f.normal, 3);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, r.quadIndexBuffer);
        bindAttribute(r.quadTexCoordBuffer, f.texCoord, 2);
        disableUnfedAttributes();
        glUniform1i(f.firstTexture, 0);
        glUniform1i(f.secondTexture, 1);
        glUniform1f(f.brightness, glow.brightness);
        glUniform1f(f.dd, glow.dd);
        glUniformMatrix4fv(f.projection, 1, GL_FALSE, orthoProjection);
        glUniformMatrix4fv(f.modelView, 1, GL_FALSE, quadView);
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    }
    glFinish();
    return readImage(0, 0, 0, kWidth, kHeight);
}

Image currentGlow(const GlowParameters& glow) {
    drawGlowPasses(glow, kWidth, kHeight);
    glFinish();
    return readImage(0, 0, 0, kWidth, kHeight);
}

// Root mean square difference of two pictures, on channels from 0 to 1.
double rmse(const Image& a, const Image& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); i++) {
        double d = (double(a[i]) - double(b[i])) / 255.0;
        sum += d * d;
    }
    return std::sqrt(sum / double(a.size()));
}

// Runs the show up to frame (frames begun, as kestrune-capture numbers them) and draws that
// one; returns its glow parameters, as its description took them before the scene's end
// check moved them on.
GlowParameters drawShowFrame(int64_t frame) {
    showFlags.framesDrawn = false;
    while (fixedStepFrame() + 1 < frame) {
        showFrame();
        endFrame();
    }
    showFlags.framesDrawn = true;
    bool on = showFlags.bloomEnabled || !timeline.levelTwoActive;
    GlowParameters glow = {on, timeline.brightness, showFlags.dd};
    showFrame();
    glFinish();
    return glow;
}

} // namespace

// Frames of both scenes with the glow on: the room, the room while its end fade whitens
// it, the harbour as its end phase turns the glow on (brightness near 0) and in its fade;
// at one frame also the dd that three presses of o and of l, and five of l, give. (Much
// wider, the former glow's sparse taps draw ghost lines that a blur along y on reduced
// rows cannot follow: three more presses of o pass 0.005.)
TEST(Glow, StaysWithinRmse0005OfTheFullSizeGlowInBothScenesFadesAndDdSteps) {
    const struct {
        int64_t frame;
        std::vector<float> dds;
        bool glowShows; // the room's lamps and pillar: far more than rounding
    } frames[] = {{30, {0.005f}, true},
                  {3000, {0.005f, 0.0065f, 0.0035f, 0.0025f}, true},
                  {6950, {0.005f}, true},
                  {10800, {0.005f}, false},
                  {10950, {0.005f}, false}};
    for (const auto& f : frames) {
        GlowParameters glow = drawShowFrame(f.frame);
        ASSERT_TRUE(glow.bloomEnabled) << "frame " << f.frame << " has no glow";
        for (float dd : f.dds) {
            glow.dd = dd;
            Image now = currentGlow(glow);
            Image before = referenceGlow(glow);
            double difference = rmse(now, before);
            printf("frame %lld, brightness %.2f, dd %.4f: RMSE %.5f\n", (long long)f.frame,
                   double(glow.brightness), double(dd), difference);
            EXPECT_LT(difference, 0.005) << "frame " << f.frame << ", dd " << dd;
            // Not alike by accident: the glow itself shows in the picture.
            if (f.glowShows) {
                EXPECT_GT(rmse(now, readImage(renderer.sceneFbo, 0, 0, kWidth, kHeight)), 0.02);
            }
        }
        endFrame();
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
