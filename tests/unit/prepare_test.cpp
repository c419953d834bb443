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

// Prepares the way start-up does after reading; what it prints goes to *printed.
Model prepared(std::vector<ModelObject> objects, int shaderKind = 1, int passKind = 1,
               std::vector<ModelMaterial> materials = {}, std::string* printed = nullptr) {
    Model m;
    m.itemTemplate.shaderKind = shaderKind;
    m.itemTemplate.passKind = passKind;
    m.objects = std::move(objects);
    m.objectCount = int32_t(m.objects.size());
    m.materials = std::move(materials);
    m.materialCount = int32_t(m.materials.size());
    testing::internal::CaptureStdout();
    prepareObjects(m);
    std::string out = testing::internal::GetCapturedStdout();
    if (printed)
        *printed = out;
    return m;
}

float length(const float* v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

void expectVec(const Vec3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6);
    EXPECT_NEAR(v.y, y, 1e-6);
    EXPECT_NEAR(v.z, z, 1e-6);
}

} // namespace

// Vertex 0 is shared by a unit face in the xy plane and one four times its area in the xz
// plane: the area-weighted sum of face normals, negated, not the mean of unit normals.
// Unused vertices and those of degenerate faces get a unit fallback.
TEST(Normals, AreaWeightedNegatedAndAFallback) {
    std::vector<Vec3> at = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {2, 0, 0}, {0, 0, 2},
                            {5, 0, 0}, {6, 0, 0}, {7, 0, 0}, {5, 5, 5}, {1, 1, 1}};
    ModelObject o = makeObject(at, {{0, 1, 2}, {0, 3, 4}, {5, 6, 7}, {9, 9, 9}});
    computeNormals(o);
    float len = std::sqrt(17.0f);
    expectVec(o.normals[0], 0, -4 / len, 1 / len);
    expectVec(o.normals[1], 0, 0, 1);
    expectVec(o.normals[4], 0, -1, 0);
    for (size_t v = 5; v < 10; v++)
        expectVec(o.normals[v], 0, 1, 0);
}

TEST(Tangents, FollowUAndFlipWithMirroredU) {
    for (auto [uv, x] : {std::pair{std::vector<TexCoord>{{0, 0}, {1, 0}, {0, 1}}, 1.0f},
                         {{{1, 0}, {0, 0}, {1, 1}}, -1.0f}}) {
        Model m = prepared({rightTriangle(uv)});
        const std::vector<float>& t = renderItem(m.firstItem).tangents;
        EXPECT_EQ(t, std::vector<float>({x, 0, 0, x, x, 0, 0, x, x, 0, 0, x}));
    }
}

// Coarse random coordinates repeat, giving degenerate faces and texture frames; a triangle
// with one (u, v) for all corners has no frame at all.
TEST(Tangents, RandomMeshesStayUnitAcrossTheNormal) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> coord(-2, 2);
    std::uniform_int_distribution<int> index(0, 49);
    std::vector<Vec3> p(50);
    std::vector<TexCoord> uv(50);
    for (int i = 0; i < 50; i++) {
        p[size_t(i)] = {coord(rng), coord(rng), coord(rng)};
        uv[size_t(i)] = {std::round(coord(rng)), std::round(coord(rng))};
    }
    std::vector<ModelFace> f(120);
    for (ModelFace& face : f)
        face = {index(rng), index(rng), index(rng)};
    Model m =
        prepared({makeObject(p, f, uv), rightTriangle({{0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}})});
    for (int i = 0; i < 2; i++) {
        const RenderItem& item = renderItem(m.firstItem + i);
        for (int v = 0; v < item.vertexCount; v++) {
            const float *t = &item.tangents[4 * v], *n = &item.normals[3 * v];
            EXPECT_NEAR(length(n), 1, 1e-5);
            EXPECT_NEAR(length(t), 1, 1e-5);
            EXPECT_NEAR(t[0] * n[0] + t[1] * n[1] + t[2] * n[2], 0, 1e-5);
            EXPECT_TRUE(t[3] == 1 || (i == 0 && t[3] == -1)) << i << " " << v;
        }
    }
}

TEST(RenderItems, EachModelOwnsAContiguousRangeInObjectOrder) {
    int before = renderListSize();
    std::string firstOut, emptyOut;
    Model first = prepared({rightTriangle(), rightTriangle()}, 1, 1, {}, &firstOut);
    Model empty = prepared({}, 1, 1, {}, &emptyOut);
    EXPECT_EQ(firstOut, "\nnumOfObjects: 2\narray index: " + std::to_string(before) + "\n");
    EXPECT_EQ(emptyOut, "");
    std::vector<ModelObject> three = {rightTriangle(), rightTriangle(), rightTriangle()};
    three[1].vertices[0].x = 42;
    Model second = prepared(three, 3, 2);

    EXPECT_EQ(std::vector<int>({renderListSize(), first.firstItem, first.itemCount, empty.itemCount,
                                second.firstItem, second.itemCount}),
              std::vector<int>({before + 5, before, 2, 0, before + 2, 3}));
    const RenderItem &item = renderItem(first.firstItem), &other = renderItem(second.firstItem);
    EXPECT_EQ(renderItem(second.firstItem + 1).vertices[0], 42.0f);
    EXPECT_EQ(std::pair(other.shaderKind, other.passKind), std::pair(3, 2));
    EXPECT_EQ(std::pair(item.vertexCount, item.faceCount), std::pair(3, 1));
    EXPECT_EQ(item.vertices[3], 1.0f);
    EXPECT_EQ(item.indices, (std::vector<uint32_t>{0, 1, 2}));

    setTranslation(second, 0, 0, 1000.0f);
    setRotation(second, 10, 20, 30);
    setTranslation(empty, 5, 5, 5);
    for (int i = 0; i < 5; i++) {
        bool own = i >= 2;
        EXPECT_EQ(renderItem(first.firstItem + i).translation[2], own ? 1000.0f : 0.0f) << i;
        EXPECT_EQ(renderItem(first.firstItem + i).rotation[1], own ? 20.0f : 0.0f) << i;
    }
}

// An object after a textured one: nothing may carry over.
TEST(RenderItems, MaterialTexturesAndZerosForUnknownMaterialOrMissingTexCoords) {
    std::vector<ModelObject> objects = {rightTriangle(), rightTriangle({{0.25f, 0.75f}})};
    objects[0].materialIndex = 1;
    objects[1].materialIndex = -1;
    std::vector<ModelMaterial> materials(2);
    materials[1].colorTexture = 11;
    materials[1].bumpTexture = 12;
    Model m = prepared(objects, 1, 1, materials);
    EXPECT_EQ(std::pair(renderItem(m.firstItem).colorTexture, renderItem(m.firstItem).bumpTexture),
              std::pair(11u, 12u));
    const RenderItem& item = renderItem(m.firstItem + 1);
    EXPECT_EQ(std::pair(item.colorTexture, item.bumpTexture), std::pair(0u, 0u));
    EXPECT_EQ(item.texCoords, (std::vector<float>{0.25f, 0.75f, 0, 0, 0, 0}));
}

TEST(RenderItemsDeathTest, OutOfRangeIndexIsReported) {
    auto outOfRange = [](int index) {
        dup2(2, 1); // the message goes to stdout; send it where the death test looks
        renderItem(index);
    };
    EXPECT_EXIT(outOfRange(renderListSize()), testing::ExitedWithCode(1),
                "RenderList index [0-9]+ out of range");
    EXPECT_EXIT(outOfRange(-1), testing::ExitedWithCode(1), "RenderList index -1 out of range");
}
