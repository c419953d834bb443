// The glow maths: known scene images through the two passes, read back from the window.
#include <cmath>

#include "render/flags.h"
#include "render/internal.h"
#include "render/render.h"
#include "render/timeline.h"
#include "render_gl_support.h"

namespace {

// Scene: dark grey, a white square (bright: glows) and a mid-grey square (not bright).
const int squareX = 200, squareY = 400, squareSize = 64;
const int greyX = 900, greyY = 200;
const unsigned char darkLevel = 51; // 0.2

void paintScene() {
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFbo);
    glViewport(0, 0, windowWidth, windowHeight);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    struct {
        int x, y, w, h;
        float level;
    } areas[] = {{0, 0, windowWidth, windowHeight, 0.2f},
                 {squareX, squareY, squareSize, squareSize, 1.0f},
                 {greyX, greyY, squareSize, squareSize, 0.5f}};
    for (const auto& a : areas) {
        glScissor(a.x, a.y, a.w, a.h);
        glClearColor(a.level, a.level, a.level, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
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

// The sum of all channel differences; the largest one in *most.
long difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
                int* most = nullptr) {
    long sum = 0;
    for (size_t i = 0; i < a.size(); i++) {
        int d = std::abs(int(a[i]) - int(b[i]));
        sum += d;
        if (most)
            *most = std::max(*most, d);
    }
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
    paintScene();
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    std::vector<unsigned char> scene = readImage(), picture = glowImage(0.0f, 0.005f);
    int most = 0;
    difference(scene, picture, &most);
    EXPECT_LE(most, 1);
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
    // The next frame starts from the window, without a GL error.
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlowPasses, LargerBrightnessIsBrighterAndTwoIsWhite) {
    const float levels[] = {0.0f, 0.5f, 1.0f, 1.5f, 2.0f};
    int nearValue[5], farValue[5];
    for (int i = 0; i < 5; i++) {
        std::vector<unsigned char> picture = glowImage(levels[i], 0.005f);
        nearValue[i] = at(picture, nearX, nearY);
        farValue[i] = at(picture, farX, farY);
        if (i > 0) {
            EXPECT_GT(nearValue[i], nearValue[i - 1]) << "brightness " << levels[i];
            EXPECT_GE(farValue[i], farValue[i - 1]) << "brightness " << levels[i];
        }
    }
    // The washing out starts past 1; the end of a fade is white.
    EXPECT_GT(farValue[3], darkLevel + 50);
    EXPECT_EQ(farValue[4], 255);
    EXPECT_EQ(nearValue[4], 255);
}

TEST_F(GlowPasses, DdChangesTheGlow) {
    std::vector<unsigned char> normal = glowImage(1.0f, 0.005f);
    std::vector<unsigned char> wider = glowImage(1.0f, 0.0055f);
    std::vector<unsigned char> narrower = glowImage(1.0f, 0.0045f);
    // One key press changes a visible amount of the picture.
    EXPECT_GT(difference(normal, wider), 20000);
    EXPECT_GT(difference(normal, narrower), 20000);
    // A larger step reaches further from the bright square.
    EXPECT_GT(glowReach(wider), glowReach(normal));
    EXPECT_GT(glowReach(normal), glowReach(narrower));
}

} // namespace
