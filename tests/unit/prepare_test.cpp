// Model preparation without GL: normals, tangents, render items and their ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <unistd.h>

#include "model/model.h"

namespace {

ModelObject makeObject(std::vector<Vec3> positions, std::vector<ModelFace> faces,
                       std::vector<TexCoord> uv = {}) {
    ModelObject o;
    strcpy(o.name, "o");
    o.vertexCount = int32_t(positions.size());
    o.vertices = std::move(positions);
    o.faceCount = int32_t(faces.size());
    o.faces = std::move(faces);
    o.texCoordCount = int32_t(uv.size());
    o.texCoords = std::move(uv);
    return o;
}

ModelObject rightTriangle(std::vector<TexCoord> uv = {}) {
    return makeObject({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, std::move(uv));
}

Model modelOf(std::vector<ModelObject> objects, int shaderKind = 1, int passKind = 1) {
    Model m;
    m.itemTemplate.shaderKind = shaderKind;
    m.itemTemplate.passKind = passKind;
    m.objects = std::move(objects);
    m.objectCount = int32_t(m.objects.size());
    return m;
}

// Prepares a model the way start-up does after reading, without its messages.
void prepareQuietly(Model& m) {
    testing::internal::CaptureStdout();
    prepareObjects(m);
    testing::internal::GetCapturedStdout();
}

float length(const float* v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

} // namespace

TEST(Normals, RightTriangleFacesItsNegatedFaceNormal) {
    ModelObject o = rightTriangle();
    computeNormals(o);
    for (const Vec3& n : o.normals) {
        EXPECT_FLOAT_EQ(n.x, 0);
        EXPECT_FLOAT_EQ(n.y, 0);
        EXPECT_FLOAT_EQ(n.z, 1);
    }
}

TEST(Normals, LargerFacesWeighMore) {
    // Vertex 0 is shared by a small face in the xy plane and a face four times its area in
    // the xz plane: the result is the area-weighted sum, not the mean of unit normals.
    ModelObject o =
        makeObject({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {2, 0, 0}, {0, 0, 2}}, {{0, 1, 2}, {0, 3, 4}});
    computeNormals(o);
    // Face normals: (0, 0, -1) with length 1 and (0, 4, 0) with length 4; the sum, negated.
    float expected[3] = {0, -4, 1};
    float len = length(expected);
    EXPECT_NEAR(o.normals[0].x, 0, 1e-6);
    EXPECT_NEAR(o.normals[0].y, expected[1] / len, 1e-6);
    EXPECT_NEAR(o.normals[0].z, expected[2] / len, 1e-6);
    EXPECT_NEAR(o.normals[4].y, -1, 1e-6);
}

TEST(Normals, UnusedAndDegenerateVerticesGetAUnitFallback) {
    ModelObject o =
        makeObject({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {5, 5, 5}, {1, 1, 1}}, {{0, 1, 2}, {4, 4, 4}});
    computeNormals(o);
    for (const Vec3& n : o.normals) {
        EXPECT_FLOAT_EQ(n.x, 0);
        EXPECT_FLOAT_EQ(n.y, 1);
        EXPECT_FLOAT_EQ(n.z, 0);
    }
}

TEST(Tangents, FollowUAndFlipWithMirroredU) {
    struct Case {
        std::vector<TexCoord> uv;
        float x, w;
    } cases[] = {{{{0, 0}, {1, 0}, {0, 1}}, 1, 1}, {{{1, 0}, {0, 0}, {1, 1}}, -1, -1}};
    for (const Case& c : cases) {
        Model m = modelOf({rightTriangle(c.uv)});
        prepareQuietly(m);
        const RenderItem& item = renderItem(m.firstItem);
        ASSERT_EQ(item.tangents.size(), 12u);
        for (int v = 0; v < 3; v++) {
            EXPECT_FLOAT_EQ(item.tangents[4 * v], c.x);
            EXPECT_FLOAT_EQ(item.tangents[4 * v + 1], 0);
            EXPECT_FLOAT_EQ(item.tangents[4 * v + 2], 0);
            EXPECT_FLOAT_EQ(item.tangents[4 * v + 3], c.w);
        }
    }
}

TEST(Tangents, ZeroDeterminantGivesAUnitTangentAcrossTheNormal) {
    // All vertices share one (u, v): no texture frame at all.
    Model m = modelOf({rightTriangle({{0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}})});
    prepareQuietly(m);
    const RenderItem& item = renderItem(m.firstItem);
    for (int v = 0; v < 3; v++) {
        const float* t = &item.tangents[4 * v];
        const float* n = &item.normals[3 * v];
        EXPECT_NEAR(length(t), 1, 1e-6);
        EXPECT_NEAR(t[0] * n[0] + t[1] * n[1] + t[2] * n[2], 0, 1e-6);
        EXPECT_EQ(t[3], 1.0f);
    }
}

TEST(Tangents, RandomMeshesStayFiniteAndUnit) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> coord(-2, 2);
    std::uniform_int_distribution<int> index(0, 49);
    std::vector<Vec3> p(50);
    std::vector<TexCoord> uv(50);
    for (int i = 0; i < 50; i++) {
        p[size_t(i)] = {coord(rng), coord(rng), coord(rng)};
        // Coarse values make repeated coordinates, hence degenerate texture frames.
        uv[size_t(i)] = {std::round(coord(rng)), std::round(coord(rng))};
    }
    std::vector<ModelFace> f(120);
    for (ModelFace& face : f)
        face = {index(rng), index(rng), index(rng)};
    Model m = modelOf({makeObject(p, f, uv)});
    prepareQuietly(m);
    const RenderItem& item = renderItem(m.firstItem);
    for (int v = 0; v < 50; v++) {
        EXPECT_NEAR(length(&item.normals[3 * v]), 1, 1e-5);
        EXPECT_NEAR(length(&item.tangents[4 * v]), 1, 1e-5);
        EXPECT_TRUE(item.tangents[4 * v + 3] == 1 || item.tangents[4 * v + 3] == -1);
    }
}

TEST(RenderItems, EachModelOwnsAContiguousRangeInObjectOrder) {
    Model first = modelOf({rightTriangle(), rightTriangle()}, 1, 1);
    Model empty = modelOf({});
    Model second = modelOf({rightTriangle(), rightTriangle(), rightTriangle()}, 3, 2);
    second.objects[1].vertices[0].x = 42;

    int before = renderListSize();
    testing::internal::CaptureStdout();
    prepareObjects(first);
    std::string firstOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ(firstOut, "\nnumOfObjects: 2\narray index: " + std::to_string(before) + "\n");
    testing::internal::CaptureStdout();
    prepareObjects(empty);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    prepareQuietly(second);

    EXPECT_EQ(renderListSize(), before + 5);
    EXPECT_EQ(first.firstItem, before);
    EXPECT_EQ(first.itemCount, 2);
    EXPECT_EQ(empty.itemCount, 0);
    EXPECT_EQ(second.firstItem, first.firstItem + 2);
    EXPECT_EQ(second.itemCount, 3);
    EXPECT_EQ(renderItem(second.firstItem + 1).vertices[0], 42.0f);
    EXPECT_EQ(renderItem(second.firstItem).shaderKind, 3);
    EXPECT_EQ(renderItem(second.firstItem).passKind, 2);
    const RenderItem& item = renderItem(first.firstItem);
    EXPECT_EQ(item.vertexCount, 3);
    EXPECT_EQ(item.faceCount, 1);
    EXPECT_EQ(item.vertices[3], 1.0f);
    EXPECT_EQ(item.indices, (std::vector<uint32_t>{0, 1, 2}));

    setTranslation(second, 0, 0, 1000.0f);
    setRotation(second, 10, 20, 30);
    setTranslation(empty, 5, 5, 5);
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ(renderItem(first.firstItem + i).translation[2], 0.0f);
        EXPECT_EQ(renderItem(first.firstItem + i).rotation[1], 0.0f);
    }
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(renderItem(second.firstItem + i).translation[2], 1000.0f);
        EXPECT_EQ(renderItem(second.firstItem + i).rotation[1], 20.0f);
    }
}

TEST(RenderItems, UnknownMaterialAndMissingTexCoordsGiveZeros) {
    Model m = modelOf({rightTriangle({{0.25f, 0.75f}})});
    m.objects[0].materialIndex = -1;
    m.itemTemplate.colorTexture = 7; // left over from an earlier object
    prepareQuietly(m);
    const RenderItem& item = renderItem(m.firstItem);
    EXPECT_EQ(item.colorTexture, 0u);
    EXPECT_EQ(item.bumpTexture, 0u);
    EXPECT_EQ(item.texCoords, (std::vector<float>{0.25f, 0.75f, 0, 0, 0, 0}));

    Model named = modelOf({rightTriangle()});
    named.materials.resize(2);
    named.materialCount = 2;
    named.materials[1].colorTexture = 11;
    named.materials[1].bumpTexture = 12;
    named.objects[0].materialIndex = 1;
    prepareQuietly(named);
    EXPECT_EQ(renderItem(named.firstItem).colorTexture, 11u);
    EXPECT_EQ(renderItem(named.firstItem).bumpTexture, 12u);
}

TEST(RenderItemsDeathTest, OutOfRangeIndexIsReported) {
    // The message goes to stdout; send it where the death test looks.
    auto outOfRange = [](int index) {
        dup2(2, 1);
        renderItem(index);
    };
    EXPECT_EXIT(outOfRange(renderListSize()), testing::ExitedWithCode(1),
                "RenderList index [0-9]+ out of range");
    EXPECT_EXIT(outOfRange(-1), testing::ExitedWithCode(1), "RenderList index -1 out of range");
}
