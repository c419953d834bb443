// The frame in a hidden window: which scene's items are drawn, into which target, from
// which eye, and how the normal-mapping program answers the light.
#include "camera/camera.h"
#include "campath/campath.h"
#include "model/model.h"
#include "render/flags.h"
#include "render/internal.h"
#include "render/render.h"
#include "render/scene.h"
#include "render/timeline.h"
#include "render/timer.h"
#include "render_gl_support.h"

namespace {

struct Rgb {
    int r, g, b;
    int sum() const { return r + g + b; }
};

// One pixel of the bound read framebuffer; x, y from the bottom-left.
Rgb readPixel(int x, int y) {
    unsigned char p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

// Window pixels of the three scene-2 squares (camera at z = 6 looking down -z).
const int centreX = 640, leftX = 228, rightX = 1052, middleY = 360;

class Frame : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        openGlWindow();
        cursorWarpEnabled = false;
        // Item 0 is the sky: drawn first, it sits where the previous frame's eye put it, so
        // it starts out of sight. Then a red scene-1 square, a green scene-2 square at the
        // same place, and two lit scene-2 squares left and right.
        auto add = [](int shader, int pass, unsigned int color, unsigned int bump, float x,
                      float y) {
            RenderItem item = squareItem(1.0f, shader, pass);
            item.colorTexture = color;
            item.bumpTexture = bump;
            item.translation[0] = x;
            item.translation[1] = y;
            appendRenderItem(item);
        };
        unsigned int white = solidTexture(255, 255, 255);
        add(3, 1, solidTexture(0, 0, 255), 0, 0, -80.0f);
        add(3, 1, solidTexture(255, 0, 0), 0, 0, 0);
        add(3, 2, solidTexture(0, 255, 0), 0, 0, 0);
        add(1, 2, white, solidTexture(128, 128, 255), -2.5f, 0);
        add(1, 2, white, solidTexture(218, 128, 218), 2.5f, 0); // leans towards +u, +x here
        skyboxModel.firstItem = 0;
        skyboxModel.itemCount = 1;
        testing::internal::CaptureStdout();
        setupShaders();
        setupRenderTargets();
        testing::internal::GetCapturedStdout();
        startClock(demoClock);
        startFrameTimer(frameTimer);
    }

    void SetUp() override {
        // The user camera looks at the squares; no path is loaded.
        camera.width = windowWidth;
        camera.height = windowHeight;
        cursorMoved(windowWidth / 2, windowHeight / 2);
        setCamera(0, 0, 6, 0, 0, 0, 0, 1, 0);
        cameraPathMode = true;
        levelOnePath.usable = levelTwoPath.usable = levelTwoActive = bloomEnabled = false;
        brightness = 1.0f;
        dd = 0.005f;
    }

    static Rgb frameAt(int x, int y) {
        renderFrame();
        glFinish();
        readWindow();
        return readPixel(x, y);
    }
};

TEST_F(Frame, SceneOneDrawsItsItemsThroughTheGlowWhateverTheToggle) {
    Rgb centre = frameAt(centreX, middleY);
    EXPECT_TRUE(bloomEnabled);
    EXPECT_GT(centre.r, 240);
    EXPECT_LT(centre.g, 10); // the scene-2 square at the same place is not drawn
    // The scene went into the scene target, cleared to white around the square.
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFbo);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    EXPECT_GT(readPixel(centreX, middleY).r, 240);
    EXPECT_EQ(readPixel(5, 5).sum(), 3 * 255);
}

TEST_F(Frame, SceneTwoWithoutGlowDrawsStraightIntoTheWindow) {
    levelTwoActive = true;
    // Mark the scene target: a frame without the glow must leave it alone.
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFbo);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0); // where the previous frame's glow pass left it
    Rgb centre = frameAt(centreX, middleY);
    EXPECT_FALSE(bloomEnabled);
    EXPECT_GT(centre.g, 240);
    EXPECT_LT(centre.r, 10);
    EXPECT_EQ(readPixel(5, 5).sum(), 3 * 255); // the clear colour, no glow composite
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFbo);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(readPixel(centreX, middleY).sum(), 0);
}

TEST_F(Frame, NormalMapTurnsTheSurfaceTowardsTheLight) {
    levelTwoActive = true;
    Rgb facing = frameAt(leftX, middleY);
    Rgb leaning = frameAt(rightX, middleY);
    // Lit, but not blown out, when facing the viewer; brighter when leaning to the light.
    EXPECT_GT(facing.r, 120);
    EXPECT_LT(facing.r, 230);
    EXPECT_GT(leaning.r, facing.r + 40);
}

TEST_F(Frame, AnUnusablePathLeavesTheViewWithTheUserCamera) {
    setCamera(0, 0, 6, 0, 0, 12, 0, 1, 0); // looking away from the squares
    levelOnePath.usable = true;
    levelOnePath.amount = 10;
    levelOnePath.nodeIndex = 0;
    for (int i = 0; i < 4; i++) {
        levelOnePath.posWindow[i] = {0, 0, 6};
        levelOnePath.viewWindow[i] = {0, 0, 0};
    }
    pathParam = 0.0f;
    Rgb onPath = frameAt(centreX, middleY); // the path looks at the red square
    EXPECT_GT(onPath.r, 240);
    EXPECT_LT(onPath.g, 10);

    levelOnePath.usable = false;
    EXPECT_GT(frameAt(centreX, middleY).sum(), 3 * 240); // the user camera looks away
}

TEST_F(Frame, TheSkyBoxFollowsTheEye) {
    setCamera(3, 4, 5, 3, 4, 0, 0, 1, 0);
    frameAt(centreX, middleY);
    const RenderItem& sky = renderItem(0);
    EXPECT_FLOAT_EQ(sky.translation[0], 3.0f);
    EXPECT_FLOAT_EQ(sky.translation[1], 4.0f - 80.0f);
    EXPECT_FLOAT_EQ(sky.translation[2], 5.0f);
}

} // namespace
