// Matrix and vector math through what the matrices do to points: aliasing, inverses, the
// order of transforms, and where the camera and the projections put known points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "math/vecmath.h"

namespace {

// The point (x, y, z, 1) through m, divided by its w.
void expectMaps(const float* m, Vec3 p, std::vector<float> want) {
    float out[4];
    for (int r = 0; r < 4; r++)
        out[r] = m[r] * p.x + m[4 + r] * p.y + m[8 + r] * p.z + m[12 + r];
    for (int k = 0; k < 3; k++)
        EXPECT_NEAR(out[k] / out[3], want[size_t(k)], 1e-5) << p.x << " " << p.y << " " << p.z;
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
    EXPECT_EQ(0, std::memcmp(aliasA, separate, sizeof(Mat4)));
    EXPECT_EQ(0, std::memcmp(aliasB, separate, sizeof(Mat4)));
}

TEST(Matrix, TransformsApplyInTheOrderWrittenAndUndoThemselves) {
    // x onto y about z, y onto z about x, z onto x about y.
    for (auto [ax, ay, az, from, to] : {std::tuple{0, 0, 90, Vec3{1, 0, 0}, Vec3{0, 1, 0}},
                                        {90, 0, 0, Vec3{0, 1, 0}, Vec3{0, 0, 1}},
                                        {0, 90, 0, Vec3{0, 0, 1}, Vec3{1, 0, 0}}}) {
        Mat4 rotation;
        identityMatrix(rotation);
        rotateModel(rotation, float(ax), float(ay), float(az));
        expectMaps(rotation, from, {to.x, to.y, to.z});
    }
    Mat4 modelMatrix;
    // Rz * Ry * Rx: x first takes y onto z, which z then leaves alone.
    identityMatrix(modelMatrix);
    rotateModel(modelMatrix, 90, 0, 90);
    expectMaps(modelMatrix, {0, 1, 0}, {0, 0, 1});
    // Post-multiplied: the point is rotated first, then moved.
    identityMatrix(modelMatrix);
    translateMatrix(modelMatrix, 5, 0, 0);
    rotateModel(modelMatrix, 0, 0, 90);
    expectMaps(modelMatrix, {1, 0, 0}, {5, 1, 0});

    identityMatrix(modelMatrix);
    translateMatrix(modelMatrix, 1, -2, 3);
    rotateModel(modelMatrix, 30, 40, 50);
    rotateModel(modelMatrix, -30, 0, 0);
    rotateModel(modelMatrix, 0, -40, 0);
    rotateModel(modelMatrix, 0, 0, -50);
    translateMatrix(modelMatrix, -1, 2, -3);
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(modelMatrix[i], i % 5 == 0, 1e-6) << i;
}

TEST(Matrix, LookAtPutsTheCentreAheadOnTheNegativeZAxis) {
    Mat4 m;
    lookAt(m, 1, 2, 3, 4, 6, 3, 0, 0, 1);
    expectMaps(m, {1, 2, 3}, {0, 0, 0});
    expectMaps(m, {4, 6, 3}, {0, 0, -5});
    expectMaps(m, {1, 2, 4}, {0, 1, 0}); // up stays up
    expectMaps(m, {1.8f, 1.4f, 3}, {1, 0, 0});
    // Centre at the eye: no division by zero, the first three rows zero.
    lookAt(m, 1, 2, 3, 1, 2, 3, 0, 1, 0);
    for (int i = 0; i < 16; i++)
        EXPECT_TRUE(std::isfinite(m[i]) && (i % 4 == 3 || m[i] == 0.0f)) << i;
    EXPECT_EQ(m[15], 1.0f);
}

TEST(Matrix, ProjectionsMapTheirVolumeOntoTheCube) {
    Mat4 projection, orthoProjection;
    perspective(projection, 90.0f, 2.0f, 1.0f, 3000.0f); // twice as wide as high
    expectMaps(projection, {2, 1, -1}, {1, 1, -1});
    expectMaps(projection, {-2 * 3000, -3000, -3000}, {-1, -1, 1});

    // Pixels from the top-left corner; the near and far planes at depth -1 and 1.
    ortho(orthoProjection, 640, 480, -10000, 40000);
    expectMaps(orthoProjection, {0, 0, 10000}, {-1, 1, -1});
    expectMaps(orthoProjection, {640, 480, -40000}, {1, -1, 1});
}

} // namespace
