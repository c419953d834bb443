// Model preparation: the materials' textures, then one RenderItem per object with its
// vertex normals and tangents, appended to the RenderList.
#include <cmath>
#include <cstdio>
#include <string>

#include "model/model.h"

void prepareModel(Model& model) {
    prepareMaterials(model);
    prepareObjects(model);
}

// The names of the most recent colour and second-map loads, of whichever model: a material
// without a file of its own takes them.
static uint32_t colorTextureId = 0;
static uint32_t bumpTextureId = 0;

void prepareMaterials(Model& model) {
    for (ModelMaterial& material : model.materials) {
        if (material.fileName[0] != 0) {
            if (model.itemTemplate.shaderKind == kNeonShader) {
                // The neon program always uses the fixed base and glow maps.
                colorTextureId = loadTexture("textures/base.bmp", model, colorTextureId);
                bumpTextureId = loadTexture("textures/glow.bmp", model, bumpTextureId);
            } else {
                std::string colorPath = std::string("textures/") + material.fileName;
                colorTextureId = loadTexture(colorPath.c_str(), model, colorTextureId);
                printf("\ncolormap: %s", colorPath.c_str());
                std::string normalPath = std::string("textures/normal_") + material.fileName;
                bumpTextureId = loadTexture(normalPath.c_str(), model, bumpTextureId);
                printf("\nnormalmap: %s", normalPath.c_str());
                printf("\nbumpID: %d\n", int(bumpTextureId));
            }
        }
        // Without a file of its own a material takes the names loaded last.
        material.colorTexture = colorTextureId;
        material.bumpTexture = bumpTextureId;
    }
}

static bool isFinite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void computeNormals(ModelObject& object) {
    size_t n = object.vertices.size();
    const std::vector<Vec3>& p = object.vertices;
    std::vector<Vec3> sum(n, Vec3{0, 0, 0});
    std::vector<int32_t> count(n, 0);
    auto add = [&](int32_t v, Vec3 faceNormal) {
        sum[size_t(v)].x += faceNormal.x;
        sum[size_t(v)].y += faceNormal.y;
        sum[size_t(v)].z += faceNormal.z;
        count[size_t(v)]++;
    };
    // One pass over the faces; a face that names a vertex twice counts once for it.
    for (const ModelFace& f : object.faces) {
        if (f.a < 0 || f.b < 0 || f.c < 0 || size_t(f.a) >= n || size_t(f.b) >= n ||
            size_t(f.c) >= n)
            continue;
        Vec3 p0 = p[size_t(f.a)], p1 = p[size_t(f.b)], p2 = p[size_t(f.c)];
        // Unnormalised: its length is twice the face's area, so larger faces weigh more.
        Vec3 faceNormal = cross(Vec3{p0.x - p2.x, p0.y - p2.y, p0.z - p2.z},
                                Vec3{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z});
        add(f.a, faceNormal);
        if (f.b != f.a)
            add(f.b, faceNormal);
        if (f.c != f.a && f.c != f.b)
            add(f.c, faceNormal);
    }
    object.normals.resize(n);
    for (size_t v = 0; v < n; v++) {
        Vec3 normal = {0, 1, 0}; // for a vertex of no face or only degenerate faces
        if (count[v] > 0) {
            float c = -float(count[v]);
            Vec3 s = {sum[v].x / c, sum[v].y / c, sum[v].z / c};
            float length = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
            Vec3 unit = {s.x / length, s.y / length, s.z / length};
            if (length > 0 && isFinite(unit))
                normal = unit;
        }
        object.normals[v] = normal;
    }
}

void prepareObjects(Model& model) {
    if (model.objectCount < 1) {
        model.itemCount = 0;
        return;
    }
    model.itemCount = model.objectCount;
    printf("\nnumOfObjects: %d", model.objectCount);
    RenderItem& item = model.itemTemplate;
    for (size_t i = 0; i < model.objects.size(); i++) {
        ModelObject& object = model.objects[i];
        computeNormals(object);
        size_t vertexCount = object.vertices.size();
        item.vertices.resize(vertexCount * 4);
        item.normals.resize(vertexCount * 3);
        item.texCoords.assign(vertexCount * 2, 0.0f); // (0, 0) where the file gave none
        for (size_t v = 0; v < vertexCount; v++) {
            item.vertices[4 * v] = object.vertices[v].x;
            item.vertices[4 * v + 1] = object.vertices[v].y;
            item.vertices[4 * v + 2] = object.vertices[v].z;
            item.vertices[4 * v + 3] = 1.0f;
            item.normals[3 * v] = object.normals[v].x;
            item.normals[3 * v + 1] = object.normals[v].y;
            item.normals[3 * v + 2] = object.normals[v].z;
            if (v < object.texCoords.size()) {
                item.texCoords[2 * v] = object.texCoords[v].u;
                item.texCoords[2 * v + 1] = object.texCoords[v].v;
            }
        }
        item.indices.resize(object.faces.size() * 3);
        for (size_t f = 0; f < object.faces.size(); f++) {
            item.indices[3 * f] = uint32_t(object.faces[f].a);
            item.indices[3 * f + 1] = uint32_t(object.faces[f].b);
            item.indices[3 * f + 2] = uint32_t(object.faces[f].c);
        }
        item.vertexCount = int32_t(vertexCount);
        item.faceCount = int32_t(object.faces.size());

        // An object whose material is unknown gets no textures.
        int m = object.materialIndex;
        bool known = m >= 0 && size_t(m) < model.materials.size();
        item.colorTexture = known ? model.materials[size_t(m)].colorTexture : 0;
        item.bumpTexture = known ? model.materials[size_t(m)].bumpTexture : 0;
        item.tangents = computeTangents(item);
        for (int k = 0; k < 3; k++) {
            item.translation[k] = 0;
            item.rotation[k] = 0;
        }
        appendRenderItem(item);
        if (i == 0) {
            model.firstItem = renderListSize() - 1;
            printf("\narray index: %d\n", model.firstItem);
        }
    }
}
