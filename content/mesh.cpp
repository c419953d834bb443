// Mesh primitives in world axes (y up), wound counter-clockwise seen from the side the
// surface faces, which is the side the model reader's normals point to.
#include <cmath>
#include <cstdio>

#include "content/mesh.h"

Float3 placePoint(const Place& at, Float3 p) {
    float a = at.yaw * kPi / 180.0f;
    float c = std::cos(a), s = std::sin(a);
    return {at.origin.x + c * p.x + s * p.z, at.origin.y + p.y, at.origin.z - s * p.x + c * p.z};
}

static uint32_t pushVertex(MeshObject& o, Float3 p, float u, float v) {
    o.vertices.push_back({p, u, v});
    return uint32_t(o.vertices.size() - 1);
}

static void pushTri(MeshObject& o, uint32_t a, uint32_t b, uint32_t c) {
    o.indices.push_back(a);
    o.indices.push_back(b);
    o.indices.push_back(c);
}

// a, b, c, d counter-clockwise seen from the front; a gets (u0, v0), c gets (u1, v1).
void addQuad(MeshObject& o, Float3 a, Float3 b, Float3 c, Float3 d, float u0, float v0, float u1,
             float v1) {
    uint32_t ia = pushVertex(o, a, u0, v0);
    uint32_t ib = pushVertex(o, b, u1, v0);
    uint32_t ic = pushVertex(o, c, u1, v1);
    uint32_t id = pushVertex(o, d, u0, v1);
    pushTri(o, ia, ib, ic);
    pushTri(o, ia, ic, id);
}

void addQuadUv(MeshObject& o, const Float3 p[4], const float uv[8]) {
    uint32_t first = uint32_t(o.vertices.size());
    for (int k = 0; k < 4; ++k)
        pushVertex(o, p[k], uv[2 * k], uv[2 * k + 1]);
    pushTri(o, first, first + 1, first + 2);
    pushTri(o, first, first + 2, first + 3);
}

// Texture coordinates from the quad's own edges in world units, so walls tile evenly.
void addQuadWorldUv(MeshObject& o, Float3 a, Float3 b, Float3 c, Float3 d, float uvScale) {
    Float3 eu = b - a, ev = d - a;
    float lu = lengthV(eu), lv = lengthV(ev);
    // Offset by the position along the edge so neighbouring panels continue the pattern.
    Float3 du = unitV(eu), dv = unitV(ev);
    float u0 = dot(a, du) / uvScale, v0 = dot(a, dv) / uvScale;
    addQuad(o, a, b, c, d, u0, v0, u0 + lu / uvScale, v0 + lv / uvScale);
}

void addBox(MeshObject& o, const Place& at, Float3 h, float uvScale) {
    Float3 c[8];
    for (int k = 0; k < 8; ++k) {
        Float3 l = {(k & 1) ? h.x : -h.x, (k & 2) ? h.y : -h.y, (k & 4) ? h.z : -h.z};
        c[k] = placePoint(at, l);
    }
    // Faces listed counter-clockwise seen from outside.
    const int faces[6][4] = {{1, 3, 7, 5}, {4, 6, 2, 0}, {2, 6, 7, 3},
                             {0, 1, 5, 4}, {5, 7, 6, 4}, {0, 2, 3, 1}};
    for (auto& f : faces)
        addQuadWorldUv(o, c[f[0]], c[f[1]], c[f[2]], c[f[3]], uvScale);
}

void addLathe(MeshObject& o, const Place& at, const std::vector<ProfilePoint>& prof, int segments,
              float uRepeat, float vScale, bool smooth) {
    if (prof.size() < 2)
        return;
    // v runs along the profile length so the mapping never degenerates.
    std::vector<float> vAt(prof.size(), 0.0f);
    for (size_t k = 1; k < prof.size(); ++k) {
        float dr = prof[k].r - prof[k - 1].r, dy = prof[k].y - prof[k - 1].y;
        vAt[k] = vAt[k - 1] + std::sqrt(dr * dr + dy * dy) / vScale;
    }
    auto ring = [&](size_t k) {
        uint32_t first = uint32_t(o.vertices.size());
        for (int s = 0; s <= segments; ++s) {
            float a = 2.0f * kPi * float(s % segments) / float(segments);
            Float3 p = {prof[k].r * std::sin(a), prof[k].y, prof[k].r * std::cos(a)};
            pushVertex(o, placePoint(at, p), uRepeat * float(s) / float(segments), vAt[k]);
        }
        return first;
    };
    uint32_t lower = ring(0);
    for (size_t k = 1; k < prof.size(); ++k) {
        uint32_t upper = ring(k);
        for (int s = 0; s < segments; ++s) {
            uint32_t a = lower + s, b = lower + s + 1, c = upper + s + 1, d = upper + s;
            // Skip triangles that collapse where the profile touches the axis.
            if (prof[k - 1].r > 1e-4f)
                pushTri(o, a, b, c);
            if (prof[k].r > 1e-4f)
                pushTri(o, a, c, d);
        }
        lower = (smooth || k + 1 == prof.size()) ? upper : ring(k);
    }
}

void addCylinder(MeshObject& o, const Place& at, float radius, float y0, float y1, int segments,
                 float uRepeat, float vScale, bool caps) {
    addLathe(o, at, {{radius, y0}, {radius, y1}}, segments, uRepeat, vScale, false);
    if (caps) {
        addDisc(o, at, radius, y1, segments, true);
        addDisc(o, at, radius, y0, segments, false);
    }
}

void addDisc(MeshObject& o, const Place& at, float radius, float y, int segments, bool up) {
    uint32_t centre = pushVertex(o, placePoint(at, {0, y, 0}), 0.5f, 0.5f);
    uint32_t first = uint32_t(o.vertices.size());
    for (int s = 0; s < segments; ++s) {
        float a = 2.0f * kPi * float(s) / float(segments);
        float x = std::sin(a), z = std::cos(a);
        pushVertex(o, placePoint(at, {radius * x, y, radius * z}), 0.5f + 0.5f * x,
                   0.5f + 0.5f * z);
    }
    for (int s = 0; s < segments; ++s) {
        uint32_t a = first + s, b = first + (s + 1) % segments;
        if (up)
            pushTri(o, centre, a, b);
        else
            pushTri(o, centre, b, a);
    }
}

void addTorus(MeshObject& o, const Place& at, float major, float minor, int segU, int segV) {
    uint32_t first = uint32_t(o.vertices.size());
    for (int i = 0; i <= segU; ++i) {
        float a = 2.0f * kPi * float(i % segU) / float(segU);
        for (int j = 0; j <= segV; ++j) {
            float b = 2.0f * kPi * float(j % segV) / float(segV);
            float r = major + minor * std::cos(b);
            Float3 p = {r * std::sin(a), minor * std::sin(b), r * std::cos(a)};
            pushVertex(o, placePoint(at, p), 4.0f * float(i) / float(segU), float(j) / float(segV));
        }
    }
    for (int i = 0; i < segU; ++i)
        for (int j = 0; j < segV; ++j) {
            uint32_t a = first + i * (segV + 1) + j, b = a + segV + 1;
            pushTri(o, a, b, b + 1);
            pushTri(o, a, b + 1, a + 1);
        }
}

void addTube(MeshObject& o, const std::vector<Float3>& c, float radius, int segments,
             float vScale) {
    size_t n = c.size();
    if (n < 3)
        return;
    uint32_t first = uint32_t(o.vertices.size());
    float along = 0;
    Float3 prevSide = {0, 1, 0};
    for (size_t i = 0; i <= n; ++i) {
        Float3 p = c[i % n];
        Float3 t = unitV(c[(i + 1) % n] - c[(i + n - 1) % n]);
        // Parallel transport of the frame keeps the tube from twisting abruptly.
        Float3 side = unitV(prevSide - t * dot(prevSide, t));
        if (lengthV(side) < 0.5f)
            side = unitV(crossV(t, {0, 0, 1}));
        prevSide = side;
        Float3 bin = crossV(t, side);
        if (i > 0)
            along += lengthV(c[i % n] - c[i - 1]);
        for (int s = 0; s <= segments; ++s) {
            float a = 2.0f * kPi * float(s % segments) / float(segments);
            Float3 q = p + (side * std::cos(a) + bin * std::sin(a)) * radius;
            pushVertex(o, q, float(s) / float(segments), along / vScale);
        }
    }
    for (size_t i = 0; i < n; ++i)
        for (int s = 0; s < segments; ++s) {
            uint32_t a = first + uint32_t(i) * (segments + 1) + s, b = a + segments + 1;
            pushTri(o, a, a + 1, b + 1);
            pushTri(o, a, b + 1, b);
        }
}

void addPrism(MeshObject& o, const Place& at, const std::vector<XZ>& outline, float y0, float y1,
              float bottomScale, float uvScale) {
    float along = 0;
    size_t n = outline.size();
    for (size_t k = 0; k < n; ++k) {
        XZ a = outline[k], b = outline[(k + 1) % n];
        float len = std::hypot(b.x - a.x, b.z - a.z);
        Float3 p[4] = {placePoint(at, {a.x * bottomScale, y0, a.z * bottomScale}),
                       placePoint(at, {b.x * bottomScale, y0, b.z * bottomScale}),
                       placePoint(at, {b.x, y1, b.z}), placePoint(at, {a.x, y1, a.z})};
        float u0 = along / uvScale, u1 = (along + len) / uvScale;
        float uv[8] = {u0, y0 / uvScale, u1, y0 / uvScale, u1, y1 / uvScale, u0, y1 / uvScale};
        addQuadUv(o, p, uv);
        along += len;
    }
    // Top cap: a fan from the centroid.
    XZ c{0, 0};
    for (XZ p : outline)
        c.x += p.x / n, c.z += p.z / n;
    uint32_t centre = pushVertex(o, placePoint(at, {c.x, y1, c.z}), c.x / uvScale, c.z / uvScale);
    for (XZ p : outline)
        pushVertex(o, placePoint(at, {p.x, y1, p.z}), p.x / uvScale, p.z / uvScale);
    for (size_t k = 0; k < n; ++k)
        pushTri(o, centre, centre + 1 + uint32_t(k), centre + 1 + uint32_t((k + 1) % n));
}

bool validateScene(const Scene& scene, const std::string& label) {
    bool ok = true;
    for (const MeshObject& o : scene.objects) {
        size_t faces = o.indices.size() / 3;
        if (o.vertices.size() > 65535 || faces > 65535 || faces == 0) {
            std::printf("%s/%s: %zu vertices, %zu faces out of range\n", label.c_str(),
                        o.name.c_str(), o.vertices.size(), faces);
            ok = false;
        }
        bool known = false;
        for (const MeshMaterial& m : scene.materials)
            known = known || m.name == o.material;
        if (!known) {
            std::printf("%s/%s: unknown material %s\n", label.c_str(), o.name.c_str(),
                        o.material.c_str());
            ok = false;
        }
        std::vector<char> used(o.vertices.size(), 0);
        for (size_t f = 0; f < faces; ++f) {
            const MeshVertex& a = o.vertices[o.indices[3 * f]];
            const MeshVertex& b = o.vertices[o.indices[3 * f + 1]];
            const MeshVertex& c = o.vertices[o.indices[3 * f + 2]];
            for (int k = 0; k < 3; ++k)
                used[o.indices[3 * f + k]] = 1;
            float area = lengthV(crossV(b.p - a.p, c.p - a.p));
            float det = (b.u - a.u) * (c.v - a.v) - (c.u - a.u) * (b.v - a.v);
            if (area < 1e-6f || std::fabs(det) < 1e-9f) {
                std::printf("%s/%s: face %zu is degenerate (area %g, uv %g)\n", label.c_str(),
                            o.name.c_str(), f, area, det);
                ok = false;
                break;
            }
        }
        for (char u : used)
            if (!u) {
                std::printf("%s/%s: a vertex is used by no face\n", label.c_str(), o.name.c_str());
                ok = false;
                break;
            }
    }
    return ok;
}

MeshObject meshObject(const char* name, const char* material) {
    MeshObject o;
    o.name = name;
    o.material = material;
    return o;
}
