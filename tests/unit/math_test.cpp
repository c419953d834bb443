// Matrix and vector math: the cases where a slip in index order or sign shows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "math/vecmath.h"

namespace {

TEST(Matrix, MultiplyMayWriteIntoEitherInput) {
    Mat4 a, b, separate, aliasA, aliasB;
    for (int i = 0; i < 16; i++) {
        a[i] = float(i + 1) * 0.5f;
        b[i] = float(16 - i) * 0.25f - 1.0f;
    }
    multiplyMatrix(separate, a, b);
    std::memcpy(aliasA, a, sizeof(Mat4));
    multiplyMatrix(aliasA, aliasA, b);
    std::memcpy(aliasB, b, sizeof(Mat4));
    multiplyMatrix(aliasB, a, aliasB);
    EXPECT_EQ(0, std::memcmp(aliasA, separate, sizeof(Mat4)));
    EXPECT_EQ(0, std::memcmp(aliasB, separate, sizeof(Mat4)));
}

TEST(Matrix, ProductIsColumnMajorAndTranslatePostMultiplies) {
    // Translation times scale: the translation column survives unscaled.
    Mat4 t, s, out;
    identityMatrix(t);
    t[12] = 5;
    identityMatrix(s);
    s[0] = 2;
    multiplyMatrix(out, t, s);
    EXPECT_FLOAT_EQ(out[0], 2);
    EXPECT_FLOAT_EQ(out[12], 5);
    multiplyMatrix(out, s, t);
    EXPECT_FLOAT_EQ(out[12], 10);

    // A translation after a rotation moves along the rotated axes.
    identityMatrix(modelMatrix);
    rotateModel(0, 0, 90);
    translateMatrix(modelMatrix, 1, 0, 0);
    EXPECT_NEAR(modelMatrix[12], 0, 1e-6);
    EXPECT_NEAR(modelMatrix[13], 1, 1e-6);
}

TEST(Matrix, RotationAxesAndOrder) {
    struct Case {
        float ax, ay, az;
        int plusOne, minusOne; // elements that become +1 and -1
    } cases[] = {{0, 0, 90, 1, 4}, {90, 0, 0, 6, 9}, {0, 90, 0, 8, 2}};
    for (const Case& c : cases) {
        identityMatrix(modelMatrix);
        rotateModel(c.ax, c.ay, c.az);
        EXPECT_NEAR(modelMatrix[c.plusOne], 1, 1e-6) << c.ax << " " << c.ay << " " << c.az;
        EXPECT_NEAR(modelMatrix[c.minusOne], -1, 1e-6) << c.ax << " " << c.ay << " " << c.az;
    }
    // Rz * Ry * Rx: x first takes y onto z, which z then leaves alone.
    identityMatrix(modelMatrix);
    rotateModel(90, 0, 90);
    EXPECT_NEAR(modelMatrix[4], 0, 1e-6);
    EXPECT_NEAR(modelMatrix[5], 0, 1e-6);
    EXPECT_NEAR(modelMatrix[6], 1, 1e-6);
}

TEST(Matrix, LookAt) {
    Mat4 m, identity;
    identityMatrix(identity);
    lookAt(m, 0, 0, 0, 0, 0, -1, 0, 1, 0);
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(m[i], identity[i], 1e-6) << i;
    // The point looked at lands on the negative z axis at the eye distance.
    lookAt(m, 0, 0, 6, 0, 0, 0, 0, 1, 0);
    EXPECT_NEAR(m[14], -6, 1e-5);

    // Centre at the eye: finite, the upper three rows zero.
    lookAt(m, 1, 2, 3, 1, 2, 3, 0, 1, 0);
    for (int i = 0; i < 16; i++) {
        EXPECT_TRUE(std::isfinite(m[i])) << i;
        if (i % 4 != 3) {
            EXPECT_EQ(m[i], 0.0f) << i;
        }
    }
    EXPECT_EQ(m[15], 1.0f);
}

TEST(Matrix, PerspectiveAndOrthoElements) {
    float savedAspect = aspectRatio;
    aspectRatio = 1.0f;
    perspective(90.0f, 1.0f, 3000.0f);
    EXPECT_NEAR(projection[0], 1, 1e-6);
    EXPECT_NEAR(projection[5], 1, 1e-6);
    EXPECT_EQ(projection[11], -1.0f);
    EXPECT_EQ(projection[15], 0.0f);
    EXPECT_NEAR(projection[10], -3001.0f / 2999.0f, 1e-6);
    EXPECT_NEAR(projection[14], -6000.0f / 2999.0f, 1e-6);
    aspectRatio = 2.0f; // a wide window narrows the horizontal scale
    perspective(90.0f, 1.0f, 3000.0f);
    EXPECT_NEAR(projection[0], 0.5f, 1e-6);
    EXPECT_NEAR(projection[5], 1.0f, 1e-6);
    aspectRatio = savedAspect;

    ortho(640, 480, -10000, 40000);
    EXPECT_FLOAT_EQ(orthoProjection[0], 0.003125f);
    EXPECT_FLOAT_EQ(orthoProjection[5], -1.0f / 240.0f);
    EXPECT_FLOAT_EQ(orthoProjection[10], -0.00004f);
    EXPECT_FLOAT_EQ(orthoProjection[12], -1.0f);
    EXPECT_FLOAT_EQ(orthoProjection[13], 1.0f);
    EXPECT_FLOAT_EQ(orthoProjection[14], -0.6f);
    EXPECT_FLOAT_EQ(orthoProjection[15], 1.0f);
}

} // namespace
