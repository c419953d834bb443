// Per-vertex tangents from texture coordinates, with the handedness of the (u, v) frame.
#include <cmath>

#include "model/model.h"

static float lengthOf(Vec3 v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

static bool usable(Vec3 v, float length) {
    return length > 1e-20f && std::isfinite(length) && std::isfinite(v.x) && std::isfinite(v.y) &&
           std::isfinite(v.z);
}

// Any unit vector perpendicular to the unit normal n.
static Vec3 perpendicular(Vec3 n) {
    Vec3 axis = std::fabs(n.x) < 0.9f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    Vec3 t = cross(axis, n);
    float length = lengthOf(t);
    return {t.x / length, t.y / length, t.z / length};
}

std::vector<float> computeTangents(const RenderItem& item) {
    size_t n = size_t(item.vertexCount);
    std::vector<float> result(n * 4);
    std::vector<Vec3> tan1(n, Vec3{0, 0, 0}), tan2(n, Vec3{0, 0, 0});
    const float* p = item.vertices.data();
    const float* uv = item.texCoords.data();
    for (size_t f = 0; f + 2 < item.indices.size(); f += 3) {
        uint32_t i1 = item.indices[f], i2 = item.indices[f + 1], i3 = item.indices[f + 2];
        if (i1 >= n || i2 >= n || i3 >= n)
            continue;
        float x1 = p[4 * i2] - p[4 * i1], x2 = p[4 * i3] - p[4 * i1];
        float y1 = p[4 * i2 + 1] - p[4 * i1 + 1], y2 = p[4 * i3 + 1] - p[4 * i1 + 1];
        float z1 = p[4 * i2 + 2] - p[4 * i1 + 2], z2 = p[4 * i3 + 2] - p[4 * i1 + 2];
        float s1 = uv[2 * i2] - uv[2 * i1], s2 = uv[2 * i3] - uv[2 * i1];
        float t1 = uv[2 * i2 + 1] - uv[2 * i1 + 1], t2 = uv[2 * i3 + 1] - uv[2 * i1 + 1];
        float det = s1 * t2 - s2 * t1;
        // A face without a (u, v) frame adds nothing rather than infinities.
        if (det == 0.0f || !std::isfinite(det))
            continue;
        float r = 1.0f / det;
        Vec3 sdir = {(t2 * x1 - t1 * x2) * r, (t2 * y1 - t1 * y2) * r, (t2 * z1 - t1 * z2) * r};
        Vec3 tdir = {(s1 * x2 - s2 * x1) * r, (s1 * y2 - s2 * y1) * r, (s1 * z2 - s2 * z1) * r};
        if (!usable(sdir, 1) || !usable(tdir, 1))
            continue;
        for (uint32_t i : {i1, i2, i3}) {
            tan1[i].x += sdir.x, tan1[i].y += sdir.y, tan1[i].z += sdir.z;
            tan2[i].x += tdir.x, tan2[i].y += tdir.y, tan2[i].z += tdir.z;
        }
    }
    for (size_t v = 0; v < n; v++) {
        Vec3 nrm = {item.normals[3 * v], item.normals[3 * v + 1], item.normals[3 * v + 2]};
        Vec3 t = tan1[v];
        // Gram-Schmidt: remove the normal's part of the tangent.
        float d = nrm.x * t.x + nrm.y * t.y + nrm.z * t.z;
        Vec3 g = {t.x - nrm.x * d, t.y - nrm.y * d, t.z - nrm.z * d};
        float length = lengthOf(g);
        Vec3 tangent;
        float w = 1.0f;
        if (usable(g, length)) {
            tangent = {g.x / length, g.y / length, g.z / length};
            Vec3 c = cross(nrm, t);
            w = (c.x * tan2[v].x + c.y * tan2[v].y + c.z * tan2[v].z) < 0.0f ? -1.0f : 1.0f;
        } else {
            tangent = perpendicular(nrm);
        }
        result[4 * v] = tangent.x;
        result[4 * v + 1] = tangent.y;
        result[4 * v + 2] = tangent.z;
        result[4 * v + 3] = w;
    }
    return result;
}
