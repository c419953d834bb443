// The frame in a hidden window: which scene's items are drawn, into which target, from
// which eye, and how the normal-mapping program answers the light.
#include "app/app.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "render/render.h"
#include "render_gl_support.h"

namespace {

// Items, in list order.
enum { skyItem, redItem, greenItem, flatNormalItem, tiltedNormalItem };

// Window pixels of the three scene-2 squares (camera at z = 6 looking down -z).
const int centreX = 640, leftX = 228, rightX = 1052, middleY = 360;

class Frame : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        openGlWindow();
        static bool ready = false;
        if (ready)
            return;
        ready = true;
        cursorWarpEnabled = false;
        unsigned int white = solidTexture(255, 255, 255);
        unsigned int flatNormal = solidTexture(128, 128, 255);
        unsigned int towardsU = solidTexture(218, 128, 218); // leans towards +u, +x here

        RenderItem sky = squareItem(1.0f, 3, 1);
        sky.colorTexture = solidTexture(0, 0, 255);
        // Drawn first, so from where the previous frame's eye put it: start out of sight.
        sky.translation[1] = -80.0f;
        appendRenderItem(sky);
        RenderItem red = squareItem(1.0f, 3, 1);
        red.colorTexture = solidTexture(255, 0, 0);
        appendRenderItem(red);
        RenderItem green = squareItem(1.0f, 3, 2);
        green.colorTexture = solidTexture(0, 255, 0);
        appendRenderItem(green);
        RenderItem lit = squareItem(1.0f, 1, 2);
        lit.colorTexture = white;
        lit.bumpTexture = flatNormal;
        lit.translation[0] = -2.5f;
        appendRenderItem(lit);
        lit.bumpTexture = towardsU;
        lit.translation[0] = 2.5f;
        appendRenderItem(lit);

        skyboxModel.firstItem = skyItem;
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
        levelOnePath.usable = false;
        levelTwoPath.usable = false;
        levelTwoActive = false;
        bloomEnabled = false;
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

TEST_F(Frame, SceneTwoWithGlowAtBrightnessZeroShowsThePlainScene) {
    levelTwoActive = true;
    Rgb plain = frameAt(leftX, middleY);
    bloomEnabled = true;
    brightness = 0.0f; // what the scene switch leaves
    Rgb glowed = frameAt(leftX, middleY);
    EXPECT_NEAR(glowed.r, plain.r, 1);
    EXPECT_NEAR(glowed.g, plain.g, 1);
    EXPECT_GT(glowed.sum(), 300); // no black flash
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
    const RenderItem& sky = renderItem(skyItem);
    EXPECT_FLOAT_EQ(sky.translation[0], 3.0f);
    EXPECT_FLOAT_EQ(sky.translation[1], 4.0f - 80.0f);
    EXPECT_FLOAT_EQ(sky.translation[2], 5.0f);
}

TEST_F(Frame, DisplayAdvancesSpinAndPathByTheFrameFactor) {
    float spin = spinAngle;
    pathParam = 0.0f;
    display();
    EXPECT_FLOAT_EQ(spinAngle, spin + 0.2f * frameTimer.frameFactor);
    EXPECT_FLOAT_EQ(pathParam, 0.01f * frameTimer.frameFactor);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
