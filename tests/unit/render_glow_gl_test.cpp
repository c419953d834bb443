// The glow maths: known scene images through the two passes, read back from the window.
#include <cmath>

#include "app/app.h"
#include "render/render.h"
#include "render_gl_support.h"

namespace {

// Scene: dark grey, a white square (bright: glows) and a mid-grey square (not bright).
const int squareX = 200, squareY = 400, squareSize = 64;
const int greyX = 900, greyY = 200;
const unsigned char darkLevel = 51; // 0.2

void paintScene() {
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFbo);
    glViewport(0, 0, windowWidth, windowHeight);
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(squareX, squareY, squareSize, squareSize);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(greyX, greyY, squareSize, squareSize);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

std::vector<unsigned char> sceneImage() {
    paintScene();
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return readImage();
}

// One frame's glow passes over the painted scene; the window's picture.
std::vector<unsigned char> glowImage(float withBrightness, float withDd) {
    paintScene();
    brightness = withBrightness;
    dd = withDd;
    drawGlowPasses();
    glFinish();
    readWindow();
    return readImage();
}

int at(const std::vector<unsigned char>& image, int x, int y) {
    return image[(size_t(y) * size_t(windowWidth) + size_t(x)) * 3]; // red channel
}

int maxDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int most = 0;
    for (size_t i = 0; i < a.size(); i++)
        most = std::max(most, std::abs(int(a[i]) - int(b[i])));
    return most;
}

long totalDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    long sum = 0;
    for (size_t i = 0; i < a.size(); i++)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum;
}

// How many pixels right of the white square the glow lifts above the background.
int glowReach(const std::vector<unsigned char>& picture) {
    int count = 0;
    for (int x = squareX + squareSize; x < windowWidth; x++)
        count += at(picture, x, squareY + squareSize / 2) > darkLevel + 1 ? 1 : 0;
    return count;
}

class GlowPasses : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        openGlWindow();
        static bool ready = false;
        if (ready)
            return;
        ready = true;
        testing::internal::CaptureStdout();
        setupShaders();
        setupRenderTargets();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(programLinked(bloomProgram));
    }
};

// Just outside the white square's right edge, at its middle height.
const int nearX = squareX + squareSize + 8, nearY = squareY + squareSize / 2;
const int farX = 700, farY = 600;

TEST_F(GlowPasses, BrightnessZeroGivesThePlainScene) {
    std::vector<unsigned char> scene = sceneImage();
    std::vector<unsigned char> picture = glowImage(0.0f, 0.005f);
    EXPECT_LE(maxDifference(scene, picture), 1);
    // Not flipped or shifted: the square lands where it was drawn.
    EXPECT_EQ(at(picture, squareX + 1, squareY + 1), 255);
    EXPECT_EQ(at(picture, squareX - 1, squareY - 1), darkLevel);
    EXPECT_EQ(at(picture, squareX + squareSize - 2, squareY + squareSize - 2), 255);
}

TEST_F(GlowPasses, OnlyBrightPartsGlow) {
    std::vector<unsigned char> picture = glowImage(1.0f, 0.005f);
    EXPECT_GT(at(picture, nearX, nearY), darkLevel + 20);
    EXPECT_GT(at(picture, squareX + squareSize / 2, squareY - 8), darkLevel + 20);
    EXPECT_LE(std::abs(at(picture, farX, farY) - darkLevel), 1);
    // The mid-grey square is not bright enough to glow.
    EXPECT_LE(std::abs(at(picture, greyX + squareSize + 8, greyY + squareSize / 2) - darkLevel), 1);
}

TEST_F(GlowPasses, LargerBrightnessIsBrighter) {
    int previousNear = -1, previousFar = -1;
    for (float b : {0.0f, 0.5f, 1.0f, 1.5f, 2.0f}) {
        std::vector<unsigned char> picture = glowImage(b, 0.005f);
        int nearValue = at(picture, nearX, nearY);
        int farValue = at(picture, farX, farY);
        EXPECT_GT(nearValue, previousNear) << "brightness " << b;
        EXPECT_GE(farValue, previousFar) << "brightness " << b;
        previousNear = nearValue;
        previousFar = farValue;
    }
    // The end of a fade is white, and the washing out starts past 1.
    std::vector<unsigned char> full = glowImage(2.0f, 0.005f);
    EXPECT_EQ(at(full, farX, farY), 255);
    EXPECT_EQ(at(full, nearX, nearY), 255);
    EXPECT_GT(at(glowImage(1.5f, 0.005f), farX, farY), darkLevel + 50);
}

TEST_F(GlowPasses, DdChangesTheGlow) {
    std::vector<unsigned char> normal = glowImage(1.0f, 0.005f);
    std::vector<unsigned char> wider = glowImage(1.0f, 0.0055f);
    std::vector<unsigned char> narrower = glowImage(1.0f, 0.0045f);
    // One key press changes a visible amount of the picture.
    EXPECT_GT(totalDifference(normal, wider), 20000);
    EXPECT_GT(totalDifference(normal, narrower), 20000);
    // A larger step reaches further from the bright square.
    EXPECT_GT(glowReach(wider), glowReach(normal));
    EXPECT_GT(glowReach(normal), glowReach(narrower));
}

TEST_F(GlowPasses, LeavesTheWindowBoundAndTheGlowProgramCurrent) {
    glowImage(1.0f, 0.005f);
    GLint framebuffer = -1, program = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_EQ(program, int(bloomProgram));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
