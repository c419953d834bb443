// Matrix and vector math: the cases where a slip in index order or sign shows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "math/vecmath.h"

namespace {

void expectMatrixNear(const float* actual, const float* expected, float tolerance = 1e-6f) {
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

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
    expectMatrixNear(aliasA, separate, 0);
    expectMatrixNear(aliasB, separate, 0);
}

TEST(Matrix, ProductIsColumnMajor) {
    // A translation times a scale: the translation column must survive unscaled.
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
}

TEST(Matrix, TranslatePostMultiplies) {
    Mat4 m;
    identityMatrix(m);
    translateMatrix(m, 1, 2, 3);
    Mat4 expected;
    identityMatrix(expected);
    expected[12] = 1;
    expected[13] = 2;
    expected[14] = 3;
    expectMatrixNear(m, expected, 0);

    // A second translation after a rotation moves along the rotated axes.
    identityMatrix(modelMatrix);
    rotateModel(0, 0, 90);
    translateMatrix(modelMatrix, 1, 0, 0);
    EXPECT_NEAR(modelMatrix[12], 0, 1e-6);
    EXPECT_NEAR(modelMatrix[13], 1, 1e-6);
}

TEST(Matrix, RotationAxes) {
    identityMatrix(modelMatrix);
    rotateModel(0, 0, 90); // x onto y
    EXPECT_NEAR(modelMatrix[1], 1, 1e-6);
    EXPECT_NEAR(modelMatrix[4], -1, 1e-6);
    EXPECT_NEAR(modelMatrix[0], 0, 1e-6);
    EXPECT_NEAR(modelMatrix[5], 0, 1e-6);

    identityMatrix(modelMatrix);
    rotateModel(90, 0, 0); // y onto z
    EXPECT_NEAR(modelMatrix[6], 1, 1e-6);
    EXPECT_NEAR(modelMatrix[9], -1, 1e-6);

    identityMatrix(modelMatrix);
    rotateModel(0, 90, 0); // z onto x
    EXPECT_NEAR(modelMatrix[8], 1, 1e-6);
    EXPECT_NEAR(modelMatrix[2], -1, 1e-6);
}

TEST(Matrix, RotationOrderIsZThenYThenX) {
    // R = Rz * Ry * Rx applied to a column vector: x rotation first.
    identityMatrix(modelMatrix);
    rotateModel(90, 0, 90);
    // The y axis goes to z under Rx, and z stays put under Rz.
    EXPECT_NEAR(modelMatrix[4], 0, 1e-6);
    EXPECT_NEAR(modelMatrix[5], 0, 1e-6);
    EXPECT_NEAR(modelMatrix[6], 1, 1e-6);
}

TEST(Matrix, LookAtDownNegativeZIsIdentity) {
    Mat4 m, identity;
    lookAt(m, 0, 0, 0, 0, 0, -1, 0, 1, 0);
    identityMatrix(identity);
    expectMatrixNear(m, identity);
}

TEST(Matrix, LookAtMovesTheEyeToTheOrigin) {
    Mat4 m;
    lookAt(m, 0, 0, 6, 0, 0, 0, 0, 1, 0);
    // The point looked at lands on the negative z axis at the eye distance.
    float z = m[2] * 0 + m[6] * 0 + m[10] * 0 + m[14];
    EXPECT_NEAR(z, -6, 1e-5);
}

TEST(Matrix, LookAtWithCentreAtEyeStaysFinite) {
    Mat4 m;
    lookAt(m, 1, 2, 3, 1, 2, 3, 0, 1, 0);
    for (int i = 0; i < 16; i++)
        EXPECT_TRUE(std::isfinite(m[i])) << "element " << i;
    for (int row = 0; row < 3; row++)
        for (int col = 0; col < 4; col++)
            EXPECT_EQ(m[4 * col + row], 0.0f) << "row " << row << " col " << col;
    EXPECT_EQ(m[15], 1.0f);
}

TEST(Matrix, PerspectiveElements) {
    float savedAspect = aspectRatio;
    aspectRatio = 1.0f;
    perspective(90.0f, 1.0f, 3000.0f);
    EXPECT_NEAR(projection[0], 1, 1e-6);
    EXPECT_NEAR(projection[5], 1, 1e-6);
    EXPECT_EQ(projection[11], -1.0f);
    EXPECT_EQ(projection[15], 0.0f);
    EXPECT_NEAR(projection[10], -3001.0f / 2999.0f, 1e-6);
    EXPECT_NEAR(projection[14], -6000.0f / 2999.0f, 1e-6);

    // A wide window narrows the horizontal scale by the aspect.
    aspectRatio = 2.0f;
    perspective(90.0f, 1.0f, 3000.0f);
    EXPECT_NEAR(projection[0], 0.5f, 1e-6);
    EXPECT_NEAR(projection[5], 1.0f, 1e-6);
    aspectRatio = savedAspect;
}

TEST(Matrix, OrthoElements) {
    ortho(640, 480, -10000, 40000);
    EXPECT_FLOAT_EQ(orthoProjection[0], 0.003125f);
    EXPECT_FLOAT_EQ(orthoProjection[5], -1.0f / 240.0f);
    EXPECT_FLOAT_EQ(orthoProjection[10], -0.00004f);
    EXPECT_FLOAT_EQ(orthoProjection[12], -1.0f);
    EXPECT_FLOAT_EQ(orthoProjection[13], 1.0f);
    EXPECT_FLOAT_EQ(orthoProjection[14], -0.6f);
    EXPECT_FLOAT_EQ(orthoProjection[15], 1.0f);
    // The top-left pixel corner maps to the top-left of clip space.
    EXPECT_FLOAT_EQ(orthoProjection[0] * 0 + orthoProjection[12], -1.0f);
    EXPECT_FLOAT_EQ(orthoProjection[5] * 480 + orthoProjection[13], -1.0f);
}

TEST(Vector, CrossAndNormalize) {
    Vec3 z = cross(Vec3{1, 0, 0}, Vec3{0, 1, 0});
    EXPECT_EQ(z.z, 1.0f);
    EXPECT_EQ(z.x, 0.0f);
    Vec3 n = normalize(Vec3{3, 0, 4});
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
}

} // namespace
